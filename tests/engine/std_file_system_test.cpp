#include "engine/std_file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdlib>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_directory.h"

namespace kelvarine {
namespace {

namespace fs = std::filesystem;

class StdFileSystemTest : public ::testing::Test, protected TempDirectory {
 protected:
  StdFileSystem files;
};

TEST_F(StdFileSystemTest, ReadsSizesAndRepositionsAlsoThroughAMisspelledLink) {
  std::string content(100000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>(i * 31 % 251);
  fs::create_symlink(write("big.bin", content), root / "link.bin");
  auto f = files.openForReading(path("LINK.bin"));  // the name found ignoring case
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->size(), 100000);
  char buf[4096];
  std::string got;
  for (std::int64_t n; (n = f->read(buf, sizeof buf)) > 0;)
    got.append(buf, static_cast<std::size_t>(n));
  EXPECT_EQ(got, content);
  f->seek(99998);
  ASSERT_EQ(f->read(buf, 5), 2);
  EXPECT_EQ(std::string(buf, 2), content.substr(99998));
  f->seek(200000);  // past the end: nothing more
  EXPECT_EQ(f->read(buf, 5), 0);
  // What others append after the open is not read: the file is compared as it was opened.
  std::ofstream(path("big.bin"), std::ios::app) << "appended";
  f->seek(99998);
  EXPECT_EQ(f->read(buf, sizeof buf), 2);
  EXPECT_EQ(f->read(buf, sizeof buf), 0);
}

// Aeqf takes files of equal stamp and size as equal: stamps agree for equal times, differ 1.5 us apart.
TEST_F(StdFileSystemTest, StampsAreEqualForTheSameTimeAndChangeWithIt) {
  const std::string a = write("a.txt", "x"), b = write("b.txt", "y");
  const auto stampOf = [this](const std::string& p) { return files.openForReading(p)->stamp(); };
  const auto t = fs::last_write_time(a);
  fs::last_write_time(b, t);
  EXPECT_EQ(stampOf(a), stampOf(b));
  fs::last_write_time(b, t + std::chrono::nanoseconds(1500));
  EXPECT_NE(stampOf(a), stampOf(b));
}

TEST_F(StdFileSystemTest, OnlyRegularFilesAreOpenedByTheirNameResolvedIgnoringCase) {
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);  // would block if it were opened
  write("Dir/Sub/File.TXT", "deep");
  write("exact.txt", "lower");
  write("EXACT.txt", "upper");
  struct Name {
    const char *given, *resolved, *writeTarget;  // a file written under the name goes to writeTarget
  };
  const Name names[] = {
      {"DIR/SUB/file.txt", "Dir/Sub/File.TXT", "Dir/Sub/File.TXT"},
      {"exact.txt", "exact.txt", "exact.txt"},
      {"Exact.Txt", "EXACT.txt", "EXACT.txt"},           // of two case variants the first in byte order
      {"dir/none.txt", "dir/none.txt", "Dir/none.txt"},  // a new file keeps its name, in the directory found
      {"nowhere/x.txt", "nowhere/x.txt", "nowhere/x.txt"},
  };
  for (const Name& n : names) {
    EXPECT_EQ(ResolvePathIgnoringCase(path(n.given)), path(n.resolved)) << n.given;
    EXPECT_EQ(files.resolveForWriting(path(n.given)), path(n.writeTarget)) << n.given;
  }
  for (const char* name : {"missing.txt", "Dir", "pipe", "dir/sub/file.txt/x", ""})
    EXPECT_EQ(files.openForReading(*name ? path(name) : ""), nullptr) << name;
}

}  // namespace
}  // namespace kelvarine
