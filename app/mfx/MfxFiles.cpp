#include "MfxFiles.h"

#include <io.h>
#include <lzexpand.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// A block of a version resource as stored (UTF-16): length, value length, type, key, then the
// value and the child blocks, each on a 4-byte boundary.
struct VersionBlock {
    const BYTE* begin;
    const BYTE* end;
    CString key;
    const BYTE* children;
};

size_t Align4(size_t offset) { return (offset + 3) & ~(size_t)3; }

// The block at p within [p, limit); FALSE when the bytes do not form one.
bool ReadBlock(const BYTE* p, const BYTE* limit, VersionBlock& block)
{
    if (limit - p < 6)
        return false;
    const WORD wLength = *(const WORD*)p;
    const WORD wValueLength = *(const WORD*)(p + 2);
    const WORD wType = *(const WORD*)(p + 4);
    if (wLength < 6 || wLength > limit - p)
        return false;
    block.begin = p;
    block.end = p + wLength;
    const WCHAR* pKey = (const WCHAR*)(p + 6);
    size_t nKey = 0;
    while ((const BYTE*)(pKey + nKey + 1) <= block.end && pKey[nKey] != 0)
        ++nKey;
    block.key = CString(std::wstring(pKey, nKey).c_str());
    const size_t valueBytes = wType == 1 ? (size_t)wValueLength * 2 : wValueLength;
    size_t offset = Align4(6 + (nKey + 1) * 2);
    offset = Align4(offset + valueBytes);
    block.children = offset <= wLength ? p + offset : block.end;
    return true;
}

// The name of the first string table below "StringFileInfo", or empty.
CString FirstStringTableName(const BYTE* pData, size_t nSize)
{
    VersionBlock root;
    if (!ReadBlock(pData, pData + nSize, root))
        return CString();
    for (const BYTE* p = root.children; p < root.end;) {
        VersionBlock child;
        if (!ReadBlock(p, root.end, child))
            break;
        if (child.key == "StringFileInfo") {
            VersionBlock table;
            if (ReadBlock(child.children, child.end, table))
                return table.key;
            break;
        }
        p = child.begin + Align4(child.end - child.begin);
    }
    return CString();
}

} // namespace

BOOL MfxFileExists(LPCTSTR lpszPath)
{
    CString strPath = lpszPath;
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] == '\\')
        strPath = strPath.Left(strPath.GetLength() - 1);
    struct _finddata_t data;
    intptr_t hFind = _findfirst(strPath, &data);
    if (hFind == -1)
        return FALSE;
    _findclose(hFind);
    return TRUE;
}

CString MfxGetFileVersion(LPCTSTR lpszFile)
{
    if (lpszFile == NULL || *lpszFile == '\0')
        return CString();
    DWORD dwHandle = 0;
    DWORD nSize = ::GetFileVersionInfoSizeA(lpszFile, &dwHandle);
    if (nSize == 0)
        return CString();
    std::vector<BYTE> data(nSize);
    if (!::GetFileVersionInfoA(lpszFile, 0, nSize, data.data()))
        return CString();

    CString strBlock;
    WORD* pTranslation = NULL;
    UINT nTranslation = 0;
    if (::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", (LPVOID*)&pTranslation, &nTranslation) &&
        nTranslation >= 4)
        strBlock.Format("\\StringFileInfo\\%04x%04x\\", pTranslation[0], pTranslation[1]);
    else {
        CString strTable = FirstStringTableName(data.data(), nSize);
        if (strTable.IsEmpty() || (BYTE)strTable[0] >= 'A')
            return CString();
        strBlock = "\\StringFileInfo\\" + strTable + "\\";
    }
    LPSTR pValue = NULL;
    UINT nValue = 0;
    if (!::VerQueryValueA(data.data(), strBlock + "FileVersion", (LPVOID*)&pValue, &nValue) || pValue == NULL)
        return CString();
    return CString(pValue);
}

BOOL MfxGetTempPath(CString& rPath)
{
    DWORD nSize = MAX_PATH;
    for (;;) {
        DWORD n = ::GetTempPathA(nSize, rPath.GetBuffer((int)nSize));
        if (n < nSize) {
            rPath.ReleaseBuffer((int)n);
            return n != 0;
        }
        rPath.ReleaseBuffer(0);
        nSize = n + 1;
    }
}

int MfxCopyFileLZ(LPCTSTR lpszSource, LPCTSTR lpszTarget, BOOL bFailIfMissing)
{
    // The files are opened by name without the 128-character limit of LZOpenFile; LZInit then
    // reads the source through the expansion when it is compressed.
    HANDLE hSource = ::CreateFileA(lpszSource, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (hSource == INVALID_HANDLE_VALUE) {
        DWORD dwError = ::GetLastError();
        if (bFailIfMissing)
            return -1;
        return dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    INT hLzSource = ::LZInit((INT)(INT_PTR)hSource);
    if (hLzSource < 0) {
        ::CloseHandle(hSource);
        return -1;
    }
    HANDLE hTarget = ::CreateFileA(lpszTarget, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hTarget == INVALID_HANDLE_VALUE) {
        ::LZClose(hLzSource);
        return -1;
    }
    LONG nCopied = ::LZCopy(hLzSource, (INT)(INT_PTR)hTarget);
    ::LZClose(hLzSource);
    ::CloseHandle(hTarget);
    return nCopied < 0 ? -1 : 0;
}
