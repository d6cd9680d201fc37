// The state of one drag of the customize manager's drag loop (CTkCustomizeManager::DoDragDrop);
// it lives on the loop's stack and collects the drop targets of the bars.
#pragma once

#include <afxwin.h>

class CTkButtonDesc;
class CTkDropTarget;

class CTkDragContext {
public:
    CTkDragContext();
    virtual ~CTkDragContext() {}

    virtual void AddDropTarget(CTkDropTarget* pTarget);

    HCURSOR m_hcurSaved;          // the cursor before the drag
    CWnd* m_pSource;              // the window that started the drag and holds the capture
    CPtrArray m_arrTargets;       // CTkDropTarget*, in the order they were added
    CTkDropTarget* m_pCurTarget;  // the target under the mouse that accepted the item
    CTkButtonDesc* m_pDesc;       // the dragged item
    CPoint m_ptLast;              // the last point given to the current target
    BYTE m_bMove;                 // 1: the drop moves the item, 0: it copies
    BYTE m_bCopyOk;               // the current target allows the copy cursor
};
