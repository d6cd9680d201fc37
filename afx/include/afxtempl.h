// The collection templates and their element helpers.
#pragma once

#include "afx.h"
#include "AfxCollectionHelpers.h"
#include "CArray.h"
#include "CList.h"
#include "CMap.h"
#include "CTypedPtrArray.h"
#include "CTypedPtrList.h"
#include "CTypedPtrMap.h"
