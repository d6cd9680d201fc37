#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)

CPtrArray::CPtrArray() {}

CPtrArray::~CPtrArray() {}

void CPtrArray::Serialize(CArchive& ar) { CObject::Serialize(ar); }
