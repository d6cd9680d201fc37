// The common dialogs and the property sheets with their pages.
#pragma once

#include "afxwin.h"
#include "CFileDialog.h"
#include "CColorDialog.h"
#include "CPropertyPage.h"
#include "CPropertySheet.h"
