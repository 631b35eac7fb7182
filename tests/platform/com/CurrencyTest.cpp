#include "platform/com/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

CY Cy(int64_t units) {
  CY value;
  value.int64 = units;
  return value;
}

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kUntouched = 0x5A5A5A5A;  // a failing call must leave the output alone

}  // namespace

TEST(Currency, HoldsTheCountInTwoHalves) {
  CY value = Cy(-2);
  EXPECT_EQ(value.Lo, 0xFFFFFFFEu);
  EXPECT_EQ(value.Hi, -1);
  value.Hi = 1;
  value.Lo = 5;
  EXPECT_EQ(value.int64, 0x100000005LL);
}

TEST(Currency, FromDoubleRoundsTheDoubleProductTiesToEven) {
  struct Case { double value; int64_t units; } cases[] = {
      {0.00005, 0},           // product exactly 0.5: even neighbour 0
      {0.00025, 2},           // 2.5 -> 2
      {0.00035, 4},           // 3.5 -> 4
      {0.00045, 4},           // 4.5 -> 4
      {1.23455, 12346},       // 12345.5 -> 12346
      {-0.00005, 0},
      {-0.00025, -2},
      {-0.00035, -4},
      {0.00015, 1},           // the double product is 1.4999999999999998, not a tie
      {1.00005, 10001},       // the double product is 10000.500000000002
      {1.0, 10000},
      {-1234.5678, -12345678},
      {0.0, 0},
      // 922337203685477 x 10,000 is not a double; the product rounds to 9223372036854769664.
      {922337203685477.0, 9223372036854769664LL},
      // -922337203685477.5808 is the double -922337203685477.625, whose product rounds to -2^63.
      {-922337203685477.5808, kMin},
  };
  for (const Case& c : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyFromR8(c.value, &result), S_OK) << c.value;
    EXPECT_EQ(result.int64, c.units) << c.value;
  }
}

TEST(Currency, FromDoubleOutOfRangeLeavesOutputUntouched) {
  const double cases[] = {922337203685477.5807,  // the double ...477.625, product rounds to 2^63
                          1e15, -1e15, std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
  for (double value : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyFromR8(value, &result), DISP_E_OVERFLOW) << value;
    EXPECT_EQ(result.int64, kUntouched);
  }
}

TEST(Currency, FromSingleUsesTheFloatValue) {
  struct Case { float value; int64_t units; } cases[] = {
      {0.00035f, 3},    // the float is 0.000349999987..., below the tie that the double has
      {12.34f, 123400},
      {0.1f, 1000},
      {18.0f, 180000},
  };
  for (const Case& c : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyFromR4(c.value, &result), S_OK);
    EXPECT_EQ(result.int64, c.units) << c.value;
  }
  CY result = Cy(kUntouched);
  EXPECT_EQ(VarCyFromR4(1e15f, &result), DISP_E_OVERFLOW);
  EXPECT_EQ(result.int64, kUntouched);
}

TEST(Currency, IntegerAndDoubleConversions) {
  CY result;
  EXPECT_EQ(VarCyFromI4(-2147483647 - 1, &result), S_OK);
  EXPECT_EQ(result.int64, -21474836480000LL);
  double back = 0;
  EXPECT_EQ(VarR8FromCy(Cy(-12345), &back), S_OK);
  EXPECT_EQ(back, -1.2345);
  EXPECT_EQ(VarR8FromCy(Cy(kMax), &back), S_OK);
  EXPECT_EQ(back, 922337203685477.5807);
}

TEST(Currency, MultiplyRoundsTheExactProductTiesToEven) {
  struct Case { int64_t left, right, units; } cases[] = {
      {10001, 15000, 15002},     // 1.0001 x 1.5 = 1.50015 -> 1.5002
      {10003, 15000, 15004},     // 1.50045 -> 1.5004
      {1, 5000, 0},              // 0.00005 -> 0
      {3, 5000, 2},              // 0.00015 -> 0.0002
      {-10001, 15000, -15002},
      {-10003, -15000, 15004},
      {-25, 5000, -12},          // -0.00125 -> -0.0012
      {12345, 10001, 12346},     // 1.23462345 -> 1.2346
      // 123456789.1234 x 1000.0001 = 123456801469.07891234: beyond double precision
      {1234567891234LL, 10000001, 1234568014690789LL},
      {kMax, 10000, kMax},
      {kMin, 10000, kMin},
      {kMin, 0, 0},
  };
  for (const Case& c : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyMul(Cy(c.left), Cy(c.right), &result), S_OK) << c.left << " x " << c.right;
    EXPECT_EQ(result.int64, c.units) << c.left << " x " << c.right;
  }
}

TEST(Currency, MultiplyOverflowLeavesOutputUntouched) {
  struct Case { int64_t left, right; } cases[] = {{kMax, 10001}, {kMin, -10000}, {kMin, kMin}, {kMax, kMax}};
  for (const Case& c : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyMul(Cy(c.left), Cy(c.right), &result), DISP_E_OVERFLOW);
    EXPECT_EQ(result.int64, kUntouched);
  }
}

