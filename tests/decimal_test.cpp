#include "cli/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace pagestow {
namespace {

TEST(Decimal, ReadsLikeTheCommandLineExpects) {
  struct Case {
    std::string_view text;
    std::int32_t value;
  };
  constexpr Case cases[] = {
      {"24200", 24200},
      {"0", 0},
      {"", 0},
      {"abc", 0},
      {"0x8000", 0},
      {"24200abc", 24200},
      {"12 34", 12},
      {" \t\n\v\f\r65536", 65536},
      {"+16384", 16384},
      {"-1", -1},
      {"- 5", 0},
      {"+-5", 0},
      {"--5", 0},
      {"000000000000000000016384", 16384},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      // Would wrap to 16384 modulo 2^32, and must not.
      {"4294983680", 2147483647},
      {"-4294950912", -2147483647 - 1},
      // Would wrap to 16384 modulo 2^64 if the magnitude kept growing.
      {"18446744073709568000", 2147483647},
      {"-18446744073709568000", -2147483647 - 1},
      {"99999999999999999999999999999999999999", 2147483647},
      {"-99999999999999999999999999999999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(read_decimal(c.text), c.value);
  }
}

}  // namespace
}  // namespace pagestow
