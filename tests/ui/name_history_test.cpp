#include "ui/name_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_file_system.h"

namespace kelvarine {
namespace {

class NameHistoryTest : public ::testing::Test {
 protected:
  NameHistoryTest() {
    files.add("/Data/New/Alpha.TXT", "a");
    files.add("/data/old/beta.txt", "b");
  }
  MemoryFileSystem files;
  NameHistoryField field;
};

TEST_F(NameHistoryTest, NewestFirstAsSpelledWithoutCaseDuplicates) {
  files.add("/data/new/alpha.txt", "a");  // a second file whose name differs only in letter case
  struct Step {
    std::string name;
    HistoryAccepts accepts;
    bool changed;
    std::vector<std::string> history;  // after the step
  };
  const auto any = HistoryAccepts::FilesOrDirectories, dirs = HistoryAccepts::DirectoriesOnly;
  for (const Step& step : std::vector<Step>{
           {"/nowhere/x.txt", any, false, {}},
           {"", any, false, {}},
           {"/Data/New/Alpha.TXT", any, true, {"/Data/New/Alpha.TXT"}},
           {"/Data/New/Alpha.TXT", any, false, {"/Data/New/Alpha.TXT"}},  // already first
           {"/data/new/alpha.txt", any, true, {"/data/new/alpha.txt"}},   // the newer spelling replaces it
           {"/data/old", any, true, {"/data/old", "/data/new/alpha.txt"}},
           {"/Data/New/Alpha.TXT", any, true, {"/Data/New/Alpha.TXT", "/data/old"}},  // older copy moves up
           {"/data/old/beta.txt", dirs, false, {"/Data/New/Alpha.TXT", "/data/old"}},
           {"/Data/New", HistoryAccepts::FilesOnly, false, {"/Data/New/Alpha.TXT", "/data/old"}},
           {"/Data/New", dirs, true, {"/Data/New", "/Data/New/Alpha.TXT", "/data/old"}},
       }) {
    field.text = "typed";
    EXPECT_EQ(AddToNameHistory(field, step.name, files, step.accepts), step.changed) << step.name;
    EXPECT_EQ(field.history, step.history) << step.name;
    EXPECT_EQ(field.text, step.changed ? step.history.front() : "typed") << step.name;
  }
}

TEST_F(NameHistoryTest, FieldEventsAddOnlyChangedExistingNames) {
  const auto any = HistoryAccepts::FilesOrDirectories;
  field.text = "/data/old";
  NameFieldEnter(field);
  NameFieldLeave(field, files, any);  // unchanged: not entered, though it exists
  EXPECT_TRUE(field.history.empty());

  field.text = "/Data/Missing";
  NameFieldLeave(field, files, any);
  EXPECT_TRUE(field.history.empty());

  field.text = "/DATA/OLD/beta.txt";  // the in-memory file system matches names exactly
  files.add("/DATA/OLD/beta.txt", "b");
  NameFieldLeave(field, files, any);
  EXPECT_EQ(field.history, std::vector<std::string>{"/DATA/OLD/beta.txt"});
  EXPECT_EQ(field.text, "/DATA/OLD/beta.txt");

  field.text = "/data/old";
  NameFieldDropDown(field, files, any);  // opening the list enters the current text
  EXPECT_EQ(field.history, (std::vector<std::string>{"/data/old", "/DATA/OLD/beta.txt"}));
}

}  // namespace
}  // namespace kelvarine
