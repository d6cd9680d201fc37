#include "MfxText.h"

namespace {

// The program's decimal character.
const TCHAR kDecimalCharacter = '.';

void ReplaceFirst(LPCTSTR lpszText, CString& rResult, TCHAR chFind, TCHAR chReplacement)
{
    CString strResult = lpszText;
    int nPos = strResult.Find(chFind);
    if (nPos >= 0)
        strResult.SetAt(nPos, chReplacement);
    rResult = strResult;
}

} // namespace

void MfxReplaceFirstDot(LPCTSTR lpszText, CString& rResult, TCHAR chReplacement)
{
    ReplaceFirst(lpszText, rResult, '.', chReplacement);
}

void MfxReplaceFirstByDot(LPCTSTR lpszText, CString& rResult, TCHAR chFind)
{
    ReplaceFirst(lpszText, rResult, chFind, '.');
}

void MfxDecimalToLocal(LPCTSTR lpszNumber, CString& rResult)
{
    MfxReplaceFirstDot(lpszNumber, rResult, kDecimalCharacter);
}

void MfxDecimalFromLocal(LPCTSTR lpszNumber, CString& rResult)
{
    MfxReplaceFirstByDot(lpszNumber, rResult, kDecimalCharacter);
}

void MfxSortStringList(CStringList& list)
{
    const int nCount = list.GetCount();
    for (int nPass = 1; nPass < nCount; ++nPass) {
        BOOL bSwapped = FALSE;
        POSITION pos = list.GetHeadPosition();
        for (int i = 0; i < nCount - nPass; ++i) {
            CString& rFirst = list.GetNext(pos);
            CString& rSecond = list.GetAt(pos);
            if (rFirst.Compare(rSecond) > 0) {
                CString strTemp = rFirst;
                rFirst = rSecond;
                rSecond = strTemp;
                bSwapped = TRUE;
            }
        }
        if (!bSwapped)
            break;
    }
}
