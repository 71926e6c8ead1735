// NumbersTest.cpp — the corners of the shared arithmetic: halves to even, floor, the odd remainder.
#include <gtest/gtest.h>

#include "game/Numbers.h"

namespace quarn::test {
namespace {

TEST(Numbers, RoundGoesHalvesToTheEvenNeighbour) {
  const std::vector<std::pair<double, int64_t>> cases = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0},  {-1.5, -2},
      {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {1e9 + 0.5, 1000000000},
      {0.0, 0},   {-0.0, 0},  {7.0, 7},    {-7.49, -7}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(Round(value), expected) << value;
}

TEST(Numbers, IntIsTheFloor) {
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(-1.0), -1);
  EXPECT_EQ(Int(-1.0001), -2);
  EXPECT_EQ(Int(1.99), 1);
  EXPECT_EQ(Int(0.0), 0);
  // The time display: Int(TimeLeft + 0.99).
  EXPECT_EQ(Int(12.3 + 30 + 0.99), 43);
  EXPECT_EQ(Int(50 + 0.99), 50);
  EXPECT_EQ(Int(0.005 + 0.99), 0);
}

TEST(Numbers, ModRoundsBothOperandsAndKeepsTheDividendsSign) {
  EXPECT_EQ(Mod(7, 3), 1);
  EXPECT_EQ(Mod(-7, 3), -1);
  EXPECT_EQ(Mod(7, -3), 1);
  EXPECT_EQ(Mod(-7, -3), -1);
  EXPECT_EQ(Mod(6, 3), 0);
  EXPECT_EQ(Mod(-6, 3), 0);
  EXPECT_EQ(Mod(2.5, 2), 0);    // 2 mod 2
  EXPECT_EQ(Mod(3.5, 3), 1);    // 4 mod 3
  EXPECT_EQ(Mod(5, 2.5), 1);    // 5 mod 2
  EXPECT_EQ(Mod(5, 3.5), 1);    // 5 mod 4
  EXPECT_EQ(Mod(-1.5, 4), -2);  // -2 mod 4
  EXPECT_EQ(Mod(-0.5, 3), 0);
  EXPECT_EQ(Mod(119, 60), 59);
  EXPECT_EQ(Mod(120, 60), 0);
}

TEST(Numbers, RealIndicesAreTakenToTheNearestWholeNumber) {
  EXPECT_EQ(IndexOf(2.5), 2);
  EXPECT_EQ(IndexOf(3.5), 4);
  EXPECT_EQ(IndexOf(2.6), 3);
  EXPECT_EQ(IndexOf(-0.4), 0);
  EXPECT_EQ(IndexOf(-1.5), -2);
  EXPECT_TRUE(IsEven(-2));
  EXPECT_FALSE(IsEven(-3));
  EXPECT_TRUE(IsEven(0));
}

}  // namespace
}  // namespace quarn::test
