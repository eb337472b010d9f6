#include "ui/wildcard_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/memory_file_system.h"

namespace kelvarine {
namespace {

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

TEST(WildcardMaskTest, ListsOnlyMatchingFilesOfTheDirectory) {
  MemoryFileSystem fs;
  for (const char* path : {"d/a.cpp", "d/B.H", "d/notes", "d/sub/c.cpp", "e/d.cpp"})
    fs.add(path, "");
  EXPECT_EQ(ListFilesByMask(fs, "d", "*.cpp;*.h"), (std::vector<std::string>{"B.H", "a.cpp"}));
  EXPECT_EQ(ListFilesByMask(fs, "d/", "*.*"), (std::vector<std::string>{"B.H", "a.cpp", "notes"}));
}

}  // namespace
}  // namespace kelvarine
