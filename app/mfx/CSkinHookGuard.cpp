#include "CSkinHookGuard.h"

#include "vlCT11.h"

CSkinHookGuard::CSkinHookGuard() : m_nPreviousFlags(CtlSkinHookingProhibitionFlags(3)) {}

CSkinHookGuard::~CSkinHookGuard() { CtlSkinHookingProhibitionFlags(m_nPreviousFlags); }
