#include "engine/std_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed with the fixture.
class StdFileSystemTest : public ::testing::Test {
 protected:
  StdFileSystemTest() {
    std::random_device rd;
    root = fs::temp_directory_path() / ("kelvarine-fs-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(root);
  }
  ~StdFileSystemTest() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string write(const std::string& relative, const std::string& content) {
    fs::path p = root / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  std::string readAll(InputFile& f) {
    std::string out;
    char buf[7];
    for (std::int64_t n; (n = f.read(buf, sizeof buf)) > 0;)
      out.append(buf, static_cast<std::size_t>(n));
    return out;
  }
  std::string path(const std::string& relative) const { return (root / relative).string(); }

  fs::path root;
  StdFileSystem files;
};

TEST_F(StdFileSystemTest, ReadsSizesAndRepositions) {
  const std::string content = "hello\r\nworld";
  std::string p = write("a.txt", content);
  auto f = files.openForReading(p);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->size(), 12);
  EXPECT_EQ(readAll(*f), content);
  EXPECT_EQ(f->read(nullptr, 0), 0);
  f->seek(7);
  char buf[32768];
  EXPECT_EQ(f->read(buf, sizeof buf), 5);
  f->seek(100);  // past the end: nothing more
  EXPECT_EQ(f->read(buf, sizeof buf), 0);
  f->seek(0);
  EXPECT_EQ(f->read(buf, 5), 5);
  EXPECT_EQ(std::string(buf, 5), "hello");
}

TEST_F(StdFileSystemTest, LargeReadsReturnEverything) {
  std::string content(100000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>(i * 31 % 251);
  auto f = files.openForReading(write("big.bin", content));
  ASSERT_NE(f, nullptr);
  std::string got;
  std::vector<char> buf(32768);
  for (std::int64_t n; (n = f->read(buf.data(), 32768)) > 0;)
    got.append(buf.data(), static_cast<std::size_t>(n));
  EXPECT_EQ(got, content);
}

TEST_F(StdFileSystemTest, StampsAreEqualForTheSameTimeAndChangeWithIt) {
  std::string a = write("a.txt", "x");
  std::string b = write("b.txt", "y");
  const auto t = fs::last_write_time(a);
  fs::last_write_time(b, t);
  EXPECT_EQ(files.openForReading(a)->stamp(), files.openForReading(b)->stamp());
  fs::last_write_time(b, t + std::chrono::seconds(2));
  EXPECT_NE(files.openForReading(a)->stamp(), files.openForReading(b)->stamp());
  fs::last_write_time(b, t + std::chrono::nanoseconds(1500));
  EXPECT_NE(files.openForReading(a)->stamp(), files.openForReading(b)->stamp());
}

TEST_F(StdFileSystemTest, OnlyRegularFilesAreOpened) {
  write("dir/inner.txt", "x");
  std::string real = write("real.txt", "linked");
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
  fs::create_symlink(real, root / "link.txt");
  fs::create_directory_symlink(root / "dir", root / "dirlink");
  fs::create_symlink(root / "nowhere", root / "dangling");

  EXPECT_EQ(files.openForReading(path("missing.txt")), nullptr);
  EXPECT_EQ(files.openForReading(path("dir")), nullptr);
  EXPECT_EQ(files.openForReading(path("pipe")), nullptr);  // would block if it were opened
  EXPECT_EQ(files.openForReading(path("dirlink")), nullptr);
  EXPECT_EQ(files.openForReading(path("dangling")), nullptr);
  EXPECT_EQ(files.openForReading(""), nullptr);
  auto linked = files.openForReading(path("link.txt"));
  ASSERT_NE(linked, nullptr);
  EXPECT_EQ(readAll(*linked), "linked");
}

TEST_F(StdFileSystemTest, NamesAreResolvedIgnoringCase) {
  write("Dir/Sub/File.TXT", "deep");
  write("exact.txt", "lower");
  write("EXACT.txt", "upper");
  write("twin/b.TXT", "second");
  write("twin/B.txt", "first");  // "B" sorts before "b"

  EXPECT_EQ(ResolvePathIgnoringCase(path("dir/sub/file.txt")), path("Dir/Sub/File.TXT"));
  EXPECT_EQ(readAll(*files.openForReading(path("DIR/SUB/file.txt"))), "deep");
  EXPECT_EQ(readAll(*files.openForReading(path("exact.txt"))), "lower");
  EXPECT_EQ(readAll(*files.openForReading(path("EXACT.txt"))), "upper");
  EXPECT_EQ(readAll(*files.openForReading(path("Exact.Txt"))), "upper");  // "EXACT.txt" < "exact.txt"
  EXPECT_EQ(readAll(*files.openForReading(path("TWIN/b.txt"))), "first");
  EXPECT_EQ(ResolvePathIgnoringCase(path("dir/none.txt")), path("dir/none.txt"));
  EXPECT_EQ(files.openForReading(path("dir/sub/file.txt/x")), nullptr);
}

TEST_F(StdFileSystemTest, RelativeNamesStayRelative) {
  write("Rel/Name.txt", "rel");
  const fs::path before = fs::current_path();
  fs::current_path(root);
  const std::string resolved = ResolvePathIgnoringCase("rel/name.txt");
  const std::string bare = ResolvePathIgnoringCase("REL");
  auto f = files.openForReading("./rel/NAME.TXT");
  fs::current_path(before);
  EXPECT_EQ(resolved, "Rel/Name.txt");
  EXPECT_EQ(bare, "Rel");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(readAll(*f), "rel");
}

// Counts the bytes read through it, to show what a run left unread.
class CountingFileSystem : public FileSystem {
 public:
  std::int64_t bytesRead = 0;
  std::unique_ptr<InputFile> openForReading(const std::string& path) override {
    auto inner = files.openForReading(path);
    if (!inner) return nullptr;
    return std::make_unique<Counted>(std::move(inner), bytesRead);
  }

 private:
  struct Counted : InputFile {
    Counted(std::unique_ptr<InputFile> f, std::int64_t& n) : inner(std::move(f)), count(n) {}
    std::int64_t size() const override { return inner->size(); }
    FileStamp stamp() const override { return inner->stamp(); }
    std::int64_t read(char* b, std::int64_t n) override { return add(inner->read(b, n)); }
    void seek(std::int64_t o) override { inner->seek(o); }
    std::int64_t add(std::int64_t n) {
      count += n;
      return n;
    }
    std::unique_ptr<InputFile> inner;
    std::int64_t& count;
  };
  StdFileSystem files;
};

TEST_F(StdFileSystemTest, CompareSetRefusesA2GbFileAndSpecialFiles) {
  write("new/small.txt", "x\n");
  write("old/small.txt", "x\n");
  write("old/pipe.txt", "x\n");
  ASSERT_EQ(mkfifo(path("new/pipe.txt").c_str(), 0600), 0);
  fs::create_directories(root / "new" / "dir.txt");
  write("old/dir.txt", "x\n");
  { std::ofstream(root / "new" / "huge.bin", std::ios::binary) << "x"; }
  fs::resize_file(root / "new" / "huge.bin", std::uintmax_t{1} << 31);  // sparse
  write("old/huge.bin", "x");

  AppState app;
  RecordingHost host;
  RecordingReport report;
  CountingFileSystem counting;
  app.NewDirName = path("new");
  app.OldDirName = path("OLD");  // resolved ignoring case
  app.NewFileList = {"huge.bin", "pipe.txt", "dir.txt", "SMALL.TXT"};
  app.OldFileList = app.NewFileList;
  EXPECT_EQ(CompareSet(app, host, counting, report), kRunOpenError);
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{
                "Error - New Input File \"" + path("new/huge.bin") + "\" GT 2GB can not be processed.",
                "Error while trying to open valid New Input File \"" + path("new/pipe.txt") + "\"",
                "Error while trying to open valid New Input File \"" + path("new/dir.txt") + "\"",
            }));
  EXPECT_TRUE(app.options.InputTooLarge);
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_EQ(report.calls[0].pair, 3);
  EXPECT_EQ(counting.bytesRead, 6);  // the last pair: the probe, then each file once
}

}  // namespace
}  // namespace kelvarine
