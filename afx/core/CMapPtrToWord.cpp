#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)

CMapPtrToWord::CMapPtrToWord(int nBlockSize) : CMap<void*, void*, WORD, WORD>(nBlockSize) {}

CMapPtrToWord::~CMapPtrToWord() {}

void CMapPtrToWord::Serialize(CArchive& ar) { CObject::Serialize(ar); }
