// OLE servers: everything of <afxdisp.h>, and the application's message filter.
#pragma once

#include "afxdisp.h"
#include "COleMessageFilter.h"
