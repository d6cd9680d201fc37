// The common dialogs.
#pragma once

#include "afxwin.h"
#include "CFileDialog.h"
