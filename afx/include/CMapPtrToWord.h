// A map from pointer keys to WORDs (not archived).
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(int nBlockSize = 10);
    virtual ~CMapPtrToWord();

    virtual void Serialize(CArchive& ar);
};
