// A CString with the program's text and path operations. Formatting and reading grow the string
// as far as the result needs.
#pragma once

#include <afx.h>

class CMfxString : public CString {
public:
    CMfxString() {}
    CMfxString(LPCTSTR lpsz) : CString(lpsz) {}
    CMfxString(const CString& str) : CString(str) {}
    // The string resource nID (an unknown id gives an empty string).
    explicit CMfxString(UINT nID);

    const CMfxString& operator=(LPCTSTR lpsz)
    {
        CString::operator=(lpsz);
        return *this;
    }
    const CMfxString& operator=(const CString& str)
    {
        CString::operator=(str);
        return *this;
    }

    // printf-style formatting (the Windows run time's dialect) into the string.
    void AFX_CDECL Format(LPCTSTR lpszFormat, ...);
    // The same with the format from a string resource.
    void AFX_CDECL FormatId(UINT nFormatID, ...);

    // GetPrivateProfileString into the string; returns the number of characters read.
    int ReadIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault, LPCTSTR lpszFile);

    // The nth field (counted from 1) of the text split at the separator: TRUE with the field,
    // FALSE with an empty string when the text has fewer fields. When the rest of the text ends in
    // the separator, that rest (separator included) is the field for this and every later n.
    BOOL GetToken(int nIndex, CString& rToken, TCHAR chSeparator) const;

    // Replaces every occurrence of lpszFind, left to right, without looking at replaced text
    // again; returns the number of replacements. An empty lpszFind replaces nothing.
    int ReplaceAll(LPCTSTR lpszFind, LPCTSTR lpszReplacement);

    // Parts of the path in the string: the file name with extension, the drive and directory
    // (with the trailing backslash the path has), the extension with its dot, the file name
    // without extension.
    CString GetFileName() const;
    CString GetDirectory() const;
    CString GetExtension() const;
    CString GetFileTitle() const;

    // Replaces the extension of the path in the string (drive, directory and name kept; a dot is
    // put before an extension without one) and returns a copy of the new path.
    CMfxString ChangeExtension(LPCTSTR lpszExtension);
};
