#include "engine/prepared_file.h"

#include <utility>

namespace kelvarine {

PreparedFile::PreparedFile(std::unique_ptr<InputFile> file, const SplitOptions& options)
    : file_(std::move(file)), lines_(std::make_unique<LineFeed>()) {
  lines_->prepareWhole(file_.get(), options);
  file_->seek(0);  // the run reads it from its start, as a file it opens
}

void TakePreparedLines(TextInput& input) {
  auto* prepared = dynamic_cast<PreparedFile*>(input.Stream.get());
  if (prepared == nullptr || input.Feed.attached()) return;
  if (std::unique_ptr<LineFeed> lines = prepared->takeLines()) input.Feed = std::move(*lines);
}

}  // namespace kelvarine
