#pragma once

#include <string>
#include <utility>

namespace kelvarine {

// How kelvarine-cli's operations fail: one that can fail returns whether it worked (or, with more ends
// than two, which one it reached) and puts the reason into a trailing `std::string* why`, which may be
// null when the caller needs none. Refuse(why, reason) is such an operation's "return false".
inline bool Refuse(std::string* why, std::string reason) {
  if (why != nullptr) *why = std::move(reason);
  return false;
}

}  // namespace kelvarine
