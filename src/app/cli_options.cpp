#include "app/cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>
#include "app/refusal.h"

#include "engine/ascii_case.h"
#include "kelvarine_version.h"

namespace kelvarine {

namespace {

constexpr int kUsageError = 2;  // bad usage, like every ERROR status

std::vector<std::string> splitBlanks(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

// The words --options takes, as one line.
std::string validOptionNames() {
  std::string names;
  for (int i = 1; i < kDpOptionCount; ++i)
    names += std::string(kDpOptionNames[static_cast<std::size_t>(i)]) + " ";
  for (const char* keyword : kPrefKeywords)
    names += std::string(keyword) + " ";
  return names + "None";
}

// Checks the --options words (Dp option names and preference keywords, any letter case, or "None"
// alone) and applies them as a stored options string is applied; the options string is then rebuilt
// from the choices, which also unchecks what Abin overrides.
bool applyOptionWords(const std::string& text, CliOptions& options, std::string* why) {
  const std::vector<std::string> words = splitBlanks(text);
  if (words.empty()) return Refuse(why, "--options: no option names given (use \"None\" for none)");
  if (words.size() == 1 && EqualIgnoringCase(words[0], "None")) {
    ApplyOptionsString(options.choices, "None");
    options.optionsString = RebuildOptionsString(options.choices);
    return true;
  }
  int dpNames = 0;
  std::string joined;
  for (const std::string& word : words) {
    if (EqualIgnoringCase(word, "None")) return Refuse(why, "--options: \"None\" stands alone");
    bool known = false;
    for (int i = 1; i < kDpOptionCount && !known; ++i) {
      if (EqualIgnoringCase(word, kDpOptionNames[static_cast<std::size_t>(i)])) {
        known = true;
        ++dpNames;
      }
    }
    for (const char* keyword : kPrefKeywords)
      known = known || EqualIgnoringCase(word, keyword);
    if (!known)
      return Refuse(why,
                    "--options: unknown option name \"" + word + "\"; valid names: " + validOptionNames());
    joined += (joined.empty() ? "" : " ") + word;
  }
  if (dpNames > 1) return Refuse(why, "--options: at most one Dp option can be chosen");
  ApplyOptionsString(options.choices, joined);
  options.optionsString = RebuildOptionsString(options.choices);
  return true;
}

// Splits "S:E" or "S:E,S:E" into the two range texts of one side; the column numbers themselves are
// checked by the compare run when Ccol is chosen.
bool splitRanges(const std::string& flag, const std::string& text, std::string& first, std::string& second,
                 std::string* why) {
  const std::size_t comma = text.find(',');
  first = text.substr(0, comma);
  second = comma == std::string::npos ? std::string() : text.substr(comma + 1);
  const bool formOk = first.find(':') != std::string::npos &&
                      (comma == std::string::npos ||
                       (second.find(':') != std::string::npos && second.find(',') == std::string::npos));
  if (!formOk) return Refuse(why, flag + ": expected \"S:E\" or \"S:E,S:E\", got \"" + text + "\"");
  return true;
}

// What --help prints after the option list: the option words, the settings keys, output and exit status.
constexpr const char* kHelpFooter = R"(Preference keywords (-o):
  Icas  ignore letter case when comparing lines
  Rovr  count reformatted lines (differing only in blanks) as matched
  Fmvl  flag moved lines: inserted (IM) and deleted (DM) lines that match elsewhere
  Xdpl  leave Dp and comment lines (and comment parts) out of the listing
  Lorl  list the Old reformatted line next to the New one
  Noss  no per-file summary, only the final totals
  Ieof  a Ctrl-Z byte does not end a text file
  Subc  replace control characters in the report by --subc CHAR (else ".")
  Sbsl  side by side: separate insert and delete lists (--old-list writes the Old one)
  Txal  treat every file as text, never as binary
  Abin  compare every file byte by byte, as binary (overrides Txal and Txfo)
  Aeqf  files of equal size and modification time count as equal without reading
  Fscl  show up to 128 source columns, without reference number columns
  Chgo  list only changed files in the overall summary
  Inpn  list the files without a partner in a directory compare's summary
  Txfo  compare text files only, leaving out files found to be binary
  Ccol  compare only the columns --ccol-new and --ccol-old give
  Xtab  expand tabs to --xtab N columns
Dp options (-o, at most one; the lines they filter out are not compared):
  Dsem  lines starting with ";" (ini files)      Dvbc  VB comments (' to end of line)
  Drem  lines starting with REM (batch files)    Dhtm  HTML comments <!-- ... -->
  Dblk  blank lines                              Dcob  COBOL comment lines (* in column 7)
  Ddlc  Pascal comments { } and (* *)            Dudc  comments starting with --dudc-tag TEXT
  Ddl2  Delphi comments { }, (* *) and //              (--dudc-embedded Yes: also after code)
  Dcpp  C, C++, Java, JavaScript comments // and /* */
--settings reads the section [Kelvarn] of a settings file as the desktop program writes it:
  NewDirNm, OldDirNm (NEW, OLD), CompareType, ListType, OptsUsed, SubC, XTab, DpEdUdc, UdcYN,
  CmpSt1Col, CmpSt2Col, CmpOSt1Col, CmpOSt2Col, SvLList (type 3), SvULList (type 4), SubDirs,
  ExclMask. CompareType is the stored text or a number 1..4, ListType Chng, Delta, Long or Ovsum
  in any letter case (any other value is an error); SvLList and SvULList entries end in ";", the
  last one may go without.

Standard output carries the report, one line each, the status line last; standard error carries
messages, the progress display (on a terminal) and the status line (once, when both are one terminal).
With -u standard output carries the unified diff only (patch applied to OLD gives NEW); lines that the
chosen options make equal are context, and line-end or TAB differences count as differences.
Equivalent means every line compares equal: line ends (CR LF, CR, LF; a missing one at the end),
blanks and TABs at the end of a line, a TAB against a blank, and what the chosen options filter out
or fold are ignored; lines over 2,048 characters are split (a warning says so); text ends at a
Ctrl-Z byte (unless Ieof), and bytes after it that differ make the files differ; use -o Abin for a
byte-by-byte compare. A differing binary pair's summary says where, as cmp does (byte and line).
Exit status: 0 equivalent, or nothing to compare (two directories without regular files);
  1 differences, a file on one side only of a directory compare, or no like-named pair;
  2 errors and bad usage; 130 interrupted (Ctrl-C halts the run, a second Ctrl-C ends the program).)";

CliParse usageError(const std::string& message) {
  CliParse result;
  result.exitCode = kUsageError;
  result.err = "kelvarine-cli: " + message + "\nRun with --help for more information.\n";
  return result;
}

}  // namespace

CliParse ParseCommandLine(int argc, const char* const* argv) {
  // "--color" alone means always, as in diff, and "--unified=N" carries its value in the word: a value
  // is only ever given after "=", so that "--color NEW OLD" and "-u NEW OLD" keep their names. N is
  // taken here and the word becomes the flag "--unified" for the parser.
  std::vector<std::string> words(argv, argv + argc);
  int unifiedContext = 3;
  for (std::size_t i = 1; i < words.size() && words[i] != "--"; ++i) {
    if (words[i] == "--color") words[i] = "--color=always";
    if (words[i].rfind("--unified=", 0) != 0) continue;
    const std::string value = words[i].substr(10);
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos)
      return usageError("--unified: expected a number of context lines, got \"" + value + "\"");
    unifiedContext = std::stoi(value);
    words[i] = "--unified";
  }
  std::vector<const char*> args;
  for (const std::string& word : words)
    args.push_back(word.c_str());

