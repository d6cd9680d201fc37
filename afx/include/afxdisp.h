// OLE automation: dates and spans, variants and the OLE exceptions; automation objects
// (dispatch and interface maps of CCmdTarget classes), their class factories (also the one of a
// document template) and registration; the client side (COleDispatchDriver); OLE control
// containment (event sink maps, control sites and containers); the application's OLE state
// (AfxOleInit, the object count that keeps an automation server running).
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include "COleException.h"
#include "COleDispatchException.h"
#include "COleDateTimeSpan.h"
#include "COleDateTime.h"
#include "COleVariant.h"
#include "AfxDispatchMap.h"
#include "AfxEventSinkMap.h"
#include "AfxOleState.h"
#include "COleDispatchDriver.h"
#include "COleObjectFactory.h"
#include "COleTemplateServer.h"
#include "COleControlSite.h"
#include "COleControlContainer.h"
