#include "PeerProcess.h"

#include "TestKit.h"

namespace writetest {

PeerProcess::PeerProcess() : PipedProcess("\"" + oxtest::ProgramDir() + "\\engine_write_probe.exe\" serve") {}

} // namespace writetest
