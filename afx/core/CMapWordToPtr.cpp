#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)

CMapWordToPtr::CMapWordToPtr(int nBlockSize) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}

CMapWordToPtr::~CMapWordToPtr() {}

void CMapWordToPtr::Serialize(CArchive& ar) { CObject::Serialize(ar); }
