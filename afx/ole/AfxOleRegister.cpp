// Registration of automation servers below HKEY_CLASSES_ROOT.
#include "afxdisp.h"

namespace {

CString ClassIdText(REFCLSID clsid)
{
    LPOLESTR lpszClsid = NULL;
    CString strClsid;
    if (SUCCEEDED(::StringFromCLSID(clsid, &lpszClsid))) {
        strClsid = lpszClsid;
        ::CoTaskMemFree(lpszClsid);
    }
    return strClsid;
}

// %1 ... %5 of lpszFormat replaced by the strings.
CString Substitute(LPCTSTR lpszFormat, const CString (&strParams)[5])
{
    CString strResult;
    for (LPCTSTR p = lpszFormat; *p != '\0'; p++) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '5') {
            strResult += strParams[p[1] - '1'];
            p++;
        } else {
            strResult += *p;
        }
    }
    return strResult;
}

// Sets the default value of the key (created when missing); without bOverwrite a key that has a
// value keeps it.
BOOL SetDefaultValue(const CString& strKey, const CString& strValue, BOOL bOverwrite)
{
    HKEY hKey = NULL;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, strKey, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &hKey, NULL) !=
        ERROR_SUCCESS)
        return FALSE;
    LONG lResult = ERROR_SUCCESS;
    if (bOverwrite || ::RegQueryValueExA(hKey, NULL, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
        lResult = ::RegSetValueExA(hKey, NULL, 0, REG_SZ, (const BYTE*)(LPCTSTR)strValue,
                                   (DWORD)strValue.GetLength() + 1);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

// Entries "key\0value" of a NULL-ended array.
BOOL SetEntries(LPCTSTR* rglpszEntries, const CString (&strParams)[5], BOOL bOverwrite)
{
    BOOL bResult = TRUE;
    for (; rglpszEntries != NULL && *rglpszEntries != NULL; rglpszEntries++) {
        LPCTSTR lpszKey = *rglpszEntries;
        LPCTSTR lpszValue = lpszKey + strlen(lpszKey) + 1;
        bResult = SetDefaultValue(Substitute(lpszKey, strParams), Substitute(lpszValue, strParams), bOverwrite) &&
                  bResult;
    }
    return bResult;
}

BOOL DeleteTree(const CString& strKey)
{
    LONG lResult = ::RegDeleteTreeA(HKEY_CLASSES_ROOT, strKey);
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
}

} // namespace

BOOL AFXAPI AfxOleRegisterServerClass(REFCLSID clsid, LPCTSTR lpszClassName, LPCTSTR lpszShortTypeName,
                                      LPCTSTR lpszLongTypeName, OLE_APPTYPE nAppType, LPCTSTR* rglpszRegister,
                                      LPCTSTR* rglpszOverwrite)
{
    // Only automation servers: the keys of embedding and in-place servers are not written, and a
    // registration that would lack them is refused rather than left half done.
    if (nAppType != OAT_DISPATCH_OBJECT || lpszClassName == NULL || *lpszClassName == '\0')
        return FALSE;
    char szPath[MAX_PATH];
    DWORD nPath = ::GetModuleFileNameA(AfxGetInstanceHandle(), szPath, MAX_PATH);
    if (nPath == 0 || nPath >= MAX_PATH)
        return FALSE;
    CString strPath = szPath;
    // COM splits the command line at the first space otherwise
    if (strPath.Find(' ') >= 0)
        strPath = "\"" + strPath + "\"";
    if (lpszShortTypeName == NULL)
        lpszShortTypeName = lpszClassName;
    if (lpszLongTypeName == NULL)
        lpszLongTypeName = lpszShortTypeName;
    const CString strParams[5] = {ClassIdText(clsid), lpszClassName, strPath, lpszShortTypeName, lpszLongTypeName};
    if (strParams[0].IsEmpty())
        return FALSE;

    static LPCTSTR const s_rglpszDispatch[] = {
        "%2\0%5",
        "%2\\CLSID\0%1",
        "CLSID\\%1\0%5",
        "CLSID\\%1\\ProgID\0%2",
        "CLSID\\%1\\LocalServer32\0%3 /Automation",
        NULL,
    };
    BOOL bResult = SetEntries(const_cast<LPCTSTR*>(s_rglpszDispatch), strParams, TRUE);
    bResult = SetEntries(rglpszRegister, strParams, FALSE) && bResult;
    bResult = SetEntries(rglpszOverwrite, strParams, TRUE) && bResult;
    return bResult;
}

BOOL AFXAPI AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR lpszProgID)
{
    CString strClsid = ClassIdText(clsid);
    if (strClsid.IsEmpty())
        return FALSE;
    BOOL bResult = DeleteTree("CLSID\\" + strClsid);
    if (lpszProgID != NULL && *lpszProgID != '\0')
        bResult = DeleteTree(lpszProgID) && bResult;
    return bResult;
}
