#include "engine/line_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kelvarine {
namespace {

class SpillingLineListTest : public ::testing::Test {
 protected:
  SpillingLineListTest() {
    list.spillTo([this](const std::string& line) { written.push_back(line); });
  }
  void addNumbered(int from, int to) {
    for (int i = from; i < to; ++i)
      ASSERT_TRUE(list.add(std::to_string(i)));
  }
  // Every line ever added, the written ones first, in order.
  std::vector<std::string> everything() const {
    std::vector<std::string> all = written;
    all.insert(all.end(), list.lines().begin(), list.lines().end());
    return all;
  }

  LineList list{100'000};
  std::vector<std::string> written;
};

TEST_F(SpillingLineListTest, WritesOutInOrderAndStillCountsEveryLine) {
  addNumbered(0, 10'000);
  EXPECT_FALSE(written.empty());
  EXPECT_LT(list.lines().size(), 5000u);
  EXPECT_EQ(list.size(), 10'000u);
  EXPECT_EQ(list[9999], "9999");
  EXPECT_THROW((void)list[0], std::out_of_range);  // a written line cannot be read back or changed
  list.addAlways("status");
  list.flush();
  EXPECT_TRUE(list.lines().empty());
  ASSERT_EQ(written.size(), 10'001u);
  for (int i = 0; i < 10'000; ++i)
    ASSERT_EQ(written[static_cast<std::size_t>(i)], std::to_string(i));
  EXPECT_EQ(written.back(), "status");
}

TEST_F(SpillingLineListTest, APinnedLineStaysUntilUnpinned) {
  addNumbered(0, 6000);
  list.pin(6000);
  addNumbered(6000, 30'000);
  EXPECT_LE(written.size(), 6000u);  // nothing from the pin on
  list[6000] += " completed";
  list.unpin();
  addNumbered(30'000, 30'001);
  EXPECT_GT(written.size(), 6000u);
  list.flush();
  ASSERT_EQ(written.size(), 30'001u);
  EXPECT_EQ(written[6000], "6000 completed");
  EXPECT_EQ(written[29'999], "29999");
}

TEST_F(SpillingLineListTest, CapacityCountsWrittenLinesAndClearStartsAfresh) {
  list.setCapacity(9000);
  addNumbered(0, 9000);
  EXPECT_FALSE(list.add("one too many"));
  list.clear();
  EXPECT_EQ(list.size(), 0u);
  written.clear();
  addNumbered(0, 3);  // the sink stays
  list.flush();
  EXPECT_EQ(everything(), (std::vector<std::string>{"0", "1", "2"}));
}

TEST(LineListTest, WithoutASinkKeepsEveryLine) {
  LineList list(3);
  for (const char* line : {"a", "b", "c", "d"})
    (void)list.add(line);
  list.addAlways("status");
  list.flush();
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b", "c", "status"}));
  EXPECT_EQ(list[0], "a");
}

}  // namespace
}  // namespace kelvarine
