// The floating frame of a toolkit frame's bars (the frame's floating-frame class). It keeps the
// class library's floating frame for now.
#pragma once

#include <afxext.h>
#include <afxpriv.h>

class CTkMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CTkMiniDockFrameWnd)
public:
    CTkMiniDockFrameWnd();
};
