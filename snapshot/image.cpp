#include "snapshot/image.h"

#include <algorithm>

namespace pagestow {

bool is_placement_start(std::uint32_t address) {
  return address >= first_ram_address && address <= highest_placement_start;
}

std::size_t offset_for_address(std::uint32_t address) {
  if (address < first_paged_out_address) {
    return address - first_ram_address + visible_ram_offset;
  }
  return address - first_paged_out_address + paged_out_ram_offset;
}

std::size_t placement_limit(std::size_t offset) { return std::min(image_size - offset, max_placement_size); }

std::array<std::span<std::uint8_t>, 2> placement_parts(SnapshotImage& image, std::size_t offset, std::size_t limit) {
  const std::span<std::uint8_t> all{image.bytes};
  if (offset >= trailer_offset) {
    return {all.subspan(offset, limit), {}};
  }
  const std::size_t before_trailer = std::min(limit, trailer_offset - offset);
  return {all.subspan(offset, before_trailer), all.subspan(paged_out_ram_offset, limit - before_trailer)};
}

void write_trailer(SnapshotImage& image, std::uint16_t pc) {
  image.bytes[trailer_pc_offset] = static_cast<std::uint8_t>(pc & 0xFF);
  image.bytes[trailer_pc_offset + 1] = static_cast<std::uint8_t>(pc >> 8);
  image.bytes[trailer_paging_offset] = paging_port_value;
  image.bytes[trailer_trdos_offset] = trdos_rom_not_paged;
}

}  // namespace pagestow
