#include "StackWalk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DebugOutput.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "VersionInfo.h"

namespace {

bool Readable(const MEMORY_BASIC_INFORMATION& info)
{
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & readable) && !(info.Protect & (PAGE_GUARD | PAGE_NOACCESS));
}

void StackLimits(uintptr_t* low, uintptr_t* high)
{
    NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
    *low = (uintptr_t)tib->StackLimit;
    *high = (uintptr_t)tib->StackBase;
}

// Reads a little-endian value of the given width.
template <typename T>
bool ReadValue(uintptr_t address, T* value)
{
    return SafeRead(value, address, sizeof(T));
}

bool IsRex(uint8_t b) { return (b & 0xF0) == 0x40; }

} // namespace

bool SafeRead(void* out, uintptr_t address, size_t size)
{
    if (!size)
        return true;
    if (address < 0x10000 || address + size < address)
        return false;
    uintptr_t at = address;
    const uintptr_t end = address + size;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) != sizeof info || !Readable(info))
            return false;
        uintptr_t regionEnd = (uintptr_t)info.BaseAddress + info.RegionSize;
        if (regionEnd <= at)
            return false;
        at = regionEnd;
    }
    std::memcpy(out, reinterpret_cast<const void*>(address), size);
    return true;
}

bool IsCodeAddress(uintptr_t address)
{
    if (address < 0x10000)
        return false;
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) != sizeof info)
        return false;
    const DWORD executable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & executable) && !(info.Protect & PAGE_GUARD);
}

uintptr_t DecodeCallTarget(uintptr_t r, int* length)
{
    int dummy;
    if (!length)
        length = &dummy;
    *length = 0;
    uint8_t b[7] = {};
    // b[i] is the byte at r - 7 + i; the bytes that cannot be read stay unknown.
    bool known[7] = {};
    for (int i = 0; i < 7; ++i)
        known[i] = SafeRead(&b[i], r - 7 + i, 1);
    if (!known[2])
        return r;

    if (b[2] == 0xE8) { // call rel32 (an E8 that is part of another instruction points nowhere)
        int32_t displacement;
        if (ReadValue(r - 4, &displacement) && IsCodeAddress(r + (intptr_t)displacement)) {
            *length = 5;
            return r + (intptr_t)displacement;
        }
    }
    if (known[1] && b[1] == 0xFF && b[2] == 0x15) { // call [rip + disp32]
        int32_t displacement;
        uintptr_t target;
        *length = known[0] && IsRex(b[0]) ? 7 : 6;
        if (!ReadValue(r - 4, &displacement) || !ReadValue(r + (intptr_t)displacement, &target))
            return r;
        return target;
    }
    // Calls whose target was in a register or behind one: only their length is known.
    if (known[5] && b[5] == 0xFF && (b[6] & 0xF8) == 0xD0) { // call reg
        *length = known[4] && IsRex(b[4]) ? 3 : 2;
    } else if (known[4] && b[4] == 0xFF && (b[5] & 0xF8) == 0x50 && (b[5] & 7) != 4) { // call [reg + disp8]
        *length = known[3] && IsRex(b[3]) ? 4 : 3;
    } else if (known[1] && b[1] == 0xFF && (b[2] & 0xF8) == 0x90 && (b[2] & 7) != 4) { // call [reg + disp32]
        *length = known[0] && IsRex(b[0]) ? 7 : 6;
    }
    return r;
}

