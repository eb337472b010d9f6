#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/compare_context.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {

// Builds one chunk's New and Old line tables straight from lines, as the reader and the line
// preparation pass would leave them, for tests of the matcher. A line that starts with "#dp" is a
// Dp line.
class ChunkBuilder {
 public:
  // Fills both tables (compare keys prepared with the options' Icas) and sets the pair state as the
  // chunk loader does; `lastChunk` is the pair's AllRead.
  CompareContext& build(const std::vector<std::string>& newLines, const std::vector<std::string>& oldLines,
                        bool lastChunk = true);

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  RecordingReport report;

 private:
  std::unique_ptr<CompareContext> context_;
};

}  // namespace kelvarine
