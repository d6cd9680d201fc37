// The creation of the control wrappers' windows.
#include "AfxWindowLayer.h"

#include <string.h>

BOOL AFXAPI AfxCreateControl(CWnd* pWnd, LPCTSTR lpszClassName, LPCTSTR lpszText, DWORD dwStyle, const RECT& rect,
                             CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls();
    if (strcmp(lpszClassName, "RichEdit20A") == 0) {
        // the rich edit classes come with their library (kept loaded, as the controls may live long)
        static const HMODULE s_hRichEdit = ::LoadLibraryA("riched20.dll");
        if (s_hRichEdit == NULL)
            return FALSE;
    }
    return pWnd->CreateEx(0, lpszClassName, lpszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}
