// The process-wide services of the application: sound events, version tests, the shutdown
// marker, the appearance keys, the unhandled-exception filter and the command-line test.
#include <afxwin.h>

#include <mmsystem.h>
#include <stdio.h>

#include "COrvexApp.h"
#include "ShellResource.h"
#include "vlUT11.h"

namespace {

const char kSchemeKey[] = "AppEvents\\Schemes\\Apps\\velmar chronivo";
const char* const kEvents[] = {"OX_Starten", "OX_Beenden", "OX_Erinnerung"};
const UINT kEventLabels[] = {IDS_SOUND_START, IDS_SOUND_EXIT, IDS_SOUND_REMINDER};

void SetDefaultValue(HKEY hKey, LPCSTR lpszSubKey, LPCSTR lpszValue)
{
    HKEY hSub;
    if (::RegCreateKeyExA(hKey, lpszSubKey, 0, NULL, 0, KEY_WRITE, NULL, &hSub, NULL) == ERROR_SUCCESS) {
        ::RegSetValueExA(hSub, NULL, 0, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1);
        ::RegCloseKey(hSub);
    }
}

// Tests name a file (OX_TEST_SOUND_LOG) that gets one line per sound event played.
void LogSoundEvent(LPCTSTR lpszEvent, LPCTSTR lpszFile)
{
    char szLog[MAX_PATH];
    if (::GetEnvironmentVariableA("OX_TEST_SOUND_LOG", szLog, MAX_PATH) == 0)
        return;
    FILE* f = fopen(szLog, "a");
    if (f != NULL) {
        fprintf(f, "%s\t%s\n", lpszEvent, lpszFile);
        fclose(f);
    }
}

} // namespace

void RegisterSoundEvents()
{
    HKEY hScheme;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSchemeKey, 0, NULL, 0, KEY_WRITE, NULL, &hScheme, NULL) != ERROR_SUCCESS)
        return;
    const char szName[] = "velmar chronivo";
    ::RegSetValueExA(hScheme, NULL, 0, REG_SZ, (const BYTE*)szName, sizeof(szName));
    for (LPCSTR lpszEvent : kEvents)
        SetDefaultValue(hScheme, lpszEvent, "");
    ::RegCloseKey(hScheme);

    HKEY hLabels;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "AppEvents\\EventLabels", 0, KEY_WRITE, &hLabels) == ERROR_SUCCESS) {
        for (int i = 0; i < 3; i++) {
            CString strLabel;
            strLabel.LoadString(kEventLabels[i]);
            SetDefaultValue(hLabels, kEvents[i], strLabel);
        }
        ::RegCloseKey(hLabels);
    }
}

BOOL GetSoundEventFile(LPCTSTR lpszEvent, CString& strFile)
{
    CString strKey;
    strKey.Format("%s\\%s\\.current", kSchemeKey, lpszEvent);
    char szFile[MAX_PATH];
    LONG cb = sizeof(szFile);
    if (::RegQueryValueA(HKEY_CURRENT_USER, strKey, szFile, &cb) != ERROR_SUCCESS)
        return FALSE;
    szFile[MAX_PATH - 1] = '\0';
    strFile = szFile;
    return TRUE;
}

void PlaySoundEvent(LPCTSTR lpszEvent)
{
    CString strFile;
    if (!GetSoundEventFile(lpszEvent, strFile))
        strFile.Empty();
    LogSoundEvent(lpszEvent, strFile);
    if (!strFile.IsEmpty())
        ::PlaySoundA(strFile, NULL, SND_FILENAME | SND_NOWAIT | SND_ASYNC);
}

BOOL IsWindowsXPOrLater()
{
    OSVERSIONINFOA info = {sizeof(info)};
    if (!::GetVersionExA(&info))
        return FALSE;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0));
}

BOOL IsOlderThanWindows2000()
{
    OSVERSIONINFOA info = {sizeof(info)};
    return ::GetVersionExA(&info) && info.dwMajorVersion < 5;
}

