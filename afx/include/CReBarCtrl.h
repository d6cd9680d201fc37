// A rebar control of the common controls.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"

class CReBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CReBarCtrl)
public:
    CReBarCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetBandCount() const { return (UINT)::SendMessageA(m_hWnd, RB_GETBANDCOUNT, 0, 0); }
    BOOL InsertBand(UINT uIndex, REBARBANDINFOA* prbbi) { return (BOOL)SendMessage(RB_INSERTBANDA, uIndex, (LPARAM)prbbi); }
    BOOL DeleteBand(UINT uBand) { return (BOOL)SendMessage(RB_DELETEBAND, uBand); }
    BOOL GetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) const { return (BOOL)::SendMessageA(m_hWnd, RB_GETBANDINFOA, uBand, (LPARAM)prbbi); }
    BOOL SetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) { return (BOOL)SendMessage(RB_SETBANDINFOA, uBand, (LPARAM)prbbi); }
    UINT GetBarHeight() const { return (UINT)::SendMessageA(m_hWnd, RB_GETBARHEIGHT, 0, 0); }
    UINT GetRowCount() const { return (UINT)::SendMessageA(m_hWnd, RB_GETROWCOUNT, 0, 0); }
};
