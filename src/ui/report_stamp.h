#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "engine/host.h"

namespace kelvarine {

// The date and time that end the viewer captions and the saved report's captions: the locale's short
// date, one blank and the time without seconds.
std::string ReportStamp(std::time_t now);
std::string ReportStamp();

// A file stamp as the locale's short date and long time (strftime "%x %X"). The last second formatted is
// kept: the files of a directory mostly share a few stamps.
class LocaleDateTime {
 public:
  std::string format(FileStamp stamp);

 private:
  std::int64_t second_ = INT64_MIN;
  std::string text_;
};

}  // namespace kelvarine
