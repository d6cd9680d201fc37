// Records and interfaces of the symbol reader that cross to the crash handler.
//
// DBGModuleItem (4-byte packing, every text zero-terminated and cut to its field):
//   0    cbSize            4    sizeof(DBGModuleItem) = 828; 820 for the 32-bit form without
//                               qwModuleBase (a reader uses qwModuleBase only when cbSize says
//                               it is there)
//   4    szImagePath       260  full path of the module file
//   264  szModuleName      260  module name as the enumeration gives it (name with extension)
//   524  szSymType         32   kind of symbols ("PDB", "<exported>", "DWARF", ...)
//   556  dwModuleBase      4    low 32 bits of the load address
//   560  dwImageSize       4    size of the image in bytes
//   564  szFileVersion     64   "FileVersion" (+ blank + "Build") of the version resource
//   628  szCompanyName     64   "CompanyName"
//   692  szFileDescription 128  "FileDescription"
//   820  qwModuleBase      8    the whole 64-bit load address
#pragma once

#include <windows.h>

#include <cstdint>

#pragma pack(push, 4)
struct DBGModuleItem {
    DWORD cbSize;
    char szImagePath[260];
    char szModuleName[260];
    char szSymType[32];
    DWORD dwModuleBase;
    DWORD dwImageSize;
    char szFileVersion[64];
    char szCompanyName[64];
    char szFileDescription[128];
    uint64_t qwModuleBase;
};
#pragma pack(pop)
static_assert(offsetof(DBGModuleItem, dwModuleBase) == 556, "DBGModuleItem layout");
static_assert(offsetof(DBGModuleItem, qwModuleBase) == 820, "DBGModuleItem layout");
static_assert(sizeof(DBGModuleItem) == 828, "DBGModuleItem layout");

// A reference-counted enumeration of module records (COM calling rules).
struct IDBGModuleList : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, DBGModuleItem** items, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IDBGModuleList** list) = 0;
    virtual BOOL STDMETHODCALLTYPE IsEmpty() = 0;
};

// What the crash handler passes about the progress window.
struct DBGProgressInfo {
    BYTE bShow;             // 0: no window
    DWORD dwOwner;          // first argument of the dialog's Start
    const char* pszCaption; // NULL: "Bitte warten Sie..." / "Please wait..."
    const char* pszMessage; // NULL: "Modul-Information wird eingelesen:" / "Retrieving module information:"
    long lStartValue;       // option 0 of the dialog before it starts
};
