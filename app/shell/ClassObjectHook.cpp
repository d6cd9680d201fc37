#include "ClassObjectHook.h"

#include <objbase.h>

namespace ClassObjectHook {

namespace {

typedef HRESULT(WINAPI* CoGetClassObjectFn)(REFCLSID, DWORD, COSERVERINFO*, REFIID, LPVOID*);
typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectFn)(REFCLSID, REFIID, LPVOID*);

struct ControlLibrary {
    CLSID clsid;
    LPCSTR lpszLibrary;
};

const ControlLibrary kControls[] = {
    {{0x290907E8, 0x9FCA, 0x4C2A, {0xA8, 0x3C, 0x9A, 0xF8, 0x11, 0xF6, 0x9E, 0xE8}}, "qzmday2.dll"},
    {{0x6B787745, 0x7A47, 0x11D3, {0x94, 0x41, 0x50, 0xAC, 0x0E, 0xC1, 0x00, 0x00}}, "qzmonth.dll"},
    {{0x59C13605, 0x231B, 0x11D3, {0x94, 0x41, 0xE0, 0x01, 0x8E, 0x0F, 0xF8, 0x16}}, "qzCalend.dll"},
    {{0x4C9ED945, 0xB3A9, 0x11D3, {0x94, 0x41, 0xA0, 0xAC, 0x0E, 0xC1, 0x00, 0x00}}, "qzdedit.dll"},
};

// Filled once; an installation that finds it set builds nothing again.
CoGetClassObjectFn g_pfnReal = NULL;
LONG g_nPatched = 0;

BOOL IsImageHeader(const MEMORY_BASIC_INFORMATION& mbi)
{
    return mbi.State == MEM_COMMIT && mbi.Type == MEM_IMAGE && mbi.BaseAddress == mbi.AllocationBase;
}

} // namespace

LPCSTR LibraryForClsid(REFCLSID rclsid)
{
    for (const ControlLibrary& control : kControls)
        if (IsEqualCLSID(rclsid, control.clsid))
            return control.lpszLibrary;
    return NULL;
}

HRESULT WINAPI HookedCoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, COSERVERINFO* pServerInfo, REFIID riid,
                                      LPVOID* ppv)
{
    LPCSTR lpszLibrary = LibraryForClsid(rclsid);
    if (lpszLibrary != NULL) {
        HMODULE hLibrary = ::LoadLibraryA(lpszLibrary);
        if (hLibrary != NULL) {
            DllGetClassObjectFn pfnGet = reinterpret_cast<DllGetClassObjectFn>(::GetProcAddress(hLibrary, "DllGetClassObject"));
            if (pfnGet != NULL)
                return pfnGet(rclsid, riid, ppv);
            ::FreeLibrary(hLibrary);
        }
    }
    if (g_pfnReal == NULL)
        return CO_E_NOTINITIALIZED;
    return g_pfnReal(rclsid, dwClsContext, pServerInfo, riid, ppv);
}

int PatchImportAddressTable(HMODULE hImage)
{
    char szName[MAX_PATH];
    if (g_pfnReal == NULL || ::GetModuleFileNameA(hImage, szName, MAX_PATH) == 0)
        return 0;
    BYTE* pBase = (BYTE*)hImage;
    const IMAGE_DOS_HEADER* pDos = (const IMAGE_DOS_HEADER*)pBase;
    if (pDos->e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    const IMAGE_NT_HEADERS* pNt = (const IMAGE_NT_HEADERS*)(pBase + pDos->e_lfanew);
    if (pNt->Signature != IMAGE_NT_SIGNATURE || pNt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return 0;
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return 0;

    int nPatched = 0;
    const ULONG_PTR real = (ULONG_PTR)g_pfnReal;
    for (const IMAGE_IMPORT_DESCRIPTOR* pDesc = (const IMAGE_IMPORT_DESCRIPTOR*)(pBase + dir.VirtualAddress);
         pDesc->Name != 0; pDesc++) {
        IMAGE_THUNK_DATA* pSlot = (IMAGE_THUNK_DATA*)(pBase + pDesc->FirstThunk);
        for (; pSlot->u1.Function != 0; pSlot++) {
            if ((ULONG_PTR)pSlot->u1.Function != real)
                continue;
            MEMORY_BASIC_INFORMATION mbi;
            if (::VirtualQuery(pSlot, &mbi, sizeof(mbi)) == 0)
                break;
            DWORD dwOld = 0;
            BOOL bChanged = FALSE;
            if (mbi.Protect != PAGE_READWRITE && mbi.Protect != PAGE_EXECUTE_READWRITE) {
                if (!::VirtualProtect(pSlot, sizeof(*pSlot), PAGE_EXECUTE_READWRITE, &dwOld))
                    break; // this descriptor stays as it is
                bChanged = TRUE;
            }
            pSlot->u1.Function = (ULONG_PTR)&HookedCoGetClassObject;
            nPatched++;
            if (bChanged) {
                DWORD dwDummy;
                ::VirtualProtect(pSlot, sizeof(*pSlot), dwOld, &dwDummy);
            }
        }
    }
    ::InterlockedExchangeAdd(&g_nPatched, nPatched);
    return nPatched;
}

BOOL InstallClassObjectHook()
{
    if (g_pfnReal == NULL) {
        HMODULE hOle = ::GetModuleHandleA("ole32.dll");
        if (hOle == NULL)
            return TRUE; // nothing to redirect
        g_pfnReal = reinterpret_cast<CoGetClassObjectFn>(::GetProcAddress(hOle, "CoGetClassObject"));
        if (g_pfnReal == NULL)
            return TRUE;
    }
    // Walk the address space region by region; the header region of each image is its base.
    BYTE* pAddress = NULL;
    MEMORY_BASIC_INFORMATION mbi;
    while (::VirtualQuery(pAddress, &mbi, sizeof(mbi)) == sizeof(mbi)) {
        if (IsImageHeader(mbi))
            PatchImportAddressTable((HMODULE)mbi.BaseAddress);
        BYTE* pNext = (BYTE*)mbi.BaseAddress + mbi.RegionSize;
        if (pNext <= pAddress)
            break;
        pAddress = pNext;
    }
    return TRUE;
}

int GetPatchedSlots()
{
    return (int)g_nPatched;
}

} // namespace ClassObjectHook
