#include "engine/line_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

TEST(LineTableTest, RecordsAreOneBasedAndTextLivesUntilClear) {
  LineTable t;
  EXPECT_THROW(t[0], EngineFault);
  EXPECT_THROW(t[LineTable::kRecords + 1], EngineFault);
  t.setText(LineTable::kRecords, "abc", 3);
  EXPECT_EQ(std::string(t[LineTable::kRecords].Text, 4), std::string("abc\0", 4));
  const std::string longLine(3000, 'x');
  t.setText(LineTable::kRecords, longLine.data(), 3000);  // a longer re-read line gets a new buffer
  EXPECT_EQ(std::string(t[LineTable::kRecords].Text, 3000), longLine);
  t.clear();
  EXPECT_EQ(t[LineTable::kRecords].Text, nullptr);
}

TEST(LineTableTest, StepsSkipDpLinesAndStopAtTheSentinelOrAtIndexOne) {
  LineTable t;
  t[1].DpLine = t[2].DpLine = t[4].DpLine = true;
  const LineSteps steps{t, 5, true}, plain{t, 5, false};
  EXPECT_EQ((std::vector{steps.next(1), steps.next(4), steps.next(7), steps.prev(4), steps.prev(2)}),
            (std::vector{3, 5, 6, 3, 1}));
  EXPECT_EQ((std::vector{plain.next(1), plain.next(7), plain.prev(4)}), (std::vector{1, 6, 4}));
}

}  // namespace
}  // namespace kelvarine
