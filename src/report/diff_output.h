#pragma once

#include <cstdio>
#include <string_view>

namespace kelvarine {

// What a line of a unified diff is, so that an output can colour it.
enum class DiffLineKind {
  PairHeader,     // "diff -u OLD NEW" before a pair of a directory compare
  OldFileHeader,  // "--- OLD\tTIME"
  NewFileHeader,  // "+++ NEW\tTIME"
  HunkHeader,     // "@@ -a,b +c,d @@"
  Context,        // " " and the Old line
  Deletion,       // "-" and the Old line
  Insertion,      // "+" and the New line
  NoNewline,      // "\ No newline at end of file"
  Message         // "Only in DIR: NAME", "Binary files OLD and NEW differ"
};

// Where a unified diff goes, line by line.
class DiffOutput {
 public:
  virtual ~DiffOutput() = default;
  // One line without its terminating "\n" (the output adds it). Content lines hold the file's raw
  // bytes behind their one-character prefix: any byte but LF, CR included.
  virtual void line(DiffLineKind kind, std::string_view text) = 0;
};

// Writes the lines as they are to a stream (none when the stream is null); remembers a failed write.
class PlainDiffOutput : public DiffOutput {
 public:
  explicit PlainDiffOutput(std::FILE* stream) : stream_(stream) {}
  void line(DiffLineKind kind, std::string_view text) override;
  bool failed() const { return failed_; }

 private:
  std::FILE* stream_;
  bool failed_ = false;
};

}  // namespace kelvarine