  CliOptions options;
  CompareChoices& choices = options.choices;
  std::string listing = choices.listType;
  std::string optionsText;
  std::string subc = ".";
  int xtab = 4;
  std::string ccolNew = "1:eol", ccolOld = "1:eol";
  std::string mask = "*.*";
  std::string colour = "auto";
  std::vector<std::string> selected, pairs, excludes;
  bool selectAll = false;

  CLI::App cli{
      "Compares a New and an Old file, or the like-named files of a New and an Old directory,\n"
      "and writes the report to standard output.",
      "kelvarine-cli"};
  cli.get_formatter()->column_width(30);
  cli.set_version_flag("-V,--version", std::string("kelvarine-cli ") + KELVARINE_VERSION);
  cli.add_option("NEW", options.newName,
                 "the New file or directory (a name whose spelling does not exist is\nfound ignoring case); "
                 "\"-\" reads standard input, a pipe or <(command) is\nread once, a device such as "
                 "/dev/null reads as empty")
      ->type_name("");
  cli.add_option("OLD", options.oldName,
                 "the Old file or directory, as NEW; with no -t, a directory and a file\ncompare the file "
                 "with the directory's like-named file")
      ->type_name("");
  cli.add_option("-l,--listing", listing, "Chng | Delta | Long | Ovsum (default Chng)")
      ->option_text("TYPE")
      ->transform(CLI::IsMember({"Chng", "Delta", "Long", "Ovsum"}, CLI::ignore_case));
  cli.add_option("-t,--compare-type", options.compareType,
                 "1 two files, 2 all like-named files of two directories,\n3 selected like-named files, "
                 "4 free pairs of two directories\n(default: 1 when NEW or OLD is a file, 2 otherwise)")
      ->option_text("N")
      ->check(CLI::Range(1, 4));
  cli.add_option("-o,--options", optionsText,
                 "options string: a Dp option name and/or preference keywords,\nblank-separated, any "
                 "letter case, e.g. \"Dcpp Icas Fmvl\";\n\"None\" for none (default None); see the "
                 "lists below")
      ->option_text("TEXT");
  cli.add_option("--subc", subc, "Subc replacement character (default \".\")")->option_text("CHAR");
  cli.add_option("--xtab", xtab, "Xtab width 1..8 (default 4)")->option_text("N")->check(CLI::Range(1, 8));
  cli.add_option("--ccol-new", ccolNew,
                 "New compare columns \"S:E\" or \"S:E,S:E\", E a number or \"eol\"\n(default \"1:eol\"); "
                 "used when Ccol is among the options")
      ->option_text("RANGES");
  cli.add_option("--ccol-old", ccolOld, "Old compare columns, same form (default \"1:eol\")")
      ->option_text("RANGES");
  cli.add_option("--dudc-tag", choices.dudcTag, "Dudc comment tag (default \"#\")")->option_text("TEXT");
  cli.add_option("--dudc-embedded", choices.dudcYesNo, "Dudc embedded use, Yes or No (default \"No\")")
      ->option_text("Yes|No")
      ->transform(CLI::IsMember({"Yes", "No"}, CLI::ignore_case));
  CLI::Option* maskOption =
      cli.add_option("--mask", mask, "file mask for compare types 3 and 4 (default \"*.*\")")
          ->option_text("MASKS");
  CLI::Option* selectOption =
      cli.add_option("--select", selected, "type 3: a like-named file to compare, repeatable")
          ->option_text("NAME")
          ->allow_extra_args(false);
  CLI::Option* selectAllOption =
      cli.add_flag("--select-all", selectAll, "type 3: every like-named file the mask lets through");
  CLI::Option* pairOption =
      cli.add_option("--pair", pairs, "type 4: a New file and an Old file to compare, repeatable")
          ->option_text("NEW:OLD")
          ->allow_extra_args(false);
  cli.add_flag("-r,--recursive", choices.includeSubdirs,
               "compare types 2, 3 and 4: every file under the two directories,\nnamed by its relative path");
  cli.add_option("-x,--exclude", excludes,
                 "leave out files and directories whose name matches MASK\n(wildcards as --mask), repeatable")
      ->option_text("MASK")
      ->allow_extra_args(false);
  cli.add_option("--settings", options.settingsFile,
                 "take choices (and NEW/OLD when not given) from a settings file;\nflags override")
      ->option_text("FILE");
  cli.add_option("--save", options.saveFile,
                 "also save the report: .html/.htm HTML, .rtf RTF, else text, as the\nsingle-panel viewer "
                 "saves it (with Sbsl: as the dual-panel viewer, stacked)")
      ->option_text("FILE");
  cli.add_option("--old-list", options.oldListFile,
                 "with Sbsl: write the Old-side line list to FILE, one line each\n(without Sbsl a usage "
                 "error; FILE is never opened)")
      ->option_text("FILE");
  cli.add_option(
         "--color", colour,
         "[=WHEN] auto | always | never: colour the report by change code\n(default auto: when standard "
         "output is a terminal, TERM is not dumb\nand NO_COLOR is unset or empty); --color alone is always")
      ->type_name("");
  bool unified = false;
  cli.add_flag("-u,--unified", unified,
               "write a unified diff from OLD to NEW instead of the report,\nwith N lines of context "
               "(--unified=N; default 3)");
  cli.add_flag("-N,--new-file", options.newFile,
               "with -u: a file on one side only is diffed against an empty file\n(--- /dev/null or "
               "+++ /dev/null), so that patch -E adds and removes it");
  // Taken before the options are read (git_external.h); here for --help, and refused when it gets here.
  bool gitExternal = false;
  cli.add_flag("--git-external", gitExternal,
               "last, followed by the 7 arguments git passes to GIT_EXTERNAL_DIFF:\nreport the pair "
               "git names, as a/PATH and b/PATH (exit status 0\nwhether they differ or not)");
  cli.add_flag("-q,--quiet", options.quiet,
               "nothing on standard output or standard error but the errors of\nexit status 2; the exit "
               "status says the rest");
  cli.add_option("-j,--jobs", options.jobs,
                 "use up to N threads: helpers read files and lines ahead (default:\nthe number of cores); "
                 "the output is the same for every N")
      ->option_text("N")
      ->check(CLI::Range(1, 256));
  cli.add_flag("--no-progress", options.noProgress, "no progress display on standard error");
  cli.add_flag("--yes", options.answerYes, "answer Yes to the questions the program asks (default: No)");
  cli.footer(kHelpFooter);
  // The option library's own messages carry the program's name, as every other usage error does.
  cli.failure_message([](const CLI::App*, const CLI::Error& e) {
    return "kelvarine-cli: " + std::string(e.what()) + "\nRun with --help for more information.\n";
  });

