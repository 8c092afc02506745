#pragma once

#include <gtest/gtest.h>

// True in a build instrumented with AddressSanitizer (QUIRELLE_SANITIZE).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool UnderAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif

// Skips the rest of a test that cannot run under AddressSanitizer, printing why.
#define SKIP_UNDER_ADDRESS_SANITIZER(reason)                                                       \
    if (UnderAddressSanitizer)                                                                     \
    GTEST_SKIP() << "not run under AddressSanitizer: " << (reason)

// Why the tests of the throw-site record cannot run there.
inline constexpr const char *SanitizerOwnsCxaThrow =
    "it intercepts __cxa_throw, so the recorded stack starts in its interceptor";
