// The initial subkeys of Blowfish (P-array and S-boxes) before a key is scheduled.
#pragma once

#include <cstdint>

extern const uint32_t kBlowfishInitialP[18];
extern const uint32_t kBlowfishInitialS[4][256];
