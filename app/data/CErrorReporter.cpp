#include "CErrorReporter.h"

IMPLEMENT_DYNAMIC(CErrorReporter, CException)

CErrorReporter::CErrorReporter() : CException(FALSE), m_pWnd(AfxGetMainWnd()) {}

CErrorReporter::~CErrorReporter() {}