  try {
    cli.parse(static_cast<int>(args.size()), args.data());
  } catch (const CLI::ParseError& e) {
    std::ostringstream out, err;
    CliParse result;
    result.exitCode = cli.exit(e, out, err) == 0 ? 0 : kUsageError;
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  if (gitExternal) return usageError("--git-external: the arguments git passes must follow it");
  // A compare type not given may still come from --settings.
  const int type = options.compareType;
  if ((selectOption->count() > 0 || selectAllOption->count() > 0) && type != 0 && type != 3)
    return usageError("--select and --select-all need compare type 3");
  if (pairOption->count() > 0 && type != 0 && type != 4) return usageError("--pair needs compare type 4");
  if (maskOption->count() > 0 && type != 0 && type != 3 && type != 4)
    return usageError("--mask needs compare type 3 or 4");
  if (maskOption->count() > 0) options.mask = mask;
  options.selected = selected;
  options.selectAll = selectAll;
  for (const std::string& pair : pairs) {
    const std::size_t colon = pair.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == pair.size())
      return usageError("--pair: expected NEW:OLD, got \"" + pair + "\"");
    options.pairs.emplace_back(pair.substr(0, colon), pair.substr(colon + 1));
  }
  if (unified) {
    if (!options.saveFile.empty())
      return usageError("-u writes a diff, not a report: --save cannot go with it");
    if (!options.oldListFile.empty())
      return usageError("-u writes a diff, not a report: --old-list cannot go with it");
    options.unified = unifiedContext;
  } else if (options.newFile) {
    return usageError("-N (--new-file) goes with -u: it makes a diff of a file on one side only");
  }
  if (options.settingsFile.empty() && (options.newName.empty() || options.oldName.empty()))
    return usageError("NEW and OLD are both needed");
  if (options.newName == "-" && options.oldName == "-")
    return usageError("standard input (-) can be NEW or OLD, not both");
  if (const std::optional<ColourWhen> when = ParseColourWhen(colour)) {
    options.colour = *when;
  } else {
    return usageError("--color: invalid value \"" + colour + "\"; valid values: auto, always, never");
  }
  for (const std::string& mask : excludes)
    choices.excludeMasks += (choices.excludeMasks.empty() ? "" : ";") + mask;
  GivenChoices& given = options.given;
  given.listing = cli.count("--listing") > 0;
  given.options = cli.count("--options") > 0;
  given.subc = cli.count("--subc") > 0;
  given.xtab = cli.count("--xtab") > 0;
  given.ccolNew = cli.count("--ccol-new") > 0;
  given.ccolOld = cli.count("--ccol-old") > 0;
  given.dudcTag = cli.count("--dudc-tag") > 0;
  given.dudcEmbedded = cli.count("--dudc-embedded") > 0;
  given.trees = cli.count("--recursive") > 0 || cli.count("--exclude") > 0;

