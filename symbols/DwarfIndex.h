// Function and line lookup over one module's DWARF data, read once: the address-range sets and
// the line programs are decoded at the first lookup that needs them, a unit's functions and
// labels at the first lookup that lands in that unit. Later lookups search these tables instead
// of walking the sections again, so the frames of a crash report cost one decoding per module.
//
// The answers are those of a walk of the sections in file order: the first unit (in range-set
// order) whose range holds the address and that names a function there, and the first line row
// (in program order) whose addresses hold it. See DwarfLookup.h for the two kinds of units and
// the key of each.
//
// The image must outlive the index (names point into its data). Not thread-safe: one user at a
// time (the symbol reader's lock).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DwarfLookup.h"

class clsElfImage;

class DwarfIndex {
public:
    explicit DwarfIndex(const clsElfImage& image);
    ~DwarfIndex();
    DwarfIndex(const DwarfIndex&) = delete;
    DwarfIndex& operator=(const DwarfIndex&) = delete;

    // The function containing the address and the distance from its start (see DwarfFindFunction).
    // False also when memory for the tables runs out.
    bool FindFunction(const DwarfQuery& query, std::string& name, uint32_t& displacement);
    // The source file and line of the address (see DwarfFindLine).
    bool FindLine(const DwarfQuery& query, std::string& file, int& line);

    struct Tables;

private:
    std::unique_ptr<Tables> m_tables;
};
