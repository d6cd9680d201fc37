// The wrappers of the common controls and of the rich edit control.
#pragma once

#include "AfxWindowLayer.h"
#include "CProgressCtrl.h"
#include "CSpinButtonCtrl.h"
#include "CTabCtrl.h"
#include "CToolTipCtrl.h"
#include "CHeaderCtrl.h"
#include "CListCtrl.h"
#include "CTreeCtrl.h"
#include "CDateTimeCtrl.h"
#include "CMonthCalCtrl.h"
#include "CComboBoxEx.h"
#include "CToolBarCtrl.h"
#include "CReBarCtrl.h"
#include "CRichEditCtrl.h"
