#include "CTkDockContext.h"

CTkDockContext::CTkDockContext(CControlBar* pBar) : CDockContext(pBar) {}

CTkDockContext::~CTkDockContext() {}
