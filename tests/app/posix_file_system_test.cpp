#include "app/posix_file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_directory.h"

namespace kelvarine {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test, protected TempDirectory {
 protected:
  PosixFileSystem files;
  StdFileSystem portable;
};

TEST_F(PosixFileSystemTest, ReadsAsThePortableFileSystemDoes) {
  std::string content(70000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>(i * 31 % 251);
  write("Dir/Data.bin", content);
  fs::last_write_time(path("Dir/Data.bin"),
                      fs::last_write_time(path("Dir/Data.bin")) + std::chrono::nanoseconds(1234));
  auto f = files.openForReading(path("dir/DATA.BIN"));  // resolved ignoring case
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->size(), 70000);
  EXPECT_EQ(f->stamp(), portable.openForReading(path("Dir/Data.bin"))->stamp());
  char buf[4096];
  std::string got;
  for (std::int64_t n; (n = f->read(buf, sizeof buf)) > 0;)
    got.append(buf, static_cast<std::size_t>(n));
  EXPECT_EQ(got, content);
  f->seek(69998);
  ASSERT_EQ(f->read(buf, 5), 2);
  EXPECT_EQ(std::string(buf, 2), content.substr(69998));
  // What others append after the open is not read.
  std::ofstream(path("Dir/Data.bin"), std::ios::app) << "appended";
  f->seek(69999);
  EXPECT_EQ(f->read(buf, sizeof buf), 1);
  EXPECT_EQ(f->read(buf, sizeof buf), 0);
}

}  // namespace
}  // namespace kelvarine
