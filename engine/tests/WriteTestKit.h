// Fixtures of the tests of locks, writing and memo files: images of DBT and NTX files, a table
// shared with a second station, and the steps both stations play.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EngineHooks.h"
#include "Locks.h"
#include "PeerProcess.h"
#include "TableTestKit.h"

namespace writetest {

// A DBT file of the engine's layout: the 24-byte header in a 512-byte block 0 (next free block,
// block size 512), followed by the given blocks.
std::string MemoImage(unsigned nextFree, const std::string& blocks = std::string());
// The first 1,024 bytes of an index file: signature 6, change counter, key size.
std::string IndexImage(unsigned counter, unsigned keySize);

// The ten records of the shared table: NAME C 10 ("Row 1" ...), NOTE M.
std::string SharedTableImage();

// One step of a lock scenario: who runs it ('T' this process, 'P' the peer), the command of
// WriteCommands.h and the answer "<result> <error>".
struct Step {
    char who;
    std::string command;
    std::string answer;
};

// A shared table open in this process and in a second station (area 1 of each), with an index
// file plugged into slot 0 of both.
class SharedTable : public tabletest::TableTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the steps in order; every answer is checked.
    void Play(const std::vector<Step>& steps);
    // Lock waits give up after a moment of real time, without a dialog.
    static void ShortWaits();

    std::string m_table, m_index;
    std::unique_ptr<PeerProcess> m_peer;
    s_EngineHooks m_savedHooks;
};

} // namespace writetest
