#include "ui/file_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/std_file_system.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"
#include "support/temp_directory.h"
#include "ui/compare_flows.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {
namespace {

using Names = std::vector<std::string>;

// A memory file system in which some directories cannot be read.
class LockedFileSystem : public MemoryFileSystem {
 public:
  DirectoryEntries listDirectory(const std::string& directory) override {
    if (directory.ends_with("locked")) return {{}, {}, "Permission denied"};
    return MemoryFileSystem::listDirectory(directory);
  }
};

class FileTreeTest : public ::testing::Test {
 public:
  FlowResult startType2(const std::string& excludes = "") {
    app.choices.compareType = kCompareTypes[1];
    app.choices.includeSubdirs = true;
    app.choices.excludeMasks = excludes;
    return MnButStartClick(flow, "new", "old");
  }
  LockedFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  FlowServices flow{app, host, fs, report};
};

// Relative paths pair exactly, then ignoring case, at every depth; files under a directory of one side
// only are unpaired; excluded files and directories are left out with all they hold.
TEST_F(FileTreeTest, TreesPairByRelativePathDirectoryByDirectory) {
  for (const char* name : {"a.txt", "sub/Makefile", "sub/makefile", "sub/deep/c.txt", "sub-x.txt",
                           "only_new/z.txt", ".git/config", "obj/x.o", "main.o"})
    fs.add(std::string("new/") + name, "same\n");
  for (const char* name : {"A.TXT", "sub/Makefile", "sub/makefile", "SUB/deep/C.txt", "sub-x.txt",
                           "only_old/y.txt", ".git/HEAD", "main.o"})
    fs.add(std::string("old/") + name, "same\n");
  EXPECT_EQ(startType2(".git;*.o").outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (Names{"a.txt", "sub/deep/c.txt", "sub/Makefile", "sub/makefile", "sub-x.txt"}));
  EXPECT_EQ(app.OldFileList, (Names{"A.TXT", "SUB/deep/C.txt", "sub/Makefile", "sub/makefile", "sub-x.txt"}));
  EXPECT_EQ(app.NewDirNames.back(), "sub-x.txt");
  EXPECT_EQ(app.UnpairedNewCount, 1);  // only_new/z.txt
  EXPECT_EQ(app.UnpairedOldCount, 1);
  EXPECT_EQ(report.calls.size(), 5u);

  app.choices.includeSubdirs = false;  // off: the top directory only, as before
  app.choices.excludeMasks.clear();
  app.choices.compareType = kCompareTypes[1];
  EXPECT_EQ(MnButStartClick(flow, "new", "old").outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (Names{"a.txt", "main.o", "sub-x.txt"}));
}

TEST_F(FileTreeTest, AnUnreadableDirectoryIsReportedOnceAndTheRestCompared) {
  fs.add("new/a.txt", "1\n");
  fs.add("old/a.txt", "2\n");
  fs.add("new/locked/b.txt", "1\n");
  EXPECT_EQ(startType2().outcome, FlowOutcome::Ran);
  EXPECT_EQ(host.messages, Names{"Directory not compared: new/locked: Permission denied"});
  EXPECT_EQ(app.UnreadableDirCount, 1);
  EXPECT_EQ(app.NewFileList, Names{"a.txt"});
}

TEST_F(FileTreeTest, HaltEndsTheListing) {
  for (int i = 0; i < 1200; ++i)
    fs.add("new/d" + std::to_string(i % 100) + "/f" + std::to_string(i), "x\n");
  fs.add("old/f", "x\n");
  host.onProcessEvents = [&] { app.StopRequested = true; };
  EXPECT_EQ(startType2().outcome, FlowOutcome::Stopped);
  EXPECT_TRUE(report.calls.empty());
  EXPECT_EQ(host.eventsStartingWith("status: Listing files: ").size(), 1u);
}

// On disk: links to directories are not followed (a loop cannot make the walk endless), links to
// files are files, special files and empty directories give nothing.
TEST(FileTreeOnDisk, LinksToDirectoriesAreNotFollowed) {
  TempDirectory dir;
  dir.write("top/a.txt", "a\n");
  dir.write("top/sub/b.txt", "b\n");
  std::filesystem::create_directories(dir.root / "top/empty");
  std::filesystem::create_directory_symlink(dir.root / "top", dir.root / "top/sub/loop");
  std::filesystem::create_symlink(dir.root / "top/a.txt", dir.root / "top/sub/link.txt");
  StdFileSystem files;
  Names found = ListTreeFiles(files, dir.path("top"), "*.*", {true, ""});
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Names{"a.txt", "sub/b.txt", "sub/link.txt"}));
}

TEST(WildcardMaskTest, MatchesAsTheOriginalPlatformDid) {
  using Row = std::tuple<const char*, std::vector<std::string>, std::vector<std::string>>;  // masks, yes, no
  for (const auto& [masks, matching, notMatching] : std::vector<Row>{
           {"*.*", {"readme", "a.b.c", ""}, {}},  // "*.*" takes names without a dot too
           {" *.cpp ; *.h ", {"Main.CPP", "a.h"}, {"main.cpp.bak", "cpp", "a.c"}},  // case, blanks ignored
           {"?.h", {"a.h"}, {"ab.h", ".h"}},
           {"*ab", {"aab"}, {}},  // needs a second try of the "*"
           {"a*b*c", {"abXbYc"}, {"abcab"}},
           {"abc.*", {"abc", "abc.txt"}, {"abcd"}},
           {"*.", {"makefile"}, {"make.txt"}},  // "*." takes the names without an extension
           {" ; ", {"anything"}, {}},           // no pattern at all: every name
           {"*.h;", {}, {"x.c"}},
       }) {
    for (bool want : {true, false})
      for (const std::string& name : want ? matching : notMatching)
        EXPECT_EQ(MatchesMask(name, masks), want) << name << " with " << masks;
  }
}

}  // namespace
}  // namespace kelvarine
