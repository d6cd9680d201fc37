#include "CTkOutBarItem.h"

CTkOutBarItem::CTkOutBarItem(LPCTSTR lpszText, int nImage, DWORD dwData)
    : m_nImage(nImage), m_bEnabled(1), m_bSelected(0), m_dwData(dwData), m_strText(lpszText)
{
}
