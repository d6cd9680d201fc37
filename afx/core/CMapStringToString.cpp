#include "afxcoll.h"

IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)

CMapStringToString::CMapStringToString(int nBlockSize) : CMap<CString, LPCTSTR, CString, LPCTSTR>(nBlockSize) {}

CMapStringToString::~CMapStringToString() {}
