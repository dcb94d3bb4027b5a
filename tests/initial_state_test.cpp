#include "snapshot/initial_state.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>
#include <vector>

#include "snapshot/image.h"

namespace pagestow {
namespace {

// The expected state is written out here a second time, as the hexadecimal
// dumps of the machine's memory, independently of the tables in the code.
constexpr std::string_view header_dump =
    "3F 58 FF B9 5C FF FF 44 00 7F 10 06 00 4B 17 3A 5C D4 03 04 E0 5C 00 B4 5D 01 00";

struct Run {
  std::size_t offset;  // image offset of the run's first address
  std::string_view dump;
};

// Image offset = address - 0x4000 + 27.
constexpr Run system_dumps[] = {
    {0x5C00 - 16357, "FF 00 00 00 FF 00 00 00 00 23 05"},
    {0x5C10 - 16357, "01 00 06 00 0B 00 01 00 01 00 06 00 10"},
    {0x5C37 - 16357, "3C 40 00 00 00 21 B8 5D"},
    {0x5C48 - 16357,
     "38 00 00 CB 5C 00 00 B6 5C B6 5C CB 5C 00 00 CA 5C CC 5C CC 5C 00 00 00 00 CE 5C CE 5C CE 5C 00 92 5C 10 02"},
    {0x5C78 - 16357, "AD 00 00 58 FF 00 00 21 00 5B 05 17 00 40 FC 50 21 18 05 17 01 38 00 38"},
    {0x5CB2 - 16357, "BF 5D FF FF F4 09 A8 10 4B F4 09 C4 15 53 81 0F C4 15 52 F4 09 C4 15 50 80 80 0D 80"},
    {0x5D9E - 16357,
     "DB 02 DB 02 7C 38 D4 03 4D 00 A8 5C FF FF B8 5C 5C 00 FE 15 58 FF E1 15 3B 0F 7F 10 BC 5D B4 12 00 3E"},
};

std::vector<std::uint8_t> parse_dump(std::string_view dump) {
  std::istringstream in{std::string(dump)};
  std::vector<std::uint8_t> bytes;
  unsigned value = 0;
  while (in >> std::hex >> value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

// The whole image after the initial state alone, built from the dumps and
// the region boundaries: header, zero bitmap, attributes 0x07 at offsets
// 6171-6938, the system block at 7195-7643, zero everywhere else.
std::vector<std::uint8_t> expected_initial_image() {
  std::vector<std::uint8_t> image(131103, 0);
  const auto header = parse_dump(header_dump);
  std::copy(header.begin(), header.end(), image.begin());
  std::fill(image.begin() + 6171, image.begin() + 6939, 0x07);
  for (const Run& run : system_dumps) {
    const auto bytes = parse_dump(run.dump);
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(run.offset));
  }
  return image;
}

TEST(InitialState, EveryByteOfTheImageMatchesTheMemoryDump) {
  ASSERT_EQ(parse_dump(header_dump).size(), 27U);
  SnapshotImage image;
  apply_initial_state(image);
  const auto expected = expected_initial_image();
  for (std::size_t offset = 0; offset < expected.size(); ++offset) {
    ASSERT_EQ(image.bytes[offset], expected[offset]) << "image offset " << offset;
  }
}

}  // namespace
}  // namespace pagestow
