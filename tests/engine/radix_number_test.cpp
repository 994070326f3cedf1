// Radix number texts: the integers written with a leading "&".
#include <gtest/gtest.h>

#include <string>

#include "eval/number_text.h"

namespace {

struct RadixCase {
  std::string text;  // as ParseNumber sees it, "&" included
  long double value;
};

class RadixNumberTest : public testing::TestWithParam<RadixCase> {};

TEST_P(RadixNumberTest, ReadsTheIntegerByItsWidthAndMarker) {
  EXPECT_EQ(ParseNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, RadixNumberTest,
    testing::Values(
        RadixCase{"&H1F", 31}, RadixCase{"&h1f", 31}, RadixCase{"&HFFFF", -1},
        RadixCase{"&H0FFFF", 65535}, RadixCase{"&HFFFF&", 65535}, RadixCase{"&HFFFF&&", 65535},
        RadixCase{"&H8000", -32768}, RadixCase{"&H7FFF", 32767}, RadixCase{"&HFFFFFFFF", -1},
        RadixCase{"&HFFFFFFFF&", -1}, RadixCase{"&HFFFFFFFF&&", 4294967295.0L},
        RadixCase{"&H0FFFFFFFF", 4294967295.0L}, RadixCase{"&H80000000", -2147483648.0L},
        RadixCase{"&H10000", 65536}, RadixCase{"&HFFFFFFFFFFFFFFFF", -1},
        RadixCase{"&H8000000000000000", -9223372036854775808.0L},
        RadixCase{"&H100000000", 4294967296.0L}, RadixCase{"&H10000000000000000", 0},
        RadixCase{"&H00000000000000000001", 1}, RadixCase{"&HFFFF?", 65535},
        RadixCase{"&HFFFFFFFFFFFFFFFF?", 0},
        RadixCase{"&H7FFFFFFFFFFFFFFF?", 9223372036854775807.0L}, RadixCase{"&HFFFF%", -1},
        RadixCase{"&H1F.5", 31}, RadixCase{"&H", 0}, RadixCase{"&HG", 0}, RadixCase{"&", 0}));

INSTANTIATE_TEST_SUITE_P(OctalAndBinary, RadixNumberTest,
                         testing::Values(RadixCase{"&B101", 5}, RadixCase{"&b11", 3},
                                         RadixCase{"&B1111111111111111", -1}, RadixCase{"&B2", 0},
                                         RadixCase{"&O17", 15}, RadixCase{"&o17", 15},
                                         RadixCase{"&Q17", 15}, RadixCase{"&q17", 15},
                                         RadixCase{"&17", 15}, RadixCase{"&18", 1},
                                         RadixCase{"&177777", -1}, RadixCase{"&0177777", 65535},
                                         RadixCase{"&9", 0}, RadixCase{"&O", 0}));

}  // namespace
