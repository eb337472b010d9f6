#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "app/posix_file_system.h"

namespace kelvarine {

// The file system of the command line: NEW and OLD may also be "-" (standard input), a FIFO or a
// process substitution (/dev/fd/N), which can be read only once, or a character device such as
// /dev/null. Such a name is staged before the run: a stream is copied once into a private temporary
// file, a device reads as an empty file, and the name stays the one given (reports and messages show
// it). Every other name, and everything inside compared directories, is as PosixFileSystem has it.
class CommandLineFileSystem : public PosixFileSystem {
 public:
  enum class Staging { Ready, Failed, Interrupted };

  CommandLineFileSystem() = default;
  ~CommandLineFileSystem() override;
  CommandLineFileSystem(const CommandLineFileSystem&) = delete;
  CommandLineFileSystem& operator=(const CommandLineFileSystem&) = delete;

  // Stages `name` when it needs it (a name staged before is kept; any other name is left alone).
  // `halted` is asked while waiting for the stream, which a signal interrupts; on Failed, `why` holds
  // the reason. The copy lives in $TMPDIR (or /tmp) with mode 0600 and is unlinked as soon as it
  // is made, so that it is gone however the program ends; the open copy serves every later read.
  Staging stage(const std::string& name, const std::function<bool()>& halted, std::string* why);
  // Whether `name` was staged (it then names a readable file, whatever the file system says).
  bool isStaged(const std::string& name) const { return staged_.count(name) > 0; }
  // Whether `path` names the regular file that a staged standard input was read from (so that nothing
  // is written over it); a pipe or a FIFO has no such file.
  bool isStagedSource(const std::string& path) const;

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  Kind kind(const std::string& path) override;
  bool nameUsable(const std::string& path, std::string* why) override;

 private:
  struct Copy {
    int fd = -1;  // the unlinked temporary copy; -1 for a device that reads as empty
    FileStamp stamp = 0;
  };
  std::map<std::string, Copy> staged_;
  std::vector<std::pair<dev_t, ino_t>> sources_;  // regular files that standard input came from
  FileStamp lastStamp_ = 0;
};

}  // namespace kelvarine
