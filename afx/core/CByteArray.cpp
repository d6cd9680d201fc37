#include "afxcoll.h"

IMPLEMENT_SERIAL(CByteArray, CObject, 0)

CByteArray::CByteArray() {}

CByteArray::~CByteArray() {}
