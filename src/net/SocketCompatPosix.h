// The BSD socket calls the layer relies on. They are called directly; the
// check stays so that a platform without them keeps the layer down.
#pragma once
#include <cstdint>

// True when every socket call the layer needs is available; the answer is
// worked out on the first call and kept.
bool SetupSocketCompat();
void CleanupSocketCompat();

// The calling thread's errno.
extern "C" int32_t our_errno();
