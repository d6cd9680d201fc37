#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}

CCmdTarget::~CCmdTarget() {}
