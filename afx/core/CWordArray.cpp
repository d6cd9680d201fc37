#include "afxcoll.h"

IMPLEMENT_SERIAL(CWordArray, CObject, 0)

CWordArray::CWordArray() {}

CWordArray::~CWordArray() {}
