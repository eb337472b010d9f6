// The text reader on arbitrary bytes: the first byte chooses Ieof and the read step, the rest is the
// file. Reads it line by line, then as chunks, and checks what every line and chunk must hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/compare_context.h"
#include "engine/text_reader.h"
#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace {

using kelvarine::InputFile;
using kelvarine::TextInput;

// A file in memory that hands out at most `step` bytes per read, so line ends meet block edges.
struct StepFile : InputFile {
  StepFile(std::string c, std::int64_t s) : content(std::move(c)), step(s) {}
  std::int64_t size() const override { return static_cast<std::int64_t>(content.size()); }
  kelvarine::FileStamp stamp() const override { return 1; }
  std::int64_t read(char* buffer, std::int64_t count) override {
    const std::int64_t n = std::min({count, step, std::max<std::int64_t>(0, size() - pos)});
    content.copy(buffer, static_cast<std::size_t>(n), static_cast<std::size_t>(pos));
    pos += n;
    return n;
  }
  void seek(std::int64_t offset) override { pos = offset; }
  std::string content;
  std::int64_t step, pos = 0;
};

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool ieof = (data[0] & 1) != 0;
  const std::int64_t steps[] = {TextInput::kReadBlock, 1, 2, 3, 7, 4096};
  const std::int64_t step = steps[(data[0] >> 1) % 6];
  const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);

  TextInput input;
  input.Stream = std::make_unique<StepFile>(content, step);
  std::int64_t lastPos = 0;
  int lines = 0;
  while (kelvarine::ReadLine(input, ieof)) {
    require(input.LineLen >= 1 && input.LineLen <= TextInput::kMaxLineLen);
    require(input.FilePos > lastPos && input.FilePos <= static_cast<std::int64_t>(content.size()));
    lastPos = input.FilePos;
    require(++lines <= static_cast<int>(content.size()));
  }
  require(input.AtEof);

  // The same bytes as both files of a pair, loaded chunk by chunk: both sides always agree.
  kelvarine::AppState app;
  app.options.Ieof = ieof;
  kelvarine::RecordingHost host;
  kelvarine::MemoryFileSystem files;
  kelvarine::ReportGenerator report;
  kelvarine::CompareContext context{app, host, files, report};
  context.newInput.Stream = std::make_unique<StepFile>(content, step);
  context.oldInput.Stream = std::make_unique<StepFile>(content, TextInput::kReadBlock);
  for (int chunk = 0; chunk <= lines / kelvarine::LineTable::kMaxLines + 1 && !app.pair.AllRead; ++chunk) {
    kelvarine::LoadChunk(context);
    require(!app.pair.FilesDiffer);
    require(app.pair.NewLines == app.pair.OldLines);
    for (auto [in, table] :
         {std::pair{&context.newInput, &context.newTable}, std::pair{&context.oldInput, &context.oldTable}})
      if (in->Count > 0) in->FilePos = (*table)[in->Count].EndPos;
  }
  require(app.pair.AllRead);
  return 0;
}
