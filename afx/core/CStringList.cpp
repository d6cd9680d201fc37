#include "afxcoll.h"

IMPLEMENT_SERIAL(CStringList, CObject, 0)

CStringList::CStringList(int nBlockSize) : CList<CString, LPCTSTR>(nBlockSize) {}

CStringList::~CStringList() {}

POSITION CStringList::AddHead(const CString& newElement)
{
    POSITION pos = CList<CString, LPCTSTR>::AddHead("");
    GetAt(pos) = newElement;
    return pos;
}

POSITION CStringList::AddTail(const CString& newElement)
{
    POSITION pos = CList<CString, LPCTSTR>::AddTail("");
    GetAt(pos) = newElement;
    return pos;
}
