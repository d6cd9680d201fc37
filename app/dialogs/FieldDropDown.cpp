#include "FieldDropDown.h"

#include "CDatePickerPopup.h"
#include "CTimeListPopup.h"

INT_PTR DropDownUnderField(CWnd* pParent, CCtDEdit& field, bool bTime)
{
    CRect rect;
    field.GetWindowRect(&rect);
    if (bTime) {
        CTimeListPopup popup(pParent, field.GetTime(), rect.left, rect.bottom, rect.Width(), rect.Height() * 4);
        INT_PTR nResult = popup.DoModal();
        if (nResult == IDOK)
            field.SetTime((short)popup.m_nMinute);
        return nResult;
    }
    CDatePickerPopup popup(pParent, field.GetDate(), rect.left, rect.bottom);
    INT_PTR nResult = popup.DoModal();
    if (nResult == IDOK)
        field.SetDate(popup.m_nDay);
    return nResult;
}
