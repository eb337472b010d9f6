#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/compare_run.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {

// One compare set on in-memory files "new/<name>" and "old/<name>", reported to a `Report` step.
template <typename Report = RecordingReport, typename Files = MemoryFileSystem>
struct MemorySet {
  MemorySet() {
    app.NewDirName = "new";
    app.OldDirName = "old";
  }
  // Adds the pair to both file lists; returns the New file, so that a test can change it later.
  std::shared_ptr<MemoryFileSystem::File> addPair(const std::string& name, const std::string& newContent,
                                                  const std::string& oldContent, FileStamp newStamp = 1,
                                                  FileStamp oldStamp = 2) {
    fs.add("old/" + name, oldContent, oldStamp);
    app.NewFileList.push_back(name);
    app.OldFileList.push_back(name);
    return fs.add("new/" + name, newContent, newStamp);
  }
  void check(const std::vector<Pref>& prefs) {
    for (Pref p : prefs)
      app.choices.setChecked(p, true);
  }
  RunStatus runStatus() { return CompareSet(app, host, fs, report); }
  std::string run() { return runStatus().text; }

  Files fs;
  RecordingHost host;
  AppState app;
  Report report;
};

// Lines "<prefix>first".."<prefix>last".
inline std::vector<std::string> numbered(const std::string& prefix, int first, int last) {
  std::vector<std::string> out;
  for (int i = first; i <= last; ++i)
    out.push_back(prefix + std::to_string(i));
  return out;
}

// The parts one after the other.
inline std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& part : parts)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The lines of `text`, separated by '|' (none in an empty text).
inline std::vector<std::string> split(const std::string& text) {
  std::vector<std::string> out(text.empty() ? 0 : 1);
  for (char ch : text)
    ch == '|' ? out.emplace_back() : out.back() += ch;
  return out;
}

// The lines as a file's text, each ended by "\n".
inline std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    out += line + "\n";
  return out;
}

}  // namespace kelvarine
