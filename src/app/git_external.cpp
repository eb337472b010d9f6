#include "app/git_external.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/refusal.h"

namespace kelvarine {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFlag = "--git-external";
constexpr int kErrorExit = 2;
// The options whose value names a file: relative to where git started the program, not to the
// directory the pair is compared in.
constexpr std::string_view kPathOptions[] = {"--save", "--settings", "--old-list"};

// A path in the repository as git names it: relative, without "." or ".." steps.
bool isRepositoryPath(const std::string& path) {
  if (path.empty() || path.front() == '/') return false;
  for (const fs::path& step : fs::path(path))
    if (step == "." || step == "..") return false;
  return true;
}

// The option words with every file name made absolute against `base`.
std::vector<std::string> anchoredOptions(std::vector<std::string> words, const fs::path& base) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    for (std::string_view option : kPathOptions) {
      const std::string joined = std::string(option) + "=";
      std::size_t at = i, from = 0;  // the word that holds the name, and where the name starts in it
      if (words[i] == option)
        at = i + 1;
      else if (words[i].rfind(joined, 0) == 0)
        from = joined.size();
      else
        continue;
      if (at < words.size() && words[at].size() > from && words[at][from] != '/')
        words[at] = words[at].substr(0, from) + (base / words[at].substr(from)).string();
      i = at;
      break;
    }
  }
  return words;
}

// Makes `name` (relative to `directory`) a link to `file`.
bool link(const fs::path& directory, const std::string& name, const std::string& file, std::string* why) {
  if (name == "/dev/null") return true;
  std::error_code error;
  const fs::path at = directory / name;
  fs::create_directories(at.parent_path(), error);
  if (!error) fs::create_symlink(fs::absolute(file, error), at, error);
  return !error || Refuse(why, name + ": " + error.message());
}

// Holds standard error in a temporary file while it lives; release() puts it back and hands over what
// was written, which is dropped otherwise.
class HeldStandardError {
 public:
  HeldStandardError() : held_(std::tmpfile()) {
    std::fflush(stderr);
    if (held_ != nullptr) saved_ = ::dup(STDERR_FILENO);
    if (saved_ >= 0) ::dup2(::fileno(held_), STDERR_FILENO);
  }
  ~HeldStandardError() { release(); }
  HeldStandardError(const HeldStandardError&) = delete;
  HeldStandardError& operator=(const HeldStandardError&) = delete;

  std::string release() {
    std::string text;
    if (saved_ >= 0) {
      std::fflush(stderr);
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
      saved_ = -1;
      std::rewind(held_);
      char block[4096];
      for (std::size_t n; (n = std::fread(block, 1, sizeof block, held_)) > 0;)
        text.append(block, n);
    }
    if (held_ != nullptr) std::fclose(held_);
    held_ = nullptr;
    return text;
  }

 private:
  std::FILE* held_;
  int saved_ = -1;
};

}  // namespace

bool IsGitExternalCall(int argc, const char* const* argv) {
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
    if (argv[i] == kFlag) return true;
  return false;
}

bool ReadGitExternalArguments(const std::vector<std::string>& git, GitExternalPair& pair, std::string* why) {
  if (git.size() != 7 && git.size() != 9)
    return Refuse(why,
                  "--git-external takes the arguments git passes to GIT_EXTERNAL_DIFF: path old-file old-hex "
                  "old-mode new-file new-hex new-mode (got " +
                      std::to_string(git.size()) + ")");
  const std::string& oldPath = git[0];
  const std::string& newPath = git.size() == 9 ? git[7] : git[0];
  for (const std::string* path : {&oldPath, &newPath})
    if (!isRepositoryPath(*path))
      return Refuse(why, "--git-external: \"" + *path + "\" is not a path in a repository");
  pair.oldFile = git[1];
  pair.newFile = git[4];
  pair.oldName = pair.oldFile == "/dev/null" ? "/dev/null" : "a/" + oldPath;
  pair.newName = pair.newFile == "/dev/null" ? "/dev/null" : "b/" + newPath;
  return true;
}

int RunGitExternal(int argc, const char* const* argv, const CommandLineRun& run) {
  std::vector<std::string> options, git;
  bool afterFlag = false;
  for (int i = 1; i < argc; ++i) {
    if (!afterFlag && argv[i] == kFlag)
      afterFlag = true;
    else
      (afterFlag ? git : options).emplace_back(argv[i]);
  }
  if (git.size() == 1) {
    std::printf("* Unmerged path %s\n", git[0].c_str());
    return std::fflush(stdout) == 0 ? 0 : kErrorExit;
  }
  GitExternalPair pair;
  if (std::string why; !ReadGitExternalArguments(git, pair, &why)) {
    std::fprintf(stderr, "kelvarine-cli: %s\nRun with --help for more information.\n", why.c_str());
    return kErrorExit;
  }

  std::error_code error;
  const fs::path started = fs::current_path(error);
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kelvarine-git-XXXXXX";
  if (error || ::mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "kelvarine-cli: --git-external: cannot make a temporary directory: %s\n",
                 std::strerror(errno));
    return kErrorExit;
  }
  const fs::path directory = pattern;
  std::string problem;
  int status = kErrorExit;
  if (!link(directory, pair.oldName, pair.oldFile, &problem) ||
      !link(directory, pair.newName, pair.newFile, &problem)) {
    std::fprintf(stderr, "kelvarine-cli: --git-external: %s\n", problem.c_str());
  } else if (::chdir(directory.c_str()) != 0) {
    std::fprintf(stderr, "kelvarine-cli: --git-external: %s: %s\n", directory.c_str(), std::strerror(errno));
  } else {
    std::vector<std::string> words = anchoredOptions(options, started);
    words.insert(words.begin(), argc > 0 ? argv[0] : "kelvarine-cli");
    words.push_back(pair.newName);
    words.push_back(pair.oldName);
    std::vector<const char*> args;
    for (const std::string& word : words)
      args.push_back(word.c_str());
    args.push_back(nullptr);
    HeldStandardError messages;
    status = run(static_cast<int>(words.size()), args.data());
    const std::string held = messages.release();
    if (status != 0 && status != 1) std::fputs(held.c_str(), stderr);
    [[maybe_unused]] const bool back = ::chdir(started.c_str()) == 0;
  }
  fs::remove_all(directory, error);
  return status == 1 ? 0 : status;
}

}  // namespace kelvarine
