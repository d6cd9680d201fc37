#include "clsFile.h"

#include <new>

#include "DebugOutput.h"

namespace {

struct FlagBit {
    DWORD bit;
    DWORD createFlag;
};

const FlagBit kFlagBits[] = {
    {clsFile::kWriteThrough, FILE_FLAG_WRITE_THROUGH},   {clsFile::kSequentialScan, FILE_FLAG_SEQUENTIAL_SCAN},
    {clsFile::kDeleteOnClose, FILE_FLAG_DELETE_ON_CLOSE}, {clsFile::kRandomAccess, FILE_FLAG_RANDOM_ACCESS},
    {clsFile::kNormal, FILE_ATTRIBUTE_NORMAL},            {clsFile::kHidden, FILE_ATTRIBUTE_HIDDEN},
    {clsFile::kReadOnly, FILE_ATTRIBUTE_READONLY},        {clsFile::kTemporary, FILE_ATTRIBUTE_TEMPORARY},
};

DWORD AccessOf(int access)
{
    switch (access) {
    case 0:
        return GENERIC_READ;
    case 1:
        return GENERIC_WRITE;
    case 2:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return 0;
    }
}

DWORD DispositionOf(int disposition)
{
    switch (disposition) {
    case 0:
        return OPEN_EXISTING;
    case 1:
        return OPEN_ALWAYS;
    case 2:
        return CREATE_ALWAYS;
    default:
        return 0;
    }
}

DWORD ShareOf(int share)
{
    switch (share) {
    case 2:
        return FILE_SHARE_READ;
    case 3:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

} // namespace

clsFile::clsFile() = default;

clsFile::clsFile(const char* name, int access, int disposition, int share, DWORD flags)
{
    Open(name, access, disposition, share, flags);
}

clsFile::clsFile(HANDLE handle) : m_handle(handle ? handle : INVALID_HANDLE_VALUE) {}

clsFile::~clsFile()
{
    if (IsOpen() && m_head) {
        ReportError("portions of the file are still locked. they will be unlocked automatically...");
        while (m_head)
            Unlock(m_head);
        Close();
    }
    while (m_head) {
        Region* next = m_head->next;
        delete m_head;
        m_head = next;
    }
    m_tail = nullptr;
    Close();
}

int clsFile::ErrorClassOf(DWORD code)
{
    switch (code) {
    case ERROR_PATH_NOT_FOUND:   // 3
    case ERROR_INVALID_DRIVE:    // 15
    case ERROR_BAD_NETPATH:      // 53
    case ERROR_DEV_NOT_EXIST:    // 55
        return kPathNotFound;
    case ERROR_SHARING_VIOLATION: // 32
    case ERROR_LOCK_VIOLATION:    // 33
        return kInUse;
    case ERROR_ALREADY_EXISTS: // 183
        return kAlreadyExists;
    case ERROR_ACCESS_DENIED:   // 5
    case ERROR_WRITE_PROTECT:   // 19
        return kAccessDenied;
    default:
        return kOther;
    }
}

DWORD clsFile::CreateFlagsOf(DWORD flags)
{
    DWORD result = 0;
    for (const FlagBit& f : kFlagBits)
        if (flags & f.bit)
            result |= f.createFlag;
    return result;
}

int clsFile::Open(const char* name, int access, int disposition, int share, DWORD flags)
{
    Close();
    m_errorClass = kNoError;
    m_errorText.Empty();
    m_name = name ? name : "";
    m_flags = flags;

    if ((disposition == 1 || disposition == 2) && access == 0)
        DebugPrintf("creating a file without write access does not make much sense");
    UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HANDLE handle = CreateFileA(m_name, AccessOf(access), ShareOf(share), nullptr, DispositionOf(disposition),
                                CreateFlagsOf(flags), nullptr);
    DWORD error = GetLastError();
    SetErrorMode(previous);
    if (handle != INVALID_HANDLE_VALUE) {
        m_handle = handle;
        m_ownsHandle = true;
        return 0;
    }
    m_errorClass = ErrorClassOf(error);
    m_errorText = String::SystemErrorText(error, 0x400);
    return -1;
}

void clsFile::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return;
    if (m_ownsHandle)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    // By name, also when the system already deleted the file with the handle.
    if (m_ownsHandle && (m_flags & kDeleteOnClose) && m_name.GetLength())
        DeleteFileA(m_name);
    m_ownsHandle = false;
}

DWORD clsFile::GetSize()
{
    if (!IsOpen())
        return (DWORD)-1;
    return GetFileSize(m_handle, nullptr);
}

DWORD clsFile::Seek(DWORD offset)
{
    if (!IsOpen())
        return (DWORD)-1;
    return SetFilePointer(m_handle, (LONG)offset, nullptr, FILE_BEGIN);
}

DWORD clsFile::Tell()
{
    if (!IsOpen())
        return (DWORD)-1;
    return SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT);
}

long clsFile::Read(void* buffer, DWORD count)
{
    if (!IsOpen())
        return -1;
    DWORD read = 0;
    if (!ReadFile(m_handle, buffer, count, &read, nullptr))
        return -1;
    return (long)read;
}

clsFile::Region* clsFile::Lock(DWORD offset, DWORD length)
{
    if (!IsOpen() || !LockFile(m_handle, offset, 0, length, 0))
        return nullptr;
    Region* region = new (std::nothrow) Region{offset, length, nullptr, m_tail};
    if (!region) {
        UnlockFile(m_handle, offset, 0, length, 0);
        return nullptr;
    }
    if (m_tail)
        m_tail->next = region;
    else
        m_head = region;
    m_tail = region;
    return region;
}

void clsFile::Unlock(Region* region)
{
    if (!region)
        return;
    DWORD offset = region->offset, length = region->length;
    if (IsOpen())
        UnlockFile(m_handle, offset, 0, length, 0);
    for (Region* r = m_head; r; r = r->next) {
        if (r->offset == offset && r->length == length) {
            (r->prev ? r->prev->next : m_head) = r->next;
            (r->next ? r->next->prev : m_tail) = r->prev;
            delete r;
            return;
        }
    }
    ReportError("tried to unlock a lock that has already been removed (or has never existed)");
}

int clsFile::LockedRegionCount() const
{
    int n = 0;
    for (const Region* r = m_head; r; r = r->next)
        ++n;
    return n;
}

void clsFile::ReportError(const char* text) { DebugPrintf("\nFile '%s': %s\n", (const char*)m_name, text); }
