#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CPtrList, CObject)

CPtrList::CPtrList(int nBlockSize) : CList<void*, void*>(nBlockSize) {}

CPtrList::~CPtrList() {}

void CPtrList::Serialize(CArchive& ar) { CObject::Serialize(ar); }
