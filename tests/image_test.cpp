#include "snapshot/image.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

namespace pagestow {
namespace {

// Offsets written out by hand from the file layout: header 0-26, banks 5, 2
// and 0 from 27, the trailer at 49179, then banks 1, 3, 4, 6 and 7.
struct AddressCase {
  const char* name;
  std::uint32_t address;
  std::size_t offset;
  std::size_t limit;
};

constexpr AddressCase address_cases[] = {
    {"first byte of bank 5", 16384, 27, 49152},           {"last byte of bank 5", 32767, 16410, 49152},
    {"first byte of bank 2", 32768, 16411, 49152},        {"first byte of bank 0", 49152, 32795, 49152},
    {"last byte below the trailer", 65535, 49178, 49152}, {"first byte of bank 1", 65536, 49183, 49152},
    {"first byte of bank 3", 81920, 65567, 49152},        {"first byte of bank 4", 98304, 81951, 49152},
    {"one past bank 4's start", 98305, 81952, 49151},     {"first byte of bank 6", 114688, 98335, 32768},
    {"first byte of bank 7", 131072, 114719, 16384},
};

TEST(Image, OffsetAndLimitOfEachBank) {
  for (const AddressCase& c : address_cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(is_placement_start(c.address));
    EXPECT_EQ(offset_for_address(c.address), c.offset);
    EXPECT_EQ(placement_limit(c.offset), c.limit);
  }
}

TEST(Image, TrailerHoldsPcLowByteFirstThenPagingAndTrdos) {
  struct Case {
    std::uint16_t pc;
    std::uint8_t low;
    std::uint8_t high;
  };
  constexpr Case cases[] = {{24200, 0x88, 0x5E}, {0x11B7, 0xB7, 0x11}, {0xFFFF, 0xFF, 0xFF}, {0x4000, 0x00, 0x40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pc);
    SnapshotImage image;
    image.bytes.fill(0xAA);
    write_trailer(image, c.pc);
    EXPECT_EQ(image.bytes[49178], 0xAA);
    EXPECT_EQ(image.bytes[49179], c.low);
    EXPECT_EQ(image.bytes[49180], c.high);
    EXPECT_EQ(image.bytes[49181], 0x10);
    EXPECT_EQ(image.bytes[49182], 0x00);
    EXPECT_EQ(image.bytes[49183], 0xAA);
  }
}

}  // namespace
}  // namespace pagestow