namespace {

// Operations of the unwind codes of x64 modules.
enum : uint8_t {
    kPushNonvolatile = 0,
    kAllocLarge = 1,
    kAllocSmall = 2,
    kSetFrameRegister = 3,
    kSaveNonvolatile = 4,
    kSaveNonvolatileFar = 5,
    kEpilogOrSaveXmm = 6,    // version 2: an epilog's place; version 1: the low half of an XMM register
    kSaveXmmFar = 7,         // version 1
    kSaveXmm128 = 8,
    kSaveXmm128Far = 9,
    kPushMachineFrame = 10,
};
const uint8_t kChainedInfo = 4; // flag of the unwind information: a chained entry follows the codes

// The extent of the stack that unwinding a function's frame reads, counted from the frame's base:
// every push, allocation and save of its unwind codes (and of the entries chained to them), and
// the return address or machine frame above them. *usesFrameRegister tells whether the base is the
// frame register (its value less *frameOffset) rather than the stack pointer. False when the
// unwind information cannot be read or holds a code this walk does not know.
bool FrameExtent(uintptr_t imageBase, const RUNTIME_FUNCTION& function, uintptr_t rip, uint64_t* extent,
                 bool* usesFrameRegister, unsigned* frameRegister, uint64_t* frameOffset)
{
    *extent = 0;
    *usesFrameRegister = false;
    uint64_t pushed = 0, saved = 0, machine = 0;
    RUNTIME_FUNCTION entry = function;
    for (int depth = 0; depth < 32; ++depth) {
        // An entry may point to the entry that holds the function's unwind information.
        if ((entry.UnwindData & 1) && !SafeRead(&entry, imageBase + (entry.UnwindData & ~(DWORD)1), sizeof entry))
            return false;
        uint8_t head[4];
        const uintptr_t info = imageBase + entry.UnwindData;
        if (!SafeRead(head, info, sizeof head))
            return false;
        const uint8_t version = head[0] & 7, flags = head[0] >> 3, prolog = head[1], count = head[2];
        uint16_t codes[256];
        if (count && !SafeRead(codes, info + 4, count * sizeof codes[0]))
            return false;
        // Codes of the function's own prolog that have not run yet do not count.
        const uintptr_t offset = rip - (imageBase + entry.BeginAddress);
        const bool inProlog = depth == 0 && offset < prolog;
        for (unsigned i = 0; i < count;) {
            const uint8_t at = (uint8_t)(codes[i] & 0xFF), op = (uint8_t)((codes[i] >> 8) & 0x0F),
                          opInfo = (uint8_t)(codes[i] >> 12);
            const bool ran = !inProlog || at <= offset;
            auto slot = [&](unsigned k) -> uint64_t { return i + k < count ? codes[i + k] : 0; };
            unsigned slots = 1;
            switch (op) {
            case kPushNonvolatile:
                if (ran)
                    pushed += 8;
                break;
            case kAllocLarge:
                slots = opInfo == 0 ? 2 : 3;
                if (ran)
                    pushed += opInfo == 0 ? slot(1) * 8 : (slot(1) | (slot(2) << 16));
                break;
            case kAllocSmall:
                if (ran)
                    pushed += (uint64_t)opInfo * 8 + 8;
                break;
            case kSetFrameRegister:
                if (ran) {
                    *usesFrameRegister = true;
                    *frameRegister = head[3] & 0x0F;
                    *frameOffset = (uint64_t)(head[3] >> 4) * 16;
                }
                break;
            case kSaveNonvolatile:
                slots = 2;
                saved = std::max<uint64_t>(saved, slot(1) * 8 + 8);
                break;
            case kSaveNonvolatileFar:
                slots = 3;
                saved = std::max<uint64_t>(saved, (slot(1) | (slot(2) << 16)) + 8);
                break;
            case kEpilogOrSaveXmm:
                slots = 2;
                if (version < 2)
                    saved = std::max<uint64_t>(saved, slot(1) * 8 + 8);
                break;
            case kSaveXmmFar:
                slots = 3;
                saved = std::max<uint64_t>(saved, (slot(1) | (slot(2) << 16)) + 8);
                break;
            case kSaveXmm128:
                slots = 2;
                saved = std::max<uint64_t>(saved, slot(1) * 16 + 16);
                break;
            case kSaveXmm128Far:
                slots = 3;
                saved = std::max<uint64_t>(saved, (slot(1) | (slot(2) << 16)) + 16);
                break;
            case kPushMachineFrame:
                machine = opInfo ? 48 : 40;
                break;
            default:
                return false;
            }
            i += slots;
        }
        if (!(flags & kChainedInfo))
            break;
        const uintptr_t chained = info + 4 + 2 * (uintptr_t)((count + 1) & ~1u);
        if (!SafeRead(&entry, chained, sizeof entry))
            return false;
    }
    *extent = std::max<uint64_t>(saved, pushed + (machine ? machine : 8));
    return true;
}

} // namespace

bool UnwindStackFrame(CONTEXT& context, uintptr_t low, uintptr_t high, DWORD handlerType, void** handler,
                      uintptr_t* badAddress)
{
    if (handler)
        *handler = nullptr;
    if (badAddress)
        *badAddress = 0;
    const uintptr_t rip = context.Rip, rsp = context.Rsp;
    auto outside = [&](uintptr_t address) {
        if (badAddress)
            *badAddress = address;
        return false;
    };
    if (rsp < low || rsp >= high || high - rsp < 8)
        return outside(rsp);
    DWORD64 imageBase = 0;
    PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(rip, &imageBase, nullptr);
    if (!function) {
        // A leaf: its return address is on top of the stack.
        uintptr_t returnAddress;
        if (!ReadValue(rsp, &returnAddress))
            return outside(rsp);
        context.Rip = returnAddress;
        context.Rsp = rsp + 8;
        return true;
    }
    // The unwinder reads the saved registers and the return address without asking: every word
    // it may read must lie inside the stack range.
    uint64_t extent = 0, frameOffset = 0;
    bool usesFrameRegister = false;
    unsigned frameRegister = 0;
    if (!FrameExtent((uintptr_t)imageBase, *function, rip, &extent, &usesFrameRegister, &frameRegister, &frameOffset))
        return outside(imageBase + function->UnwindData);
    const uintptr_t base = usesFrameRegister ? (uintptr_t)(&context.Rax)[frameRegister] - (uintptr_t)frameOffset : rsp;
    if (base < low || base >= high)
        return outside(base);
    if (extent > high - base)
        return outside(high);
    PVOID handlerData = nullptr;
    DWORD64 establisher = 0;
    PEXCEPTION_ROUTINE routine =
        RtlVirtualUnwind(handlerType, imageBase, rip, function, &context, &handlerData, &establisher, nullptr);
    if (handler)
        *handler = (void*)routine;
    return true;
}

