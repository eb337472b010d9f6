#include "report/diff_output.h"

namespace kelvarine {

void PlainDiffOutput::line(DiffLineKind /*kind*/, std::string_view text) {
  if (stream_ == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size() || std::fputc('\n', stream_) == EOF)
    failed_ = true;
}

}  // namespace kelvarine
