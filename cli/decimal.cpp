#include "cli/decimal.h"

#include <cstdint>
#include <limits>

namespace pagestow {
namespace {

constexpr bool is_white_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t read_decimal(std::string_view text) {
  constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t smallest = std::numeric_limits<std::int32_t>::min();

  std::size_t next = 0;
  while (next < text.size() && is_white_space(text[next])) {
    ++next;
  }
  bool negative = false;
  if (next < text.size() && (text[next] == '+' || text[next] == '-')) {
    negative = text[next] == '-';
    ++next;
  }
  // Accumulated as a magnitude that stops growing once it is past either
  // end of the range, so any number of digits is safe.
  std::int64_t magnitude = 0;
  for (; next < text.size() && is_digit(text[next]); ++next) {
    if (magnitude <= largest + 1) {
      magnitude = magnitude * 10 + (text[next] - '0');
    }
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > largest) {
    return static_cast<std::int32_t>(largest);
  }
  if (value < smallest) {
    return static_cast<std::int32_t>(smallest);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace pagestow