int WalkStackFrames(const CONTEXT& start, StackWalkItem* items, int maximum, uintptr_t* badAddress, uintptr_t stackLow,
                    uintptr_t stackHigh)
{
    if (badAddress)
        *badAddress = 0;
    uintptr_t low = stackLow, high = stackHigh;
    if (!low && !high)
        StackLimits(&low, &high);
    CONTEXT context = start;
    int count = 0;
    while (count < maximum) {
        uintptr_t rip = context.Rip;
        uintptr_t rsp = context.Rsp;
        if (!rip || rsp < low || rsp >= high)
            break;
        if (!UnwindStackFrame(context, low, high, UNW_FLAG_NHANDLER, nullptr, badAddress))
            break;
        uintptr_t returnAddress = context.Rip;
        if (!returnAddress || returnAddress == (uintptr_t)-1 || context.Rsp <= rsp || !IsCodeAddress(returnAddress))
            break;
        if (items) {
            StackWalkItem& item = items[count];
            int length = 0;
            uintptr_t target = DecodeCallTarget(returnAddress, &length);
            item.frame = context.Rsp;
            item.callAddress = returnAddress - (length ? length : 1);
            item.callTarget = target == returnAddress ? 0 : target;
            item.argCount = 0;
            for (int i = 0; i < 4 && context.Rsp + 8 * (i + 1) <= high && ReadValue(context.Rsp + 8 * i, &item.args[i]); ++i)
                item.argCount = i + 1;
        }
        ++count;
    }
    return count;
}

bool FindMapSymbol(const char* mapPath, unsigned section, uintptr_t offset, char* symbol, size_t size)
{
    if (size)
        symbol[0] = 0;
    FILE* file = std::fopen(mapPath, "rt");
    if (!file)
        return false;
    // Two layouts: the first line names the linker ("WATCOM ... Version 1x.") with a symbol
    // table under a line beginning "Address", or the first line begins " Start" (the segment
    // table) with the publics under a line beginning "  Address". Symbol lines begin with
    // "<section>:<offset>" in hexadecimal, followed by the name, in ascending order.
    char line[1024];
    bool found = false;
    if (std::fgets(line, sizeof line, file)) {
        bool watcom = (std::strstr(line, "WATCOM ") || std::strstr(line, "Watcom ")) &&
                      (std::strstr(line, "Version 10.") || std::strstr(line, "Version 11.") || std::strstr(line, "Version 1."));
        bool segments = std::strncmp(line, " Start", 6) == 0;
        const char* header = watcom ? "Address" : "  Address";
        bool inTable = false;
        char previous[256] = "";
        unsigned previousSection = 0;
        uintptr_t previousOffset = 0;
        while ((watcom || segments) && !found && std::fgets(line, sizeof line, file)) {
            if (!inTable) {
                inTable = std::strncmp(line, header, std::strlen(header)) == 0;
                continue;
            }
            char* p = line;
            while (*p == ' ' || *p == '\t')
                ++p;
            char* end;
            unsigned long lineSection = std::strtoul(p, &end, 16);
            if (end == p || *end != ':')
                continue;
            p = end + 1;
            unsigned long long lineOffset = std::strtoull(p, &end, 16);
            if (end == p)
                continue;
            p = end;
            while (*p && *p != ' ' && *p != '\t') // flags such as '*' or '+'
                ++p;
            while (*p == ' ' || *p == '\t')
                ++p;
            char name[256];
            size_t n = 0;
            while (p[n] && p[n] != ' ' && p[n] != '\t' && p[n] != '\r' && p[n] != '\n' && n + 1 < sizeof name) {
                name[n] = p[n];
                ++n;
            }
            name[n] = 0;
            if (!n)
                continue;
            if (lineSection == section && lineOffset == offset) {
                SafeStrCopy(symbol, name, size);
                found = true;
            } else if (lineSection > section || (lineSection == section && lineOffset > offset)) {
                if (previous[0] && previousSection == section) {
                    Format(symbol, size, watcom ? "%s + 0x%Ix" : "%s + %#Ix", previous, offset - previousOffset);
                    found = true;
                }
                break;
            } else {
                SafeStrCopy(previous, name, sizeof previous);
                previousSection = (unsigned)lineSection;
                previousOffset = (uintptr_t)lineOffset;
            }
        }
    }
    std::fclose(file);
    return found;
}

