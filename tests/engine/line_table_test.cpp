#include "engine/line_table.h"

#include <gtest/gtest.h>

#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

TEST(LineTableTest, IndexesOutsideTheTableAreRangeErrors) {
  LineTable t;
  EXPECT_THROW(t[0], EngineFault);
  EXPECT_THROW(t[8002], EngineFault);
  EXPECT_NO_THROW(t[8001]);
}

TEST(LineTableTest, StepsSkipDpLinesAndStopAtTheSentinel) {
  LineTable t;
  t[2].DpLine = true;
  t[3].DpLine = true;
  LineSteps steps{t, 4, true};
  EXPECT_EQ(steps.next(2), 4);
  EXPECT_EQ(steps.next(5), 5);
  EXPECT_EQ(steps.next(9), 5);
  EXPECT_EQ(steps.prev(3), 1);
  EXPECT_EQ(steps.prev(1), 1);
  t[1].DpLine = true;
  EXPECT_EQ(steps.prev(3), 1);  // stops at index 1 even on a Dp line
  LineSteps plain{t, 4, false};
  EXPECT_EQ(plain.next(2), 2);
  EXPECT_EQ(plain.prev(3), 3);
}

TEST(LineTableTest, TextSurvivesUntilClearAndGrowsOnRewrite) {
  LineTable t;
  t.setText(1, "abc", 3);
  EXPECT_EQ(std::string(t[1].Text, 3), "abc");
  EXPECT_EQ(t[1].Text[3], '\0');
  std::string longLine(3000, 'x');
  t.setText(1, longLine.data(), 3000);  // a re-read line longer than before gets a new buffer
  EXPECT_EQ(std::string(t[1].Text, 3000), longLine);
  t.clear();
  EXPECT_EQ(t[1].Text, nullptr);
}

}  // namespace
}  // namespace kelvarine
