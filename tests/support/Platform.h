#pragma once

namespace orvo::test {

// Whether the suites run as a Windows program (natively or under Wine): a case that holds on
// one platform only skips on the other and says why.
#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

}  // namespace orvo::test
