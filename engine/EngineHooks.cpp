#include "EngineHooks.h"

s_EngineHooks g_EngineHooks;
