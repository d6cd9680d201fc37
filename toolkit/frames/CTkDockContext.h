// The docking context of the toolkit's bars. For now it drags, docks and floats as the class
// library's context does; the bars create it through CTkControlBar::EnableDocking.
#pragma once

#include <afxext.h>
#include "CDockContext.h"

class CTkDockContext : public CDockContext {
public:
    explicit CTkDockContext(CControlBar* pBar);
    ~CTkDockContext() override;
};
