#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)

CMapPtrToPtr::CMapPtrToPtr(int nBlockSize) : CMap<void*, void*, void*, void*>(nBlockSize) {}

CMapPtrToPtr::~CMapPtrToPtr() {}

void CMapPtrToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
