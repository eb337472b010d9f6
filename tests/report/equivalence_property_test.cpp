// Bytes that differ are reported as differences, unless a documented reading rule explains them: random
// one-byte mutations of real text and binary files, each compared with its original with no options.
// An "equivalent" answer must be explained by a normaliser written here from the documented rules.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_status.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

std::string readSource(const std::string& relative) {
  std::ifstream in(std::string(KELVARINE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A file as the documented rules read it with no options: the text ends at the first end-of-file
// character (byte 26), whose following bytes must still be equal; CR, LF and CR LF end lines; the last
// line needs no line end; lines are cut every 2048 characters; a TAB reads as a blank; blanks at a
// line's end do not count.
struct Normalised {
  std::vector<std::string> lines;
  std::string afterEof;
  bool operator==(const Normalised&) const = default;
};

Normalised normalise(const std::string& bytes) {
  Normalised out;
  const std::size_t eof = bytes.find('\x1a');
  const std::size_t end = eof == std::string::npos ? bytes.size() : eof;
  if (eof != std::string::npos) out.afterEof = bytes.substr(eof + 1);
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < end; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ++i;
      out.lines.push_back(line);
      line.clear();
      open = false;
      continue;
    }
    line += c == '\t' ? ' ' : c;
    open = true;
    if (line.size() == 2048) {
      out.lines.push_back(line);
      line.clear();
      open = false;
    }
  }
  if (open) out.lines.push_back(line);
  for (std::string& l : out.lines)
    l.erase(l.find_last_not_of(' ') + 1);
  return out;
}

// One mutation: insert, delete or change one byte, often at a line end or at the end of the file.
std::string mutate(const std::string& original, std::mt19937& random, std::string& what) {
  static const char kBytes[] = {'x', ' ', '\t', '\r', '\n', '\x1a', '\0', '\xc3', '\xff'};
  std::string s = original;
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  std::size_t at = pick(s.size() + 1);
  const std::size_t where = pick(10);
  if (where < 3) {  // at a line end
    const std::size_t lf = s.find_first_of("\r\n", at);
    at = lf == std::string::npos ? s.size() : lf;
  } else if (where == 3) {
    at = s.size();
  }
  const char byte = kBytes[pick(sizeof kBytes)];
  const std::size_t kind = at == s.size() ? 0 : pick(3);
  if (kind == 0) {
    s.insert(at, 1, byte);
  } else if (kind == 1) {
    s.erase(at, 1);
  } else {
    if (s[at] == byte) return {};
    s[at] = byte;
  }
  what = std::string(kind == 0   ? "insert"
                     : kind == 1 ? "delete"
                                 : "change") +
         " byte " + std::to_string(static_cast<unsigned char>(byte)) + " at " + std::to_string(at);
  return s;
}

TEST(EquivalenceProperty, EveryEquivalentAnswerIsExplainedByTheReadingRules) {
  std::string crlf;
  for (char c : readSource("examples/new/station.ini"))
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::vector<std::pair<std::string, std::string>> originals = {
      {"sensor_log.cpp", readSource("examples/new/sensor_log.cpp")},
      {"README.txt", readSource("examples/old/README.txt")},
      {"station.ini (CR LF)", crlf},
      {"text ending in Ctrl-Z", readSource("examples/new/calibration.txt") + "\x1a"},
      {"firmware.bin", readSource("examples/new/firmware.bin")},
      {"kelvarine-16.png", readSource("data/icons/kelvarine-16.png")},
  };
  std::mt19937 random(20240607);
  int equivalent = 0, runs = 0;
  for (int i = 0; i < 5000; ++i) {
    const auto& [name, original] = originals[static_cast<std::size_t>(i) % originals.size()];
    ASSERT_FALSE(original.empty()) << name;
    std::string what;
    const std::string mutated = mutate(original, random, what);
    if (mutated.empty() || mutated == original) continue;
    // The New file is the one probed for text or binary: the mutated file takes either side.
    const bool mutatedIsNew = i % 2 == 0;
    MemorySet<ReportGenerator> set;
    set.addPair("f", mutatedIsNew ? mutated : original, mutatedIsNew ? original : mutated);
    const std::string status = set.run();
    ++runs;
    if (status != std::string(kRunEqual).substr(0, 70) && status != std::string(kRunNothing).substr(0, 70)) {
      EXPECT_EQ(status, std::string(kRunDifferent)) << name << ": " << what;
      continue;
    }
    ++equivalent;
    EXPECT_TRUE(normalise(mutated) == normalise(original))
        << name << ": " << what << " (mutated file as " << (mutatedIsNew ? "New" : "Old")
        << ") is reported as \"" << status << "\" but the reading rules do not explain it";
  }
  EXPECT_GT(runs, 4000);
  EXPECT_GT(equivalent, 50);  // the rules are exercised, not only the plain differences
}

}  // namespace
}  // namespace kelvarine