TEST(Currency, MultiplyByIntegerIsExact) {
  CY result = Cy(kUntouched);
  EXPECT_EQ(VarCyMulI4(Cy(12345), 3, &result), S_OK);
  EXPECT_EQ(result.int64, 37035);
  EXPECT_EQ(VarCyMulI4(Cy(-1), 2147483647, &result), S_OK);
  EXPECT_EQ(result.int64, -2147483647LL);
  EXPECT_EQ(VarCyMulI4(Cy(kMin), 1, &result), S_OK);
  EXPECT_EQ(result.int64, kMin);
  result = Cy(kUntouched);
  EXPECT_EQ(VarCyMulI4(Cy(kMin), -1, &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyMulI4(Cy(kMax / 2 + 1), 2, &result), DISP_E_OVERFLOW);
  EXPECT_EQ(result.int64, kUntouched);
}

TEST(Currency, RoundGoesToEvenAtTheCut) {
  struct Case { int64_t units; int decimals; int64_t rounded; } cases[] = {
      {12350, 2, 12400},    // 1.2350 -> 1.24
      {12450, 2, 12400},    // 1.2450 -> 1.24
      {12451, 2, 12500},    // 1.2451 -> 1.25
      {-12350, 2, -12400},
      {25000, 0, 20000},    // 2.5 -> 2
      {35000, 0, 40000},    // 3.5 -> 4
      {-25000, 0, -20000},
      {12345, 3, 12340},    // 1.2345 -> 1.234
      {12355, 3, 12360},    // 1.2355 -> 1.236
      {12345, 1, 12000},    // 1.2345 -> 1.2 (below the tie)
      {12345, 4, 12345},
      {12345, 9, 12345},
      {kMax, 4, kMax},
      {kMin, 2, -9223372036854775800LL},  // ...477.5808 -> ...477.58
  };
  for (const Case& c : cases) {
    CY result = Cy(kUntouched);
    EXPECT_EQ(VarCyRound(Cy(c.units), c.decimals, &result), S_OK);
    EXPECT_EQ(result.int64, c.rounded) << c.units << " to " << c.decimals;
  }
  CY result = Cy(kUntouched);
  EXPECT_EQ(VarCyRound(Cy(1), -1, &result), E_INVALIDARG);
  EXPECT_EQ(VarCyRound(Cy(kMax), 0, &result), DISP_E_OVERFLOW);  // ...477.5807 -> ...478
  EXPECT_EQ(VarCyRound(Cy(kMin), 0, &result), DISP_E_OVERFLOW);
  EXPECT_EQ(result.int64, kUntouched);
}

TEST(Currency, AddAndSubtractDetectOverflow) {
  CY result = Cy(kUntouched);
  EXPECT_EQ(VarCyAdd(Cy(kMax), Cy(kMin), &result), S_OK);
  EXPECT_EQ(result.int64, -1);
  EXPECT_EQ(VarCySub(Cy(kMin), Cy(kMin), &result), S_OK);
  EXPECT_EQ(result.int64, 0);
  EXPECT_EQ(VarCySub(Cy(15000), Cy(25001), &result), S_OK);
  EXPECT_EQ(result.int64, -10001);
  result = Cy(kUntouched);
  EXPECT_EQ(VarCyAdd(Cy(kMax), Cy(1), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyAdd(Cy(kMin), Cy(-1), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCySub(Cy(0), Cy(kMin), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCySub(Cy(kMin), Cy(1), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(result.int64, kUntouched);
}

TEST(Currency, CompareSignAndIntegerParts) {
  EXPECT_EQ(VarCyCmp(Cy(-1), Cy(0)), VARCMP_LT);
  EXPECT_EQ(VarCyCmp(Cy(kMin), Cy(kMin)), VARCMP_EQ);
  EXPECT_EQ(VarCyCmp(Cy(kMax), Cy(kMin)), VARCMP_GT);

  struct Case { int64_t units, abs, neg, fix, integer; } cases[] = {
      {15000, 15000, -15000, 10000, 10000},
      {-15000, 15000, 15000, -10000, -20000},
      {-1, 1, 1, 0, -10000},
      {-20000, 20000, 20000, -20000, -20000},
      {0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    CY result;
    EXPECT_EQ(VarCyAbs(Cy(c.units), &result), S_OK);
    EXPECT_EQ(result.int64, c.abs);
    EXPECT_EQ(VarCyNeg(Cy(c.units), &result), S_OK);
    EXPECT_EQ(result.int64, c.neg);
    EXPECT_EQ(VarCyFix(Cy(c.units), &result), S_OK);
    EXPECT_EQ(result.int64, c.fix);
    EXPECT_EQ(VarCyInt(Cy(c.units), &result), S_OK);
    EXPECT_EQ(result.int64, c.integer) << c.units;
  }
  CY result = Cy(kUntouched);
  EXPECT_EQ(VarCyAbs(Cy(kMin), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyNeg(Cy(kMin), &result), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyInt(Cy(kMin), &result), DISP_E_OVERFLOW);  // floor is ...478 below zero
  EXPECT_EQ(result.int64, kUntouched);
  EXPECT_EQ(VarCyFix(Cy(kMin), &result), S_OK);
  EXPECT_EQ(result.int64, -9223372036854770000LL);
}
