// Reads of a shared table see what other stations wrote at their next positioning or lock:
// another process, and another work area of the same process on the same table, write a row;
// reads without moving keep returning the record as it was read, a lock or a goto reads it anew.
#include <gtest/gtest.h>

#include "WriteTestKit.h"

using namespace writetest;

TEST_F(SharedTable, OthersWritesShowAtTheNextPositioningOrLock)
{
    Play({
        {'T', "goto 3", "3 0"},       {'T', "name Row 3", "1 0"},    {'T', "record Row 3", "1 0"},
        // Another station writes the row: the buffer read after the goto stays until a lock.
        {'P', "goto 3", "3 0"},       {'P', "rlock 0", "1 0"},       {'P', "replace Peer", "1 0"},
        {'P', "unlock 0", "1 0"},
        {'T', "name Peer", "0 0"},    {'T', "record Peer", "0 0"},
        {'T', "rlock 0", "1 0"},      {'T', "name Peer", "1 0"},     {'T', "record Peer", "1 0"},
        {'T', "unlock 0", "1 0"},
        // A second area of this process on the same table writes it; a move there and back
        // reads it anew.
        {'T', "area 2", "2 0"},       {'T', "use " + m_table, "1 0"}, {'T', "goto 3", "3 0"},
        {'T', "rlock 0", "1 0"},      {'T', "replace Zwei", "1 0"},  {'T', "unlock 0", "1 0"},
        {'T', "area 1", "1 0"},       {'T', "goto 4", "4 0"},        {'T', "goto 3", "3 0"},
        {'T', "record Zwei", "1 0"},  {'T', "name Zwei", "1 0"},
        {'P', "goto 4", "4 0"},       {'P', "goto 3", "3 0"},        {'P', "name Zwei", "1 0"},
        // A row appended by another station is there for a station that goes to it.
        {'P', "append Elf", "11 0"},  {'T', "goto 11", "11 0"},      {'T', "name Elf", "1 0"},
        // Under the file lock the count stays as taken with the lock; the lock is the only way
        // another station could have appended, so a row appended before it is there.
        {'P', "append Zwoelf", "12 0"}, {'T', "flock 0", "1 0"},     {'T', "goto 12", "12 0"},
        {'T', "name Zwoelf", "1 0"},  {'P', "flock 0", "0 21"},       {'T', "unlock 0", "1 0"},
        {'P', "flock 0", "1 0"},      {'P', "unlock 0", "1 0"},
    });
}
