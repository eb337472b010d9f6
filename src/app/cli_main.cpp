// kelvarine-cli: compares a New and an Old file or directory and writes the report to standard output.

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "app/cli_options.h"
#include "app/terminal_host.h"
#include "engine/app_state.h"
#include "engine/compare_choices.h"
#include "engine/line_list.h"
#include "engine/std_file_system.h"
#include "report/report_generator.h"
#include "ui/compare_flows.h"

namespace {

constexpr int kErrorExit = 2;

// Writes every line, "\n"-terminated. False when the stream reports a write failure.
bool writeLines(std::FILE* stream, const kelvarine::LineList& lines) {
  for (const std::string& line : lines.lines()) {
    if (std::fwrite(line.data(), 1, line.size(), stream) != line.size() || std::fputc('\n', stream) == EOF)
      return false;
  }
  return std::fflush(stream) == 0;
}

bool writeLinesToFile(const std::string& path, const kelvarine::LineList& lines) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = writeLines(file, lines);
  return std::fclose(file) == 0 && written;
}

int run(const kelvarine::CliOptions& options) {
  using namespace kelvarine;
  AppState app;
  app.choices = options.choices;
  app.optionsString = options.optionsString;
  StdFileSystem files;
  const int compareType = options.compareType != 0
                              ? options.compareType
                              : DefaultCompareType(files, options.newName, options.oldName);
  app.choices.compareType = kCompareTypes[static_cast<std::size_t>(compareType - 1)];

  TerminalHost::Settings settings;
  settings.showProgress = !options.noProgress && isatty(fileno(stderr)) != 0;
  settings.answerYes = options.answerYes;
  TerminalHost host(app, stderr, settings);
  TerminalHost::InstallInterruptHandler();
  ReportGenerator report;
  FlowServices flow{app, host, files, report};

  const FlowResult result = MnButStartClick(flow, options.newName, options.oldName);
  if (result.outcome == FlowOutcome::NotAvailable)
    host.writeLine("kelvarine-cli: compare type " + std::to_string(compareType) + " is not yet supported");
  if (result.outcome != FlowOutcome::Ran) return host.haltRequested() ? 130 : kErrorExit;

  bool failed = false;
  if (!options.quiet && !writeLines(stdout, app.reportLines)) {
    host.writeLine("kelvarine-cli: cannot write the report to standard output");
    failed = true;
  }
  if (!options.oldListFile.empty() && !writeLinesToFile(options.oldListFile, app.oldSideLines)) {
    host.writeLine("kelvarine-cli: cannot write the Old-side list to \"" + options.oldListFile + "\"");
    failed = true;
  }
  host.writeLine(result.status);
  const int status = ExitStatusForRun(result.status, host.haltRequested());
  return failed && status != 130 ? kErrorExit : status;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOFBF, std::size_t{1} << 16);  // the report goes out in large writes
  std::setlocale(LC_ALL, "");
  const kelvarine::CliParse parsed = kelvarine::ParseCommandLine(argc, argv);
  std::fputs(parsed.out.c_str(), stdout);
  std::fputs(parsed.err.c_str(), stderr);
  if (!parsed.run) return parsed.exitCode;
  return run(parsed.options);
}
