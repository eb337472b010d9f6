#include "ui/save_dialog.h"

#include <filesystem>
#include <system_error>

#include "engine/ascii_case.h"
#include "ui/compare_flows.h"

namespace kelvarine {

SaveDialogStart SaveDialogInitialValues(const std::string& outFn, const std::string& newNameText, bool dual,
                                        FileSystem& files) {
  SaveDialogStart start;
  const std::string outDirectory = DirectoryPart(outFn);
  if (!outFn.empty() &&
      (files.kind(outFn) == FileSystem::Kind::File ||
       (!outDirectory.empty() && files.kind(outDirectory) == FileSystem::Kind::Directory))) {
    start.directory = outDirectory;
    start.fileName = FileNamePart(outFn);
    return start;
  }
  start.directory = DirectoryPart(newNameText);
  start.fileName = dual ? "Brisolan.html" : "Kelvarine.html";
  return start;
}

std::string ForceFilterExtension(const std::string& name, int filterIndex) {
  static constexpr const char* kForced[] = {".html", ".rtf", ".txt", nullptr, ".diff"};
  if (filterIndex < 1 || filterIndex > kUnifiedDiffFilter || kForced[filterIndex - 1] == nullptr) return name;
  const std::string forced = kForced[filterIndex - 1];
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? name.substr(0, dot) : name;
  if (hasExtension && (EqualIgnoringCase(name.substr(dot), forced) ||
                       (filterIndex == kUnifiedDiffFilter && EqualIgnoringCase(name.substr(dot), ".patch"))))
    return name;
  return stem + forced;
}

std::optional<std::string> ConfirmSaveName(const std::string& chosen, int filterIndex, Host& host,
                                           FileSystem& files, std::string& outFn) {
  const std::string forced = ForceFilterExtension(chosen, filterIndex);
  if (forced != chosen &&
      !host.askYesNo("Save File Name extention changed to " + forced + ". Do you want to accept it?"))
    return std::nullopt;
  // A file whose name differs only in letter case is the file that the save replaces.
  const std::string name = files.resolveForWriting(forced);
  if (files.kind(name) != FileSystem::Kind::Missing &&
      !host.askYesNo(name + " already exists. Do you want to " + "replace it?"))
    return std::nullopt;
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(name, error);
  outFn = error ? name : full.lexically_normal().string();
  return name;
}

}  // namespace kelvarine
