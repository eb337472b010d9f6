// Runs CompareSet on generated 1,000,000-line pairs with a report step that discards every chunk, and
// prints throughput and peak resident memory per case. The inputs are generated in one child process
// and every case runs in a fresh one (re-executed), so that a case's peak memory is its own.
//
//   engine_bench [--dir DIR] [--lines N] [--repeat R]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/compare_context.h"
#include "engine/compare_run.h"
#include "engine/quiet_host.h"
#include "engine/report_step.h"
#include "engine/std_file_system.h"

namespace fs = std::filesystem;
using namespace kelvarine;

namespace {

// Shows nothing but its messages, on standard error.
class MessageHost : public QuietHost {
 public:
  void showMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
};

// Counts what the matcher left in each chunk, keeps the line totals the run status is chosen from,
// and discards the rest.
class CountingReport : public ReportStep {
 public:
  void GenerateReport(CompareContext& c) override {
    ++chunks;
    long chunkMatched = 0;
    for (int n = 1; n <= c.newInput.Count; ++n) {
      const LineRecord& r = c.newTable[n];
      chunkMatched += r.Matched ? 1 : 0;
      moved += r.Moved ? 1 : 0;
    }
    if (!c.pair().FilesDiffer) chunkMatched = c.newInput.Count;
    matched += chunkMatched;
    CompareOptions& o = c.options();
    o.TotNewLines += c.newInput.Count;
    o.TotOldLines += c.oldInput.Count;
    o.TotInserts += c.newInput.Count - static_cast<std::int32_t>(chunkMatched);
  }
  long chunks = 0, matched = 0, moved = 0;
};

std::string makeLine(std::mt19937_64& rng, long number) {
  static const char* const kWords[] = {"alpha", "beta",   "gamma",  "delta",  "value", "count",
                                       "index", "buffer", "result", "return", "if",    "else",
                                       "for",   "while",  "size",   "line"};
  char head[32];
  std::snprintf(head, sizeof head, "%07ld: ", number);
  std::string line = head;
  while (line.size() < 52) {
    line += kWords[rng() % 16];
    line += ' ';
  }
  line += std::to_string(rng() % 100000);
  return line;
}

void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(2);
  }
  for (const auto& l : lines) {
    std::fwrite(l.data(), 1, l.size(), f);
    std::fputc('\n', f);
  }
  std::fclose(f);
}

struct Case {
  std::string name;
  std::string newFile, oldFile;
  bool fmvl = false;
};

std::vector<Case> cases() {
  return {{"identical", "old.txt", "old.txt", false},
          {"1% changed", "changed.txt", "old.txt", false},
          {"20 x 500-line blocks moved, Fmvl", "moved.txt", "old.txt", true}};
}

void generate(const fs::path& dir, long lineCount) {
  fs::create_directories(dir);
  std::mt19937_64 rng(20261206);
  std::vector<std::string> base;
  base.reserve(static_cast<std::size_t>(lineCount));
  for (long i = 0; i < lineCount; ++i)
    base.push_back(makeLine(rng, i));
  writeLines(dir / "old.txt", base);

  std::vector<std::string> changed = base;
  for (long k = 0; k < lineCount / 100; ++k) {
    auto at = static_cast<std::size_t>(rng() % static_cast<unsigned long>(lineCount));
    changed[at] = makeLine(rng, -1 - k);
  }
  writeLines(dir / "changed.txt", changed);

  // Twenty 500-line blocks, each cut from its place and put back 1000 to 3000 lines further on, so
  // that most moves stay within one compare chunk (moved lines are searched chunk by chunk).
  std::vector<std::string> moved = base;
  for (int b = 0; b < 20 && moved.size() > 4000; ++b) {
    auto from = static_cast<std::size_t>(rng() % (moved.size() - 3500));
    auto to = from + 1000 + static_cast<std::size_t>(rng() % 2000);
    std::vector<std::string> block(moved.begin() + static_cast<long>(from),
                                   moved.begin() + static_cast<long>(from) + 500);
    moved.erase(moved.begin() + static_cast<long>(from), moved.begin() + static_cast<long>(from) + 500);
    moved.insert(moved.begin() + static_cast<long>(to), block.begin(), block.end());
  }
  writeLines(dir / "moved.txt", moved);
}

// Runs one case in this process; prints its line and returns.
void runCase(const fs::path& dir, const Case& c) {
  AppState app;
  app.NewDirName = dir.string();
  app.OldDirName = dir.string();
  app.NewFileList = {c.newFile};
  app.OldFileList = {c.oldFile};
  app.choices.listType = "Chng";
  app.choices.setChecked(Pref::Fmvl, c.fmvl);
  MessageHost host;
  StdFileSystem files;
  CountingReport report;
  auto start = std::chrono::steady_clock::now();
  std::string status = CompareSet(app, host, files, report).text;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double newMb = static_cast<double>(fs::file_size(dir / c.newFile)) / 1e6;
  double oldMb = static_cast<double>(fs::file_size(dir / c.oldFile)) / 1e6;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-34s %8.3f s %9.1f MB/s %9.1f MB/s %8.1f MB  chunks %5ld  matched %8ld  moved %6ld  %s\n",
              c.name.c_str(), seconds, newMb / seconds, (newMb + oldMb) / seconds,
              static_cast<double>(usage.ru_maxrss) / 1024.0, report.chunks, report.matched, report.moved,
              status.c_str());
  std::fflush(stdout);
}

}  // namespace

int waitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int main(int argc, char** argv) {
  fs::path dir = fs::temp_directory_path() / "kelvarine-bench";
  long lines = 1'000'000;
  int repeat = 3;
  int onlyCase = -1;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string flag = argv[i];
    if (flag == "--dir")
      dir = argv[i + 1];
    else if (flag == "--lines")
      lines = std::atol(argv[i + 1]);
    else if (flag == "--repeat")
      repeat = std::max(1, std::atoi(argv[i + 1]));
    else if (flag == "--case")
      onlyCase = std::atoi(argv[i + 1]);
  }
  if (onlyCase >= 0) {
    runCase(dir, cases().at(static_cast<std::size_t>(onlyCase)));
    return 0;
  }
  std::printf("generating %ld-line pairs in %s\n", lines, dir.c_str());
  std::fflush(stdout);
  pid_t generator = fork();
  if (generator == 0) {
    generate(dir, lines);
    std::_Exit(0);
  }
  if (waitFor(generator) != 0) return 2;
  std::printf("%-34s %10s %14s %14s %11s\n", "case", "time", "New MB/s", "both MB/s", "peak RSS");
  std::fflush(stdout);
  for (std::size_t c = 0; c < cases().size(); ++c) {
    for (int r = 0; r < repeat; ++r) {
      pid_t child = fork();
      if (child == 0) {
        std::string index = std::to_string(c), where = dir.string();
        execl(argv[0], argv[0], "--dir", where.c_str(), "--case", index.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
      }
      waitFor(child);
    }
  }
  return 0;
}
