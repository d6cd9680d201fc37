// A dock bar of a toolkit frame: the strip along one side of the frame that holds docked bars in
// rows. It keeps the class library's layout and docking for now.
#pragma once

#include <afxext.h>
#include <afxpriv.h>

class CTkDockBar : public CDockBar {
    DECLARE_DYNAMIC(CTkDockBar)
public:
    explicit CTkDockBar(BOOL bFloating = FALSE);
};
