// Reads of a shared table see what other stations wrote: another process, and another work area
// of the same process on the same table, write a row; the next read of the row without moving,
// field by field or as a whole record, returns the new contents.
#include <gtest/gtest.h>

#include "WriteTestKit.h"

using namespace writetest;

TEST_F(SharedTable, ReadsWithoutMovingSeeWhatOthersWrote)
{
    Play({
        {'T', "goto 3", "3 0"},       {'T', "name Row 3", "1 0"},    {'T', "record Row 3", "1 0"},
        // Another station writes the row.
        {'P', "goto 3", "3 0"},       {'P', "rlock 0", "1 0"},       {'P', "replace Peer", "1 0"},
        {'P', "unlock 0", "1 0"},
        {'T', "name Peer", "1 0"},    {'T', "record Peer", "1 0"},
        // A second area of this process on the same table writes it.
        {'T', "area 2", "2 0"},       {'T', "use " + m_table, "1 0"}, {'T', "goto 3", "3 0"},
        {'T', "rlock 0", "1 0"},      {'T', "replace Zwei", "1 0"},  {'T', "unlock 0", "1 0"},
        {'T', "area 1", "1 0"},       {'T', "record Zwei", "1 0"},   {'T', "name Zwei", "1 0"},
        {'P', "name Zwei", "1 0"},
        // A row appended by another station is there for a station that goes to it.
        {'P', "append Elf", "11 0"},  {'T', "goto 11", "11 0"},      {'T', "name Elf", "1 0"},
    });
}
