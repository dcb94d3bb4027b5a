// Numbers on the command line: decimal, read leniently. Leading white space
// is skipped, one sign may follow, then digits up to the first character
// that is not one; whatever comes after is ignored, and text without digits
// reads as 0 (so "0x8000" is 0). Values beyond the signed 32-bit range are
// clamped to its ends, never wrapped.
#ifndef PAGESTOW_CLI_DECIMAL_H
#define PAGESTOW_CLI_DECIMAL_H

#include <cstdint>
#include <string_view>

namespace pagestow {

std::int32_t read_decimal(std::string_view text);

// The value as the range tests see it: a negative number becomes a huge
// unsigned one and falls outside every accepted range.
constexpr std::uint32_t as_unsigned(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace pagestow

#endif
