#include "ui/report_stamp.h"

namespace kelvarine {

namespace {

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

std::string formatLocal(std::time_t time, const char* format) {
  std::tm parts{};
  if (localtime_r(&time, &parts) == nullptr) return {};
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, format, &parts);
  return std::string(text, length);
}

}  // namespace

std::string ReportStamp(std::time_t now) {
  return formatLocal(now, "%x %H:%M");
}

std::string ReportStamp() {
  return ReportStamp(std::time(nullptr));
}

std::string LocaleDateTime::format(FileStamp stamp) {
  std::int64_t seconds = stamp / kNanosPerSecond;
  if (stamp % kNanosPerSecond < 0) --seconds;  // whole seconds at or before the stamp
  if (seconds == second_) return text_;
  text_ = formatLocal(static_cast<std::time_t>(seconds), "%x %X");
  second_ = seconds;
  return text_;
}

}  // namespace kelvarine
