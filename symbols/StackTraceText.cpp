#include "StackTraceText.h"

#include <cstring>
#include <string>

#include "PrintfFormat.h"
#include "clsDebugOutput.h"

namespace {

const char* SymbolText(const DBGStackTraceItem& item)
{
    if (item.szUndFullName[0])
        return item.szUndFullName;
    if (item.szUndName[0])
        return item.szUndName;
    return item.szSymbol;
}

} // namespace

void FormatModuleLine(const DBGModuleItem& item, char* line, size_t size)
{
    Format(line, size, "0x%016I64x: %-20hs %-45hs %-30hs '%hs'  [%hs]", (unsigned long long)ModuleBaseOf(item),
           item.szModuleName, item.szFileDescription, item.szFileVersion, item.szImagePath, item.szSymType);
}

void FormatTraceLine(const DBGStackTraceItem& item, char* line, size_t size)
{
    char position[300] = "";
    if (item.szFileName[0])
        Format(position, sizeof position, "  (%hs, line %d)", item.szFileName, (int)item.dwLineNumber);
    const char* symbol = SymbolText(item);
    const unsigned long long address = item.qwAddress;
    if (item.bIsCall) {
        if (!symbol[0])
            Format(line, size, "   CALL [0x%016I64x] %hs!0x%p %s", address, item.szModuleName, (void*)(uintptr_t)address,
                   position);
        else if (item.qwDisplacement)
            Format(line, size, "   CALL [0x%016I64x] %hs!%hs + %#Lx %s", address, item.szModuleName, symbol,
                   (unsigned long long)item.qwDisplacement, position);
        else
            Format(line, size, "   CALL [0x%016I64x] %hs!%hs %s", address, item.szModuleName, symbol, position);
    } else if (symbol[0]) {
        Format(line, size, "[0x%016I64x] %hs!%hs + %#Lx %s", address, item.szModuleName, symbol,
               (unsigned long long)item.qwDisplacement, position);
    } else {
        Format(line, size, "[0x%016I64x] %hs!+%#Lx %s", address, item.szModuleName,
               (unsigned long long)(address - ModuleBaseOf(item)), position);
    }
}

void FormatArgumentLine(const DBGStackTraceItem& item, char* line, size_t size)
{
    if (size)
        line[0] = 0;
    if (item.bIsCall || !size)
        return;
    std::string values;
    int count = item.nParams < 0 ? 0 : item.nParams > 4 ? 4 : item.nParams;
    for (int j = 0; j < count; j++) {
        char value[64];
        const char* separator = j ? ", " : "";
        const DBGParamItem& p = item.aParams[j];
        if (p.dwKind == 1)
            Format(value, sizeof value, "%s0x%16Lx", separator, (unsigned long long)p.qwValue);
        else if (p.dwKind == 2) {
            double d;
            memcpy(&d, &p.qwValue, sizeof d);
            Format(value, sizeof value, "%s%g", separator, d);
        } else
            Format(value, sizeof value, "%s0x%08x", separator, (unsigned)p.qwValue);
        values += value;
    }
    Format(line, size, "         args(%s)", values.c_str());
}

void WriteModuleList(IDBGModuleList* list, clsDebugOutput& out)
{
    out.Printf("List of Modules:");
    if (!list)
        return;
    list->Reset();
    DBGModuleItem* item = nullptr;
    while (list->Next(1, &item, nullptr) == S_OK && item) {
        char line[1200];
        FormatModuleLine(*item, line, sizeof line);
        out.Printf("%s", line);
    }
}

void WriteStackTrace(IDBGStackTraceList* list, clsDebugOutput& out)
{
    out.Printf("Stack Trace:");
    if (list) {
        list->Reset();
        DBGStackTraceItem* item = nullptr;
        while (list->Next(1, &item, nullptr) == S_OK && item) {
            char line[3800];
            FormatTraceLine(*item, line, sizeof line);
            out.Printf("%s", line);
            FormatArgumentLine(*item, line, sizeof line);
            if (line[0])
                out.Printf("%s", line);
        }
    }
    out.Printf("   =========================");
}
