#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)

CMapStringToPtr::CMapStringToPtr(int nBlockSize) : CMap<CString, LPCTSTR, void*, void*>(nBlockSize) {}

CMapStringToPtr::~CMapStringToPtr() {}

void CMapStringToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