void GetAddressText(uintptr_t address, char* buffer, size_t size)
{
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) != sizeof info) {
        Format(buffer, size, "%#p (1)", (void*)address);
        return;
    }
    if (info.State == MEM_FREE) {
        Format(buffer, size, "%#p (free)", (void*)address);
        return;
    }
    uintptr_t base = (uintptr_t)info.AllocationBase;
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS64 nt;
    if (!SafeRead(&dos, base, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !SafeRead(&nt, base + dos.e_lfanew, sizeof nt) || nt.Signature != IMAGE_NT_SIGNATURE) {
        Format(buffer, size, "%#p (2)", (void*)address);
        return;
    }
    uintptr_t sectionTable = base + dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                             nt.FileHeader.SizeOfOptionalHeader;
    uintptr_t rva = address - base;
    unsigned section = 0;
    uintptr_t offset = 0;
    for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER header;
        if (!SafeRead(&header, sectionTable + i * sizeof header, sizeof header))
            break;
        DWORD extent = header.Misc.VirtualSize ? header.Misc.VirtualSize : header.SizeOfRawData;
        if (rva >= header.VirtualAddress && rva - header.VirtualAddress < extent) {
            section = i + 1;
            offset = rva - header.VirtualAddress;
            break;
        }
    }
    if (!section) {
        Format(buffer, size, "%#p (any segment)", (void*)address);
        return;
    }
    // A module name cut to the buffer would lead to another module's map file.
    char path[MAX_PATH];
    const DWORD pathLength = GetModuleFileNameA(reinterpret_cast<HMODULE>(base), path, sizeof path);
    if (pathLength == 0 || pathLength >= sizeof path) {
        Format(buffer, size, "%#p", (void*)address);
        return;
    }
    char name[256];
    SplitPath(path, nullptr, nullptr, name, nullptr);
    int n = Format(buffer, size, "%-8s [%#p=%#04x:%#p] ", name, (void*)address, section, (void*)offset);

    char mapPath[MAX_PATH + 8], drive[256], dir[256];
    SplitPath(path, drive, dir, nullptr, nullptr);
    char joined[1024];
    MakePath(joined, drive, dir, name, ".MAP");
    SafeStrCopy(mapPath, joined, sizeof mapPath);
    char text[300];
    if (n > 0 && (size_t)n < size && FindMapSymbol(mapPath, section, offset, text, sizeof text))
        n += Format(buffer + n, size - (size_t)n, "%s ", text);
    if (n > 0 && (size_t)n < size && ModuleVersionText(path, text, sizeof text))
        Format(buffer + n, size - (size_t)n, "(%s)", text);
}

void FormatStackFrame(const StackWalkItem& item, char* callText, char* location, size_t locationSize, size_t callSize)
{
    char text[400];
    if (IsCodeAddress(item.callAddress)) {
        GetAddressText(item.callAddress, text, sizeof text);
        Format(location, locationSize, " %#p:%s", (void*)item.frame, text);
    } else {
        Format(location, locationSize, " %#p:%#p", (void*)item.frame, (void*)item.callAddress);
    }

    if (!item.callTarget) {
        Format(callText, callSize, "  CALL <unknown call code>");
        return;
    }
    GetAddressText(item.callTarget, text, sizeof text);
    int n = Format(callText, callSize, "  CALL %s", text);
    if (item.frame < 0x10000)
        return;
    for (int i = 0; i < item.argCount && n > 0 && (size_t)n < callSize; ++i)
        n += Format(callText + n, callSize - (size_t)n, " %#p,", (void*)item.args[i]);
}

void LogStackTraces(int maxFrames)
{
    CONTEXT context;
    RtlCaptureContext(&context);
    const int kMost = 64;
    StackWalkItem items[kMost];
    int n = WalkStackFrames(context, items, maxFrames < kMost ? maxFrames : kMost);
    DebugPrintf("%d traces", n);
    for (int i = 0; i < n; ++i) {
        char location[400], call[400];
        FormatStackFrame(items[i], call, location, sizeof location, sizeof call);
        DebugPrintf("  ------------------------------------------------------------");
        DebugPrintf("  %s", location);
        DebugPrintf("  --> %s", call);
    }
}
