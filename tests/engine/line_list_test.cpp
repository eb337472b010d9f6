#include "engine/line_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

TEST(LineListTest, SpilledLinesGoOutInOrderExceptFromAPinOnAndStillCount) {
  LineList list(9000);
  Lines written;
  list.spillTo([&written](const std::string& line) { written.push_back(line); });
  for (int i = 0; i < 6000; ++i)
    ASSERT_TRUE(list.add(std::to_string(i)));
  EXPECT_FALSE(written.empty());
  EXPECT_LT(list.lines().size(), 5000u);
  EXPECT_THROW((void)list[0], std::out_of_range);  // a written line cannot be read back or changed
  list.pin(6000);
  for (int i = 6000; i < 9000; ++i)
    ASSERT_TRUE(list.add(std::to_string(i)));
  EXPECT_FALSE(list.add("one too many")) << "the capacity counts written lines";
  EXPECT_LE(written.size(), 6000u);  // nothing from the pin on
  list[6000] += " completed";
  list.unpin();
  list.addAlways("status");  // unpinned, the next line sends out every line held
  EXPECT_EQ(list.size(), 9001u);
  ASSERT_EQ(written.size(), 9001u);
  EXPECT_TRUE(list.lines().empty());
  for (int i = 0; i < 9000; ++i)
    ASSERT_EQ(written[static_cast<std::size_t>(i)], std::to_string(i) + (i == 6000 ? " completed" : ""));
  EXPECT_EQ(written.back(), "status");
  list.clear();
  written.clear();
  EXPECT_TRUE(list.add("a") && list.size() == 1u);  // the sink stays
  list.flush();
  EXPECT_EQ(written, Lines{"a"});
}

}  // namespace
}  // namespace kelvarine
