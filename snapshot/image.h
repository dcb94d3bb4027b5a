// The snapshot as one byte array in memory, and the arithmetic that maps
// extended addresses onto it. Nothing here reads or writes files.
#ifndef PAGESTOW_SNAPSHOT_IMAGE_H
#define PAGESTOW_SNAPSHOT_IMAGE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "snapshot/layout.h"

namespace pagestow {

// The whole output file, byte for byte; zero until something is laid in.
struct SnapshotImage {
  std::array<std::uint8_t, image_size> bytes{};
};

// True for 16384-131072: the extended addresses an input may start at.
bool is_placement_start(std::uint32_t address);

// Image offset of an extended address; `address` must be a placement start.
std::size_t offset_for_address(std::uint32_t address);

// The most bytes one input may place from `offset`: 48 KB, or less where
// the image ends sooner (a start in bank 6 or 7).
std::size_t placement_limit(std::size_t offset);

// The image bytes that `limit` consecutive extended addresses from `offset`
// occupy. A placement that starts below 0x10000 and runs past 0xFFFF steps
// over the trailer and goes on in bank 1, so it may come in two parts; the
// second part is empty otherwise.
std::array<std::span<std::uint8_t>, 2> placement_parts(SnapshotImage& image, std::size_t offset, std::size_t limit);

// Stores the program counter the snapshot resumes at, the paging port value
// and the TR-DOS flag.
void write_trailer(SnapshotImage& image, std::uint16_t pc);

}  // namespace pagestow

#endif
