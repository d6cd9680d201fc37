// What a customizable bar offers while customize mode is on: a place where dragged buttons and
// commands can be dropped. All points are screen coordinates.
#pragma once

#include <afxwin.h>

class CTkButtonDesc; // the dragged item (a button or a command), defined by the bars' customizer

class CTkDropTarget {
public:
    virtual ~CTkDropTarget() {}

    // The point is over this target.
    virtual BOOL HitTest(CPoint pt) = 0;
    // The target accepts the item; *pbCopyOk (preset to 1) says whether the copy cursor may show.
    virtual BOOL OnDragEnter(CTkButtonDesc* pDesc, CPoint pt, BYTE* pbCopyOk) = 0;
    virtual void OnDragOver(CPoint pt) = 0;
    virtual void OnDragLeave() = 0;
    virtual void OnDrop(CTkButtonDesc* pDesc, CPoint pt) = 0;
};
