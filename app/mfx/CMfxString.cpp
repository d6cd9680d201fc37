#include "CMfxString.h"

namespace {

// The parts of a path as _splitpath names them: drive ("C:"), directory (up to its last
// backslash or slash), name and extension (from the name's last dot). Split here rather than by
// the run time's _splitpath, which gives nothing at all for paths longer than MAX_PATH.
struct PathParts {
    CString drive, directory, name, extension;

    explicit PathParts(const CString& path)
    {
        const int n = path.GetLength();
        LPCTSTR p = path;
        int start = 0;
        if (n >= 2 && p[1] == ':' && !IsDBCSLeadByte((BYTE)p[0])) {
            drive = path.Left(2);
            start = 2;
        }
        int lastSlash = -1, lastDot = -1;
        for (int i = start; i < n; ++i) {
            if (IsDBCSLeadByte((BYTE)p[i]) && i + 1 < n) {
                ++i;
                continue;
            }
            if (p[i] == '\\' || p[i] == '/')
                lastSlash = i;
            else if (p[i] == '.')
                lastDot = i;
        }
        const int nameStart = lastSlash >= 0 ? lastSlash + 1 : start;
        directory = path.Mid(start, nameStart - start);
        if (lastDot >= nameStart) {
            name = path.Mid(nameStart, lastDot - nameStart);
            extension = path.Mid(lastDot);
        } else
            name = path.Mid(nameStart);
    }
};

} // namespace

CMfxString::CMfxString(UINT nID) { LoadString(nID); }

void CMfxString::Format(LPCTSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CMfxString::FormatId(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(strFormat, args);
    va_end(args);
}

int CMfxString::ReadIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault, LPCTSTR lpszFile)
{
    // GetPrivateProfileString answers size - 1 (size - 2 for lists of names) when it had to cut
    // the text: read again with more room.
    for (DWORD nSize = 1024;; nSize *= 2) {
        DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszKey, lpszDefault, GetBuffer((int)nSize), nSize, lpszFile);
        if (n + 2 < nSize || nSize >= 0x10000000) {
            ReleaseBuffer((int)n);
            return (int)n;
        }
        ReleaseBuffer(0);
    }
}

BOOL CMfxString::GetToken(int nIndex, CString& rToken, TCHAR chSeparator) const
{
    CString strRest = *this;
    CString strField;
    for (int i = 1; i <= nIndex; ++i) {
        int nPos = strRest.Find(chSeparator);
        if (nPos >= 0 && nPos + 1 < strRest.GetLength()) {
            strField = strRest.Left(nPos);
            strRest = strRest.Mid(nPos + 1);
        } else {
            strField = strRest;
            if (i < nIndex && nPos < 0) {
                rToken.Empty();
                return FALSE;
            }
        }
    }
    rToken = strField;
    return nIndex >= 1;
}

int CMfxString::ReplaceAll(LPCTSTR lpszFind, LPCTSTR lpszReplacement)
{
    const int nFind = lpszFind != NULL ? lstrlenA(lpszFind) : 0;
    if (nFind == 0)
        return 0;
    CString strResult;
    int nCount = 0, nStart = 0;
    for (int nPos = Find(lpszFind); nPos >= 0; nPos = Find(lpszFind, nStart)) {
        strResult += Mid(nStart, nPos - nStart);
        strResult += lpszReplacement;
        nStart = nPos + nFind;
        ++nCount;
    }
    strResult += Mid(nStart);
    CString::operator=(strResult);
    return nCount;
}

CString CMfxString::GetFileName() const
{
    PathParts parts(*this);
    return parts.name + parts.extension;
}

CString CMfxString::GetDirectory() const
{
    PathParts parts(*this);
    return parts.drive + parts.directory;
}

CString CMfxString::GetExtension() const { return PathParts(*this).extension; }

CString CMfxString::GetFileTitle() const { return PathParts(*this).name; }

CMfxString CMfxString::ChangeExtension(LPCTSTR lpszExtension)
{
    PathParts parts(*this);
    CString strPath = parts.drive + parts.directory + parts.name;
    if (lpszExtension != NULL && *lpszExtension != '\0') {
        if (*lpszExtension != '.')
            strPath += '.';
        strPath += lpszExtension;
    }
    CString::operator=(strPath);
    return *this;
}
