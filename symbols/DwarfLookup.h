// Function and line lookup in the DWARF sections of a module's ELF data.
//
// Two kinds of units are read:
// - units of the old producer (DWARF 2, 4-byte addresses): addresses are offsets from the start
//   of the module's code, which sits 0x1000 above the load address;
// - units of our own build (DWARF 2 to 4, 8-byte addresses): addresses are virtual addresses at
//   the module's preferred image base.
// A query therefore carries one key for each kind; every unit (and every line sequence) is
// matched with the key of its address size. A unit whose version or address size is not
// understood (DWARF 5 units of the run time, 64-bit DWARF) is stepped over by its length.
//
// The functions below decode the sections afresh on every call; many lookups in one module go
// through one DwarfIndex (DwarfIndex.h), which answers alike.
#pragma once

#include <cstdint>
#include <string>

class clsElfImage;

struct DwarfQuery {
    uint64_t legacy = 0; // key of units with 4-byte addresses (code-relative offset)
    uint64_t va = 0;     // key of units with 8-byte addresses (address at the preferred base)

    static DwarfQuery Same(uint64_t address) { return DwarfQuery{address, address}; }
};

// The function containing the address: its name (qualified with its classes and namespaces)
// and the distance from its start. Falls back to the nearest label below the address in a unit
// whose range holds the address but that has no function there.
bool DwarfFindFunction(const clsElfImage& image, const DwarfQuery& query, std::string& name, uint32_t& displacement);
// The source file (as the line table names it) and line of the address.
bool DwarfFindLine(const clsElfImage& image, const DwarfQuery& query, std::string& file, int& line);
// False when ".debug_pubnames" exists with a version other than 2 (the whole lookup is then not
// used); true otherwise.
bool DwarfPubnamesAccepted(const clsElfImage& image);
