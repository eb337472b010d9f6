#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvarine {

// The text of an initialisation file: "[section]" header lines, each followed by "key=value" entry
// lines. Only the sections that are changed are touched; every other line is kept byte for byte,
// line ends included. Section and key names are compared ignoring ASCII case.
class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string_view text);

  // The whole file as it would be written.
  std::string text() const;

  // The entry lines of every section of that name, in file order, without line ends and leading
  // blanks; blank lines and ";" comment lines are left out.
  std::vector<std::string> sectionEntries(std::string_view section) const;

  // Removes every section of that name: its header and its lines up to its last non-blank line.
  void eraseSection(std::string_view section);

  // Erases the section and writes it anew with these entries in this order, where its first copy
  // stood (at the end of the file when there was none).
  void replaceSection(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& entries);

  // A key or value as it can be stored: cut at its first line end, which the format cannot hold.
  static std::string storable(std::string_view text);

 private:
  struct Range {
    std::size_t header;  // index of the header line
    std::size_t end;     // one past the section's last non-blank line
  };
  std::vector<Range> sections(std::string_view name) const;
  std::string entryLine(std::string_view key, std::string_view value) const;
  void ensureLineEndBefore(std::size_t index);

  std::vector<std::string> lines_;  // each with its own line end; the last may have none
  std::string lineEnd_ = "\n";      // the file's own line end, used for new lines
};

}  // namespace kelvarine
