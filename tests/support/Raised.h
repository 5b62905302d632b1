#pragma once

#include <optional>

namespace orvo::test {

// The exception of type E that the call raised, or nothing when it raised none.
template <typename E, typename Call>
std::optional<E> Raised(Call call) {
  try {
    call();
  } catch (const E& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace orvo::test
