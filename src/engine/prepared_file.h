#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "engine/file_system.h"
#include "engine/line_feed.h"
#include "engine/line_splitter.h"
#include "engine/text_input.h"

namespace kelvarine {

// A file held in memory whose lines a helper thread split (and keyed) ahead of the run: reads and
// seeks go to the bytes, and the chunk loader takes the lines instead of making them (TakePreparedLines).
class PreparedFile : public InputFile {
 public:
  // Splits `file`'s whole text with `options` now (on the helper's thread).
  PreparedFile(std::unique_ptr<InputFile> file, const SplitOptions& options);

  std::int64_t size() const override { return file_->size(); }
  FileStamp stamp() const override { return file_->stamp(); }
  std::int64_t read(char* buffer, std::int64_t count) override { return file_->read(buffer, count); }
  void seek(std::int64_t offset) override { file_->seek(offset); }
  std::optional<std::string_view> contents() override { return file_->contents(); }

  // The bytes the lines hold besides the file's own.
  std::size_t linesHeld() const { return lines_ ? lines_->bytesHeld() : 0; }
  // The prepared lines, once.
  std::unique_ptr<LineFeed> takeLines() { return std::move(lines_); }

 private:
  std::unique_ptr<InputFile> file_;
  std::unique_ptr<LineFeed> lines_;
};

// At the start of a chunk: when the input's file is a PreparedFile whose lines were not taken yet, its
// feed becomes the input's, and starting the first chunk at 0 with the same options takes the lines
// without reading them (other options or positions read them as ever).
void TakePreparedLines(TextInput& input);

}  // namespace kelvarine