BOOL AdminShutdownMarkerExists()
{
    char szPath[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return FALSE;
    char* pDot = strrchr(szPath, '.');
    char* pSlash = strrchr(szPath, '\\');
    if (pDot == NULL || (pSlash != NULL && pDot < pSlash))
        return FALSE;
    strcpy(pDot + 1, "SHT");
    return ::GetFileAttributesA(szPath) != INVALID_FILE_ATTRIBUTES;
}

void WriteAppearanceDefaults()
{
    char szPath[MAX_PATH];
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    char szTitle[_MAX_FNAME];
    _splitpath(szPath, NULL, NULL, szTitle, NULL);

    HKEY hKey;
    CString strKey = CString("Software\\velmar\\vlmrrp\\") + szTitle + "\\";
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, strKey, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) == ERROR_SUCCESS) {
        ::RegSetValueExA(hKey, "XPStyle.Toolbar", 0, REG_SZ, (const BYTE*)"0", 2);
        ::RegCloseKey(hKey);
    }
    strKey = CString("Software\\velmar\\Appearance\\") + szTitle + "\\";
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, strKey, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) == ERROR_SUCCESS) {
        const struct {
            LPCSTR lpszName;
            int nColor;
        } colours[] = {{"InfoControlColor", COLOR_INFOBK}, {"InfoControlColorText", COLOR_INFOTEXT}};
        for (const auto& c : colours) {
            COLORREF cr = ::GetSysColor(c.nColor);
            CString strValue;
            strValue.Format("(%d,%d,%d)", GetRValue(cr), GetGValue(cr), GetBValue(cr));
            ::RegSetValueExA(hKey, c.lpszName, 0, REG_SZ, (const BYTE*)(LPCSTR)strValue, strValue.GetLength() + 1);
        }
        ::RegCloseKey(hKey);
    }
}

LONG WINAPI MyExceptionHandler(EXCEPTION_POINTERS* pExceptionInfo)
{
    const EXCEPTION_RECORD* pRecord = pExceptionInfo->ExceptionRecord;
    const CONTEXT* pContext = pExceptionInfo->ContextRecord;

    // The module that holds the faulting address: the allocation base of its memory region.
    char szModule[MAX_PATH] = "";
    MEMORY_BASIC_INFORMATION mbi;
    if (::VirtualQuery(pRecord->ExceptionAddress, &mbi, sizeof(mbi)) != 0 && mbi.AllocationBase != NULL) {
        char szPath[MAX_PATH];
        if (::GetModuleFileNameA((HMODULE)mbi.AllocationBase, szPath, MAX_PATH) != 0) {
            char szName[_MAX_FNAME], szExt[_MAX_EXT];
            _splitpath(szPath, NULL, NULL, szName, szExt);
            snprintf(szModule, sizeof(szModule), "%s%s", szName, szExt);
        }
    }

    UtilDebug(">>MyExceptionHandler");
    UtilDebug("  ExceptionAddress = 0x%016llX\n", (unsigned long long)(ULONG_PTR)pRecord->ExceptionAddress);
    UtilDebug("  ExceptionFlags = = 0x%08X\n", (unsigned)pRecord->ExceptionFlags);
    UtilDebug(" Module where Exception occured = \"%s\"\n", szModule);
    UtilDebug(" Code : 0x%08X\n", (unsigned)pRecord->ExceptionCode);
#if defined(_M_X64) || defined(__x86_64__)
    UtilDebug(" RAX:%016llX\nRBX:%016llX\nRCX:%016llX\nRDX:%016llX\nRSI:%016llX\nRDI:%016llX\n",
              pContext->Rax, pContext->Rbx, pContext->Rcx, pContext->Rdx, pContext->Rsi, pContext->Rdi);
    UtilDebug(" R8:%016llX\nR9:%016llX\nR10:%016llX\nR11:%016llX\nR12:%016llX\nR13:%016llX\nR14:%016llX\nR15:%016llX\n",
              pContext->R8, pContext->R9, pContext->R10, pContext->R11, pContext->R12, pContext->R13,
              pContext->R14, pContext->R15);
    UtilDebug(" CS:RIP:%04X:%016llX\n", pContext->SegCs, pContext->Rip);
    UtilDebug(" SS:RSP:%04X:%016llX  RBP:%016llX\n", pContext->SegSs, pContext->Rsp, pContext->Rbp);
#else
    UtilDebug(" EAX:%08X\nEBX:%08X\nECX:%08X\nEDX:%08X\nESI:%08X\nEDI:%08X\n", pContext->Eax, pContext->Ebx,
              pContext->Ecx, pContext->Edx, pContext->Esi, pContext->Edi);
    UtilDebug(" CS:EIP:%04X:%08X\n", pContext->SegCs, pContext->Eip);
    UtilDebug(" SS:ESP:%04X:%08X  EBP:%08X\n", pContext->SegSs, pContext->Esp, pContext->Ebp);
#endif
    UtilDebug(" DS:%04X  ES:%04X  FS:%04X  GS:%04X\n", pContext->SegDs, pContext->SegEs, pContext->SegFs,
              pContext->SegGs);
    UtilDebug(" Flags:%08X\n", (unsigned)pContext->EFlags);
    UtilDebug("<<MyExceptionHandler\n");
    return EXCEPTION_EXECUTE_HANDLER;
}

BOOL IsOnlyArgument(LPCTSTR lpszCommandLine, LPCTSTR lpszSwitch)
{
    int nArgs = 0;
    CString strOnly;
    for (int i = 1; i < __argc; i++, nArgs++)
        strOnly = __argv[i];
    (void)lpszCommandLine;
    return nArgs == 1 && strOnly.CompareNoCase(lpszSwitch) == 0;
}
