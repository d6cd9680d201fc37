// OLE automation types: dates and spans, variants and the OLE exceptions.
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <oleauto.h>

#include "COleException.h"
#include "COleDispatchException.h"
#include "COleDateTimeSpan.h"
#include "COleDateTime.h"
#include "COleVariant.h"
