// The frame of a server's document while it is edited in place inside a container. The library
// has no in-place activation: the class is a frame window like CFrameWnd, there for the classes
// that derive from it.
#pragma once

#include "CFrameWnd.h"

class COleIPFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(COleIPFrameWnd)
public:
    COleIPFrameWnd();
    virtual ~COleIPFrameWnd();
};
