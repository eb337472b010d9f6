#pragma once

#include <stdexcept>
#include <string>

namespace kelvarine {

// An internal fault of a run (a range error, a failed conversion of a user choice). The compare
// run catches it, like every other exception, and ends the set with the run-fault status.
class EngineFault : public std::runtime_error {
 public:
  explicit EngineFault(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace kelvarine
