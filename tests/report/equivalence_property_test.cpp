// Seeded one-byte mutations of real text and binary files, each compared with its original with no options:
// every "equivalent" answer must be explained by a normaliser written here from the documented rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/run_status.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

std::string readSource(const std::string& relative) {
  std::ostringstream text;
  text << std::ifstream(std::string(KELVARINE_SOURCE_DIR) + "/" + relative, std::ios::binary).rdbuf();
  return text.str();
}

// The text ends at the first Ctrl-Z (the bytes behind it must be equal); CR, LF and CR LF end lines, the
// last needs none; lines are cut every 2048 characters; a TAB reads as a blank; blanks at a line's end
// do not count.
std::vector<std::string> normalise(const std::string& bytes) {
  const auto trimmed = [](const std::string& l) { return l.substr(0, l.find_last_not_of(' ') + 1); };
  const std::size_t eof = std::min(bytes.find('\x1a'), bytes.size());
  std::vector<std::string> lines{eof < bytes.size() ? bytes.substr(eof + 1) : ""};
  std::string line;
  for (std::size_t i = 0; i < eof; ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      i += bytes[i] == '\r' && i + 1 < eof && bytes[i + 1] == '\n';
      lines.push_back(trimmed(std::exchange(line, {})));
    } else if (line += bytes[i] == '\t' ? ' ' : bytes[i]; line.size() == 2048) {
      lines.push_back(trimmed(std::exchange(line, {})));
    }
  }
  if (!line.empty()) lines.push_back(trimmed(line));
  return lines;
}

TEST(EquivalenceProperty, EveryEquivalentAnswerIsExplainedByTheReadingRules) {
  std::vector<std::string> originals{
      std::regex_replace(readSource("examples/new/station.ini"), std::regex("\n"), "\r\n"),
      readSource("examples/new/calibration.txt") + "\x1a"};
  for (const char* name : {"examples/new/sensor_log.cpp", "examples/old/README.txt",
                           "examples/new/firmware.bin", "data/icons/kelvarine-16.png"})
    originals.push_back(readSource(name));
  const char bytes[] = {'x', ' ', '\t', '\r', '\n', '\x1a', '\0', '\xc3', '\xff'};
  std::mt19937 random(20240607);
  const auto pick = [&](std::size_t n) { return random() % n; };
  int equivalent = 0;
  for (int i = 0; i < 5000; ++i) {
    // Insert, delete or change one byte, often at a line end or at the end of the file.
    const std::string& original = originals[static_cast<std::size_t>(i) % originals.size()];
    std::string mutated = original;
    std::size_t at = pick(mutated.size() + 1);
    const std::size_t where = pick(10), kind = pick(3);
    if (where < 3) at = std::min(mutated.find_first_of("\r\n", at), mutated.size());
    if (where == 3) at = mutated.size();
    const char byte = bytes[pick(sizeof bytes)];
    mutated.replace(at, kind == 0 || at == mutated.size() ? 0 : 1, kind == 1 ? "" : std::string(1, byte));
    if (mutated == original) continue;
    // The New file is the one probed for text or binary: the mutated file takes either side.
    MemorySet<ReportGenerator> set;
    i % 2 == 0 ? set.addPair("f", mutated, original) : set.addPair("f", original, mutated);
    const std::string status = set.run();
    if (status == std::string(kRunDifferent)) continue;
    ++equivalent;
    EXPECT_EQ(normalise(mutated), normalise(original))
        << "mutation " << i << " (" << kind << " of byte " << int(byte) << " at " << at
        << ") reported as: " << status;
  }
  EXPECT_GT(equivalent, 50);  // the rules are exercised, not only plain differences
}

}  // namespace
}  // namespace kelvarine
