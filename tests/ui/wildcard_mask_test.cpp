#include "ui/wildcard_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace kelvarine {
namespace {

TEST(WildcardMaskTest, MatchesAsTheOriginalPlatformDid) {
  struct Case {
    const char* name;
    const char* masks;
    bool matches;
  };
  const std::vector<Case> cases = {
      {"readme", "*.*", true},  // "*.*" takes names without a dot too
      {"a.b.c", "*.*", true},
      {".profile", "*.*", true},
      {"Main.CPP", "*.cpp", true},  // letter case ignored
      {"main.cpp.bak", "*.cpp", false},
      {"cpp", "*.cpp", false},
      {"a.h", "?.h", true},
      {"ab.h", "?.h", false},
      {".h", "?.h", false},
      {"a.h", "*.cpp;*.h", true},
      {"a.c", "*.cpp;*.h", false},
      {"a.c", " *.h ; *.c ", true},  // blanks around a pattern ignored
      {"aab", "*ab", true},          // needs a second try of the "*"
      {"abcab", "a*b*c", false},
      {"abXbYc", "a*b*c", true},
      {"abc", "abc.*", true},
      {"abc.txt", "abc.*", true},
      {"abcd", "abc.*", false},
      {"makefile", "*.", true},  // "*." takes the names without an extension
      {"make.txt", "*.", false},
      {"anything", "", true},  // no pattern at all: every name
      {"anything", " ; ", true},
      {"x.c", "*.h;", false},
      {"", "*", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.masks), c.matches) << c.name << " with " << c.masks;
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
