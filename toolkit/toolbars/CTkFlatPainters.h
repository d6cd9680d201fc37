// The flat painter set: a toolbar-button painter and a list painter in the toolkit colours, and
// the customizing flag its painters read (while it is set a button under a pressed mouse button
// is not drawn pressed).
#pragma once

#include "CTkFlatButtonPainter.h"
#include "CTkFlatListPainter.h"
#include "CTkPainters.h"

class CTkFlatPainters : public CTkPainters {
public:
    CTkFlatPainters();

    CTkToolBarButtonPainter* GetToolBarButtonPainter() override { return &m_buttonPainter; }
    CTkListPainter* GetListPainter() override { return &m_listPainter; }
    void SetCustomizing(BOOL bCustomizing) override { m_bCustomizing = bCustomizing ? 1 : 0; }
    BOOL IsCustomizing() const { return m_bCustomizing != 0; }

    CTkFlatButtonPainter m_buttonPainter;
    CTkFlatListPainter m_listPainter;
    BYTE m_bCustomizing;
};
