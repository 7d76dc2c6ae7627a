// Rounding, fixed-point and the strict conversions of data-file text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/util/fixed.h"
#include "core/util/number_parse.h"
#include "core/util/rounding.h"

namespace kestrel {
namespace {

TEST(Rounding, HalfAwayFromZeroAndHalfToEven) {
  EXPECT_EQ(roundHalfAway(2.5), 3);
  EXPECT_EQ(roundHalfAway(-2.5), -3);
  EXPECT_EQ(roundHalfAway(2.4999), 2);
  EXPECT_EQ(roundHalfAway(-0.5), -1);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(660.0000000001), 660);
}

TEST(Rounding, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(roundHalfAway(1e12), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(roundHalfAway(-1e12), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(roundHalfEven(std::nan("")), 0);
  EXPECT_EQ(roundHalfAway(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
}

TEST(Fixed, StoresFourDecimalsAndPrintsThem) {
  EXPECT_EQ(Fixed::fromDouble(0.25).raw(), 2500);
  EXPECT_EQ(Fixed::fromInt(-3).raw(), -30000);
  EXPECT_EQ(Fixed::fromRaw(-123400).toString(), "-12.3400");
  EXPECT_EQ(Fixed::fromRaw(5).toString(), "0.0005");
  EXPECT_EQ(Fixed::fromRaw(-5).toString(), "-0.0005");
  EXPECT_EQ(Fixed::fromRaw(std::numeric_limits<int64_t>::min()).toString(), "-922337203685477.5808");
}

TEST(Fixed, FromDoubleNeverCastsOutOfRange) {
  EXPECT_EQ(Fixed::fromDouble(std::nan("")).raw(), 0);
  EXPECT_EQ(Fixed::fromDouble(1e300).raw(), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(Fixed::fromDouble(-1e300).raw(), std::numeric_limits<int64_t>::min());
}

TEST(ParseInt, OneSignAndNoBlankOnEitherSide) {
  EXPECT_EQ(parseInt("12"), 12);
  EXPECT_EQ(parseInt("-7"), -7);
  EXPECT_EQ(parseInt("+5"), 5);
  EXPECT_EQ(parseInt("-2147483648"), std::numeric_limits<int32_t>::min());
  for (const char* bad : {"12 ", " 12", "\t-7", "1.0", "", " ", "+", "-", "+-5", "-+5", "--5", "Error", "0x10",
                          "2147483648", "-2147483649", "99999999999999999999", "1e3"})
    EXPECT_FALSE(parseInt(bad).has_value()) << bad;
}

TEST(ParseDecimal, AcceptsPlainDecimalsOnly) {
  EXPECT_DOUBLE_EQ(*parseDecimal("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(*parseDecimal("-0.25"), -0.25);
  EXPECT_DOUBLE_EQ(*parseDecimal("+330.25"), 330.25);
  EXPECT_DOUBLE_EQ(*parseDecimal(".5"), 0.5);
  EXPECT_DOUBLE_EQ(*parseDecimal("5."), 5.0);
  for (const char* bad : {"1.5x", "1.5 ", " 1.5", "\t1.5", "3.3025e2", "1e3", "+2E-2", ".", "", "-", "+-1", "inf",
                          "nan", "1e", "1,5", "Error", "0x1p3"})
    EXPECT_FALSE(parseDecimal(bad).has_value()) << bad;
}

TEST(ParseFixed, RoundsTheWrittenDigitsTiesToEven) {
  auto raw = [](const char* text) { return parseFixed(text)->raw(); };
  EXPECT_EQ(raw("12.3456"), 123456);
  EXPECT_EQ(raw("0.00005"), 0);         // tie, 0 is even
  EXPECT_EQ(raw("0.00015"), 2);         // tie, up to even
  EXPECT_EQ(raw("0.00025"), 2);         // tie, down to even
  EXPECT_EQ(raw("0.000250001"), 3);     // above the tie
  EXPECT_EQ(raw("-0.00025"), -2);
  EXPECT_EQ(raw("1.23455"), 12346);     // the binary value of 1.23455 lies below the tie
  EXPECT_EQ(raw("12.3456789"), 123457);
  EXPECT_EQ(raw("-3.5"), -35000);
  EXPECT_EQ(raw("5."), 50000);
  EXPECT_EQ(raw("90000000000000"), 900000000000000000);
  for (const char* bad : {"1e-4", "3.3025e2", " 5.", "5. ", "900000000000001", "1.5x", "", "."})
    EXPECT_FALSE(parseFixed(bad)) << bad;
}

}  // namespace
}  // namespace kestrel
