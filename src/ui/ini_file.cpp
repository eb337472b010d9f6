#include "ui/ini_file.h"

#include <algorithm>

#include "engine/ascii_case.h"

namespace kelvarine {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

std::string_view trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool isBlankLine(std::string_view line) {
  return trimBlanks(withoutLineEnd(line)).empty();
}

// The section name of a header line, or nothing when the line is not a header.
bool headerName(std::string_view line, std::string_view& name) {
  if (line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  line = trimBlanks(withoutLineEnd(line));
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = trimBlanks(line.substr(1, close - 1));
  return true;
}

}  // namespace

IniFile::IniFile(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines_.emplace_back(text.substr(start, end - start));
    start = end;
  }
  if (!lines_.empty() && lines_.front().ends_with("\r\n")) lineEnd_ = "\r\n";
}

std::string IniFile::text() const {
  std::string out;
  for (const std::string& line : lines_)
    out += line;
  return out;
}

std::vector<IniFile::Range> IniFile::sections(std::string_view name) const {
  std::vector<Range> found;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view header;
    if (!headerName(lines_[i], header) || !EqualIgnoringCase(header, name)) continue;
    Range range{i, i + 1};
    for (std::size_t j = i + 1; j < lines_.size(); ++j) {
      std::string_view other;
      if (headerName(lines_[j], other)) break;
      if (!isBlankLine(lines_[j])) range.end = j + 1;
    }
    found.push_back(range);
  }
  return found;
}

std::vector<std::string> IniFile::sectionEntries(std::string_view section) const {
  std::vector<std::string> entries;
  for (const Range& range : sections(section)) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
      std::string_view line = withoutLineEnd(lines_[i]);
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
      if (line.empty() || line.front() == ';') continue;
      entries.emplace_back(line);
    }
  }
  return entries;
}

void IniFile::eraseSection(std::string_view section) {
  const std::vector<Range> found = sections(section);
  for (auto it = found.rbegin(); it != found.rend(); ++it)
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(it->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(it->end));
}

std::string IniFile::storable(std::string_view text) {
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

std::string IniFile::entryLine(std::string_view key, std::string_view value) const {
  return storable(key) + "=" + storable(value) + lineEnd_;
}

void IniFile::ensureLineEndBefore(std::size_t index) {
  if (index == 0 || index > lines_.size()) return;
  std::string& previous = lines_[index - 1];
  if (!previous.ends_with('\n')) previous += lineEnd_;
}

void IniFile::replaceSection(std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& entries) {
  const std::vector<Range> found = sections(section);
  const std::size_t at = found.empty() ? lines_.size() : found.front().header;
  // A byte-order mark before the first header belongs to the file, not to the section.
  const bool keepMark = at == 0 && !found.empty() && lines_.front().starts_with(kByteOrderMark);
  eraseSection(section);
  std::vector<std::string> block;
  block.push_back((keepMark ? std::string(kByteOrderMark) : std::string()) + "[" + storable(section) + "]" +
                  lineEnd_);
  for (const auto& [key, value] : entries)
    block.push_back(entryLine(key, value));
  ensureLineEndBefore(at);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
}

}  // namespace kelvarine
