// Extensions of the frame layer: splitter windows and form views.
#pragma once

#include "afxwin.h"
#include "CFormView.h"
#include "CSplitterWnd.h"
