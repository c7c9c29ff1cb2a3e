// What the sanitizer build changes in the tests: the few tests whose subject
// the sanitizer takes over are skipped, and bounds grow with its slowness.
#pragma once
#include <gtest/gtest.h>

// Under AddressSanitizer a request for nearly all of the 32-bit address space
// ends in the sanitizer's own checks rather than in a failed allocation, so
// the runtime's out-of-memory path cannot be reached that way.
#if defined(__SANITIZE_ADDRESS__)
#define SKIP_WHEN_MALLOC_FAILURE_ABORTS() GTEST_SKIP() << "the sanitizer's malloc aborts on failure"
#else
#define SKIP_WHEN_MALLOC_FAILURE_ABORTS()
#endif

// Whether this build runs under AddressSanitizer, for tests that must keep
// their inputs within what the sanitizer can hold in the 32-bit address space.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

// How many times longer a bound that catches a hang must be in this build:
// sanitized programs run several times slower.
inline constexpr unsigned kHangBoundFactor = kUnderAddressSanitizer ? 4 : 1;
