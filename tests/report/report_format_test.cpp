#include "report/report_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace kelvarine {
namespace {

// The fast reference writer must agree with printf's "%.5d" everywhere, including past five digits and
// below zero (a corrupted count must still show as printf would show it).
TEST(AppendReferenceTest, AgreesWithPrintf) {
  for (int value : {0, 1, 42, 9999, 10000, 99999, 100000, 1234567, -1, -99999, -123456, INT_MAX, INT_MIN}) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.5d", value);
    std::string out = "x";
    AppendReference(out, value);
    EXPECT_EQ(out, std::string("x") + expected) << value;
  }
}

}  // namespace
}  // namespace kelvarine
