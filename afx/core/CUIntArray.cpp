#include "afxcoll.h"

IMPLEMENT_DYNAMIC(CUIntArray, CObject)

CUIntArray::CUIntArray() {}

CUIntArray::~CUIntArray() {}
