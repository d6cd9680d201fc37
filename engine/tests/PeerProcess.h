// A second station for the lock tests: engine_write_probe in its serve mode, driven through pipes
// one step at a time (the steps of WriteCommands.h); Run answers the step's line
// "<result> <error>".
#pragma once

#include "PipedProcess.h"

namespace writetest {

class PeerProcess : public oxtest::PipedProcess {
public:
    PeerProcess();
};

} // namespace writetest
