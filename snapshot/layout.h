// The 128 KB SNA snapshot as this tool writes it, and the extended address
// scheme that names every byte of the machine's eight 16 KB RAM banks.
//
// The file is the 27-byte register header, the 48 KB the Z80 sees from
// 0x4000 with RAM bank 0 paged in at 0xC000 (banks 5, 2, 0), a 4-byte
// trailer (program counter, the paging port value, the TR-DOS flag) and then
// the five banks that are not paged in, in ascending order: 1, 3, 4, 6, 7.
//
// Extended addresses 0x4000-0xFFFF are memory as the Z80 sees it; from
// 0x10000 on they continue through banks 1, 3, 4, 6 and 7, so one number
// names any byte of RAM.
#ifndef PAGESTOW_SNAPSHOT_LAYOUT_H
#define PAGESTOW_SNAPSHOT_LAYOUT_H

#include <cstddef>
#include <cstdint>

namespace pagestow {

inline constexpr std::size_t bank_size = 0x4000;

// Image offsets.
inline constexpr std::size_t header_offset = 0;
inline constexpr std::size_t header_size = 27;
inline constexpr std::size_t visible_ram_offset = header_offset + header_size;
inline constexpr std::size_t visible_bank_count = 3;  // banks 5, 2, 0
inline constexpr std::size_t trailer_offset = visible_ram_offset + visible_bank_count * bank_size;
inline constexpr std::size_t trailer_size = 4;
inline constexpr std::size_t paged_out_ram_offset = trailer_offset + trailer_size;
inline constexpr std::size_t paged_out_bank_count = 5;  // banks 1, 3, 4, 6, 7
inline constexpr std::size_t image_size = paged_out_ram_offset + paged_out_bank_count * bank_size;

// Trailer fields, as offsets into the image.
inline constexpr std::size_t trailer_pc_offset = trailer_offset;  // low byte, then high byte
inline constexpr std::size_t trailer_paging_offset = trailer_offset + 2;
inline constexpr std::size_t trailer_trdos_offset = trailer_offset + 3;

// The value of port 0x7FFD the snapshot resumes with: bank 0 at 0xC000,
// the normal screen in bank 5, ROM 1 (48 KB BASIC), paging left unlocked.
inline constexpr std::uint8_t paging_port_value = 0x10;
inline constexpr std::uint8_t trdos_rom_not_paged = 0x00;

// Extended addresses.
inline constexpr std::uint32_t first_ram_address = 0x4000;
inline constexpr std::uint32_t first_paged_out_address = 0x10000;  // bank 1
inline constexpr std::uint32_t last_ram_address = 0x23FFF;         // end of bank 7
// The first byte of bank 7 is the highest start a placement may have.
inline constexpr std::uint32_t highest_placement_start = 0x20000;

// No single input places more than the Z80's 48 KB of RAM.
inline constexpr std::size_t max_placement_size = 0xC000;

static_assert(visible_ram_offset == 27);
static_assert(trailer_offset == 49179);
static_assert(paged_out_ram_offset == 49183);
static_assert(image_size == 131103);
static_assert(first_paged_out_address - first_ram_address == visible_bank_count * bank_size);
static_assert(last_ram_address + 1 - first_paged_out_address == paged_out_bank_count * bank_size);
static_assert(highest_placement_start == last_ram_address + 1 - bank_size);

}  // namespace pagestow

#endif
