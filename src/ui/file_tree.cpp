#include "ui/file_tree.h"

#include <utility>

#include "ui/wildcard_mask.h"

namespace kelvarine {

namespace {

constexpr std::size_t kProgressEvery = 500;  // files found between two progress texts
constexpr std::size_t kHaltCheckEvery = 64;  // directories listed between two looks at a halt request

bool hasPattern(std::string_view masks) {
  return masks.find_first_not_of("; \t") != std::string_view::npos;
}

}  // namespace

TreeListing ListFileTree(FileSystem& files, const std::string& directory, std::string_view fileMask,
                         const TreeChoice& choice, Host* host, AppState* app) {
  TreeListing listing;
  const bool excluding = hasPattern(choice.excludeMasks);
  const auto kept = [&](const std::string& name) {
    return !excluding || !MatchesMask(name, choice.excludeMasks);
  };
  // Directories still to list, as paths relative to `directory` ("" is the top).
  std::vector<std::string> pending{""};
  std::size_t nextProgress = kProgressEvery, listed = 0;
  while (!pending.empty()) {
    const std::string relative = std::move(pending.back());
    pending.pop_back();
    DirectoryEntries entries;
    std::string why;
    if (!files.listDirectory(relative.empty() ? directory : joinPath(directory, relative), entries, &why) &&
        !relative.empty()) {
      const std::string problem = joinPath(directory, relative) + ": " + why;
      if (host != nullptr) host->showMessage("Directory not compared: " + problem);
      listing.unreadable.push_back(problem);
    }
    const std::string prefix = relative.empty() ? relative : relative + "/";
    for (const auto& [name, reason] : entries.unusable) {
      if (!kept(name) || !MatchesMask(name, fileMask)) continue;
      const std::string problem = joinPath(directory, prefix + name) + ": " + reason;
      if (host != nullptr) host->showMessage("File not compared: " + problem);
      listing.unreadable.push_back(problem);
    }
    for (std::string& name : entries.files)
      if (kept(name) && MatchesMask(name, fileMask)) listing.files.push_back(prefix + name);
    if (!choice.recursive) break;
    for (std::string& name : entries.directories)
      if (kept(name)) pending.push_back(prefix + name);
    const bool progress = listing.files.size() >= nextProgress;
    if (host != nullptr && (progress || ++listed % kHaltCheckEvery == 0)) {
      if (progress) nextProgress = listing.files.size() + kProgressEvery;
      host->setStatusText("Listing files: " + std::to_string(listing.files.size()) + " found in " +
                          directory);
      host->toggleActivityImages();
      host->processEvents();
      if (app != nullptr && app->StopRequested) {
        listing.halted = true;
        break;
      }
    }
  }
  return listing;
}

std::vector<std::string> ListTreeFiles(FileSystem& files, const std::string& directory,
                                       std::string_view fileMask, const TreeChoice& choice) {
  return ListFileTree(files, directory, fileMask, choice).files;
}

}  // namespace kelvarine
