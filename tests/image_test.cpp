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

TEST(Image, PlacementStartsAreBoundedOnBothSides) {
  struct Case {
    std::uint32_t address;
    bool accepted;
  };
  constexpr Case cases[] = {
      {0, false},      {16383, false},  {16384, true},       {131072, true},
      {131073, false}, {147455, false}, {0xFFFFFFFF, false}, {0x80000000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(is_placement_start(c.address), c.accepted);
  }
}

TEST(Image, CreatedImageIsAllZero) {
  const SnapshotImage image;
  EXPECT_EQ(image.bytes.size(), 131103U);
  for (std::size_t i = 0; i < image.bytes.size(); ++i) {
    ASSERT_EQ(image.bytes[i], 0) << "offset " << i;
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

// Where the bytes of a placement go, as (first offset, length) of each part.
TEST(Image, PlacementPartsStepOverTheTrailer) {
  struct Case {
    const char* name;
    std::size_t offset;
    std::size_t limit;
    std::size_t first_offset, first_size;
    std::size_t second_offset, second_size;
  };
  constexpr Case cases[] = {
      {"whole 48 KB from 16384 ends at 65535", 27, 49152, 27, 49152, 49183, 0},
      {"48 KB from 16385 puts one byte in bank 1", 28, 49152, 28, 49151, 49183, 1},
      {"48 KB from 32768 fills bank 1 too", 16411, 49152, 16411, 32768, 49183, 16384},
      {"from 65535 one byte, then bank 1", 49178, 49152, 49178, 1, 49183, 49151},
      {"a short limit stops before the trailer", 100, 10, 100, 10, 49183, 0},
      {"from bank 1 on there is one part", 49183, 49152, 49183, 49152, 0, 0},
      {"bank 7 runs to the end of the image", 114719, 16384, 114719, 16384, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SnapshotImage image;
    const auto parts = placement_parts(image, c.offset, c.limit);
    const std::uint8_t* const base = image.bytes.data();
    EXPECT_EQ(parts[0].data() - base, static_cast<std::ptrdiff_t>(c.first_offset));
    EXPECT_EQ(parts[0].size(), c.first_size);
    EXPECT_EQ(parts[1].size(), c.second_size);
    if (c.second_size > 0) {
      EXPECT_EQ(parts[1].data() - base, static_cast<std::ptrdiff_t>(c.second_offset));
    }
  }
}

}  // namespace
}  // namespace pagestow