  choices.listType = listing;
  choices.subcText = NormaliseSubcText(subc);
  choices.xtabText = std::to_string(xtab);
  std::string why;
  if (!splitRanges("--ccol-new", ccolNew, choices.ccolNew1, choices.ccolNew2, &why) ||
      !splitRanges("--ccol-old", ccolOld, choices.ccolOld1, choices.ccolOld2, &why))
    return usageError(why);
  if (cli.count("--options") > 0) {
    if (!applyOptionWords(optionsText, options, &why)) return usageError(why);
  } else {
    options.optionsString = RebuildOptionsString(choices);
  }
  // NEW and OLD are used exactly as given: lower-casing them could pick another file where a directory
  // holds names that differ only in case (the file system layer still finds a name ignoring case).

  CliParse result;
  result.run = true;
  result.options = std::move(options);
  return result;
}

void ApplyGivenChoices(const CliOptions& options, CompareChoices& choices, std::string& optionsString) {
  const CompareChoices& given = options.choices;
  if (options.given.listing) choices.listType = given.listType;
  if (options.given.options) {
    choices.dpIndex = given.dpIndex;
    choices.checked = given.checked;
    optionsString = options.optionsString;
  }
  if (options.given.subc) choices.subcText = given.subcText;
  if (options.given.xtab) choices.xtabText = given.xtabText;
  if (options.given.ccolNew) {
    choices.ccolNew1 = given.ccolNew1;
    choices.ccolNew2 = given.ccolNew2;
  }
  if (options.given.ccolOld) {
    choices.ccolOld1 = given.ccolOld1;
    choices.ccolOld2 = given.ccolOld2;
  }
  if (options.given.dudcTag) choices.dudcTag = given.dudcTag;
  if (options.given.dudcEmbedded) choices.dudcYesNo = given.dudcYesNo;
  if (options.given.trees) {
    choices.includeSubdirs = choices.includeSubdirs || given.includeSubdirs;
    if (!given.excludeMasks.empty()) choices.excludeMasks = given.excludeMasks;
  }
}

int DefaultCompareType(FileSystem& files, const std::string& newName, const std::string& oldName) {
  const bool anyFile =
      files.kind(newName) == FileSystem::Kind::File || files.kind(oldName) == FileSystem::Kind::File;
  return anyFile ? 1 : 2;
}

bool PairDirectoryWithFile(FileSystem& files, std::string& newName, std::string& oldName, std::string* why) {
  using Kind = FileSystem::Kind;
  const Kind newKind = files.kind(newName), oldKind = files.kind(oldName);
  const bool newIsDirectory = newKind == Kind::Directory && oldKind == Kind::File;
  if (!newIsDirectory && !(oldKind == Kind::Directory && newKind == Kind::File)) return true;
  std::string& directory = newIsDirectory ? newName : oldName;
  const std::string& file = newIsDirectory ? oldName : newName;
  if (file == "-") return Refuse(why, "cannot compare standard input (-) with a directory");
  const std::size_t slash = file.rfind('/');
  directory = joinPath(directory, slash == std::string::npos ? file : file.substr(slash + 1));
  return true;
}

bool ApplySettingsTypes(const std::vector<std::string>& lines, CompareChoices& choices, std::string* why) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    if (EqualIgnoringCase(key, "CompareType")) {
      const std::size_t number = value.size() == 1 && value[0] >= '1' && value[0] <= '4' ? value[0] - '0' : 0;
      const auto item = std::find(kCompareTypes.begin(), kCompareTypes.end(), value);
      if (number > 0) {
        choices.compareType = kCompareTypes[number - 1];
      } else if (item != kCompareTypes.end() || value.empty()) {
        choices.compareType = value;
      } else {
        const std::string example = kCompareTypes[1];
        return Refuse(why, "--settings: CompareType \"" + value +
                               "\" is not a compare type (1 to 4, or as stored: \"" + example + "\")");
      }
    } else if (EqualIgnoringCase(key, "ListType")) {
      const auto type = std::find_if(kListTypes.begin(), kListTypes.end(),
                                     [&](const char* word) { return EqualIgnoringCase(value, word); });
      if (type == kListTypes.end())
        return Refuse(
            why, "--settings: ListType \"" + value + "\" is not a listing type (Chng, Delta, Long or Ovsum)");
      choices.listType = *type;
    }
  }
  return true;
}

}  // namespace kelvarine
