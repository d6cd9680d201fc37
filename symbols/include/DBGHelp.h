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

#include <cstddef>
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

// DBGStackTraceItem (natural alignment; every text zero-terminated and cut to its field):
//   0     cbSize              4     sizeof(DBGStackTraceItem) = 5496; 5488 for the 32-bit form
//                                   without qwModuleBase
//   4     bIsCall             4     0 a stack frame, 1 the callee of the call in front of the
//                                   frame's return address
//   8     qwAddress           8     the code address
//   16    szSymbol            1024  symbol name from dbghelp, or the own readers' function name
//   1040  szUndName           1024  undecorated name only (own readers: the demangled name)
//   2064  szUndFullName       1024  complete undecorated name
//   3088  qwDisplacement      8     distance from the symbol's start
//   3096  dwLineDisplacement  4     distance from the start of the source line
//   3100  dwLineNumber        4     0 when unknown
//   3104  szFileName          260   empty when unknown
//   3364  szSymType           1024  kind of the module's symbols ("PDB", "<exported>", ...)
//   4388  dwModuleBase        4     low 32 bits of the module's load address
//   4392  szModuleName        1024  short module name
//   5416  nParams             4     always 4
//   5424  aParams             4x16  the frame's first four argument words
//   5488  qwModuleBase        8     the whole 64-bit load address
struct DBGParamItem {
    DWORD dwKind;     // 0 a 32-bit value (in the low half), 1 a 64-bit integer, 2 a double
    uint64_t qwValue;
};

struct DBGStackTraceItem {
    DWORD cbSize;
    DWORD bIsCall;
    uint64_t qwAddress;
    char szSymbol[1024];
    char szUndName[1024];
    char szUndFullName[1024];
    uint64_t qwDisplacement;
    DWORD dwLineDisplacement;
    DWORD dwLineNumber;
    char szFileName[260];
    char szSymType[1024];
    DWORD dwModuleBase;
    char szModuleName[1024];
    int nParams;
    DBGParamItem aParams[4];
    uint64_t qwModuleBase;
};
static_assert(sizeof(DBGParamItem) == 16, "DBGParamItem layout");
static_assert(offsetof(DBGStackTraceItem, qwDisplacement) == 3088, "DBGStackTraceItem layout");
static_assert(offsetof(DBGStackTraceItem, szFileName) == 3104, "DBGStackTraceItem layout");
static_assert(offsetof(DBGStackTraceItem, dwModuleBase) == 4388, "DBGStackTraceItem layout");
static_assert(offsetof(DBGStackTraceItem, aParams) == 5424, "DBGStackTraceItem layout");
static_assert(offsetof(DBGStackTraceItem, qwModuleBase) == 5488, "DBGStackTraceItem layout");
static_assert(sizeof(DBGStackTraceItem) == 5496, "DBGStackTraceItem layout");

// The load address of a record's module: the 64-bit field when the record has it.
inline uint64_t ModuleBaseOf(const DBGModuleItem& item)
{
    return item.cbSize >= offsetof(DBGModuleItem, qwModuleBase) + sizeof item.qwModuleBase ? item.qwModuleBase
                                                                                          : item.dwModuleBase;
}
inline uint64_t ModuleBaseOf(const DBGStackTraceItem& item)
{
    return item.cbSize >= offsetof(DBGStackTraceItem, qwModuleBase) + sizeof item.qwModuleBase ? item.qwModuleBase
                                                                                               : item.dwModuleBase;
}

// A reference-counted enumeration of stack-trace records (COM calling rules): frames and callees
// in the order of the walk.
struct IDBGStackTraceList : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, DBGStackTraceItem** items, ULONG* fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IDBGStackTraceList** list) = 0;
    virtual BOOL STDMETHODCALLTYPE IsEmpty() = 0;
};

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
