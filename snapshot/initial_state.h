// The machine state every snapshot starts from: a Spectrum 128 sitting in
// 48 KB BASIC (ROM 1 paged in) with a cleared screen. The registers, the
// screen attributes and the system variables, channel records and machine
// stack are constant data; the screen bitmap and every other byte of RAM,
// banks 1, 3, 4, 6 and 7 included, stay zero.
#ifndef PAGESTOW_SNAPSHOT_INITIAL_STATE_H
#define PAGESTOW_SNAPSHOT_INITIAL_STATE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "snapshot/image.h"
#include "snapshot/layout.h"

namespace pagestow {

// ---------------------------------------------------------------------------
// Register header. 16-bit registers are stored low byte first; in AF the
// flags F come first and the accumulator A second.

struct RegisterField {
  std::size_t offset;
  std::size_t width;
  std::uint16_t value;
};

// clang-format off
inline constexpr RegisterField initial_registers[] = {
    { 0, 1, 0x3F},    // I
    { 1, 2, 0xFF58},  // HL'
    { 3, 2, 0x5CB9},  // DE'
    { 5, 2, 0xFFFF},  // BC'
    { 7, 2, 0x0044},  // AF': A' = 0x00, F' = 0x44
    { 9, 2, 0x107F},  // HL
    {11, 2, 0x0006},  // DE
    {13, 2, 0x174B},  // BC
    {15, 2, 0x5C3A},  // IY: at ERR_NR, where BASIC keeps it
    {17, 2, 0x03D4},  // IX
    {19, 1, 0x04},    // interrupt byte: bit 2 is IFF2, interrupts enabled
    {20, 1, 0xE0},    // R
    {21, 2, 0x005C},  // AF: A = 0x00, F = 0x5C
    {23, 2, 0x5DB4},  // SP: into the machine stack below RAMTOP
    {25, 1, 1},       // interrupt mode 1
    {26, 1, 0},       // border colour: black
};
// clang-format on

// The header bytes in file order, built from the fields above.
constexpr std::array<std::uint8_t, header_size> build_header(std::span<const RegisterField> fields) {
  std::array<std::uint8_t, header_size> header{};
  for (const RegisterField& field : fields) {
    header[field.offset] = static_cast<std::uint8_t>(field.value & 0xFF);
    if (field.width == 2) {
      header[field.offset + 1] = static_cast<std::uint8_t>(field.value >> 8);
    }
  }
  return header;
}

// True when the fields follow one another without gap or overlap and fill
// the header exactly.
constexpr bool fields_tile_header(std::span<const RegisterField> fields) {
  std::size_t next = 0;
  for (const RegisterField& field : fields) {
    if (field.offset != next || (field.width != 1 && field.width != 2)) {
      return false;
    }
    next += field.width;
  }
  return next == header_size;
}

static_assert(fields_tile_header(initial_registers));

inline constexpr std::array<std::uint8_t, header_size> initial_header = build_header(initial_registers);

// ---------------------------------------------------------------------------
// Screen attributes: one byte per 8x8 character cell, 32 x 24 cells.

inline constexpr std::uint32_t attributes_address = 0x5800;
inline constexpr std::size_t attributes_size = 768;
inline constexpr std::uint8_t initial_attribute = 0x07;  // white ink, black paper, not bright or flashing

// ---------------------------------------------------------------------------
// System block, 0x5C00-0x5DC0: the system variables of 48 KB BASIC, the
// channel records for K, S, R and P, and the machine stack. Only the runs
// below hold anything other than zero. Rows name the system variables by
// their usual names.

inline constexpr std::uint32_t system_block_address = 0x5C00;
inline constexpr std::uint32_t system_block_last_address = 0x5DC0;
inline constexpr std::size_t system_block_size = system_block_last_address - system_block_address + 1;

// clang-format off
inline constexpr std::array<std::uint8_t, 11> keyboard_variables = {
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,  // 0x5C00 KSTATE: both key slots free
    0x00,                                            // 0x5C08 LAST_K
    0x23,                                            // 0x5C09 REPDEL
    0x05,                                            // 0x5C0A REPPER
};

inline constexpr std::array<std::uint8_t, 13> stream_table = {
    0x01, 0x00,  // 0x5C10 STRMS: stream -3 (FD) to channel K
    0x06, 0x00,  // 0x5C12 stream -2 (FE) to channel S
    0x0B, 0x00,  // 0x5C14 stream -1 (FF) to channel R
    0x01, 0x00,  // 0x5C16 stream 0 to channel K
    0x01, 0x00,  // 0x5C18 stream 1 to channel K
    0x06, 0x00,  // 0x5C1A stream 2 to channel S
    0x10,        // 0x5C1C stream 3 to channel P (its high byte, 0x5C1D, is zero)
};

inline constexpr std::array<std::uint8_t, 8> display_variables = {
    0x3C,        // 0x5C37 CHARS high byte: the ROM font, less 256, at 0x3C00
    0x40,        // 0x5C38 RASP
    0x00,        // 0x5C39 PIP
    0x00,        // 0x5C3A ERR_NR
    0x00,        // 0x5C3B FLAGS
    0x21,        // 0x5C3C TV_FLAG
    0xB8, 0x5D,  // 0x5C3D ERR_SP
};

inline constexpr std::array<std::uint8_t, 36> basic_pointers = {
    0x38,        // 0x5C48 BORDCR
    0x00, 0x00,  // 0x5C49 E_PPC
    0xCB, 0x5C,  // 0x5C4B VARS
    0x00, 0x00,  // 0x5C4D DEST
    0xB6, 0x5C,  // 0x5C4F CHANS: the channel records at 0x5CB6
    0xB6, 0x5C,  // 0x5C51 CURCHL
    0xCB, 0x5C,  // 0x5C53 PROG
    0x00, 0x00,  // 0x5C55 NXTLIN
    0xCA, 0x5C,  // 0x5C57 DATADD
    0xCC, 0x5C,  // 0x5C59 E_LINE
    0xCC, 0x5C,  // 0x5C5B K_CUR
    0x00, 0x00,  // 0x5C5D CH_ADD
    0x00, 0x00,  // 0x5C5F X_PTR
    0xCE, 0x5C,  // 0x5C61 WORKSP
    0xCE, 0x5C,  // 0x5C63 STKBOT
    0xCE, 0x5C,  // 0x5C65 STKEND
    0x00,        // 0x5C67 BREG
    0x92, 0x5C,  // 0x5C68 MEM: the calculator's memory at MEMBOT
    0x10,        // 0x5C6A FLAGS2
    0x02,        // 0x5C6B DF_SZ
};

inline constexpr std::array<std::uint8_t, 24> print_variables = {
    0xAD, 0x00, 0x00,  // 0x5C78 FRAMES
    0x58, 0xFF,        // 0x5C7B UDG
    0x00, 0x00,        // 0x5C7D COORDS
    0x21,              // 0x5C7F P_POSN
    0x00, 0x5B,        // 0x5C80 PR_CC
    0x05, 0x17,        // 0x5C82 ECHO_E
    0x00, 0x40,        // 0x5C84 DF_CC
    0xFC, 0x50,        // 0x5C86 DF_CCL
    0x21, 0x18,        // 0x5C88 S_POSN
    0x05, 0x17,        // 0x5C8A SPOSNL
    0x01,              // 0x5C8C SCR_CT
    0x38,              // 0x5C8D ATTR_P
    0x00,              // 0x5C8E MASK_P
    0x38,              // 0x5C8F ATTR_T
};

inline constexpr std::array<std::uint8_t, 28> ramtop_and_channels = {
    0xBF, 0x5D,                    // 0x5CB2 RAMTOP
    0xFF, 0xFF,                    // 0x5CB4 P_RAMT
    0xF4, 0x09, 0xA8, 0x10, 0x4B,  // 0x5CB6 channel K: output, input, letter
    0xF4, 0x09, 0xC4, 0x15, 0x53,  // 0x5CBB channel S
    0x81, 0x0F, 0xC4, 0x15, 0x52,  // 0x5CC0 channel R
    0xF4, 0x09, 0xC4, 0x15, 0x50,  // 0x5CC5 channel P
    0x80,                          // 0x5CCA end of the channel records
    0x80,                          // 0x5CCB no program, no variables
    0x0D, 0x80,                    // 0x5CCC an empty editing line
};

inline constexpr std::array<std::uint8_t, 34> machine_stack = {
    0xDB, 0x02, 0xDB, 0x02, 0x7C, 0x38, 0xD4, 0x03,  // 0x5D9E
    0x4D, 0x00, 0xA8, 0x5C, 0xFF, 0xFF, 0xB8, 0x5C,  // 0x5DA6
    0x5C, 0x00, 0xFE, 0x15, 0x58, 0xFF, 0xE1, 0x15,  // 0x5DAE, SP points at 0x5DB4
    0x3B, 0x0F, 0x7F, 0x10, 0xBC, 0x5D, 0xB4, 0x12,  // 0x5DB6, ERR_SP at 0x5DB8
    0x00, 0x3E,                                      // 0x5DBE, RAMTOP at 0x5DBF
};
// clang-format on

struct SystemRun {
  std::uint32_t first_address;
  std::uint32_t last_address;
  std::span<const std::uint8_t> bytes;
};

// clang-format off
inline constexpr SystemRun system_runs[] = {
    {0x5C00, 0x5C0A, keyboard_variables},
    {0x5C10, 0x5C1C, stream_table},
    {0x5C37, 0x5C3E, display_variables},
    {0x5C48, 0x5C6B, basic_pointers},
    {0x5C78, 0x5C8F, print_variables},
    {0x5CB2, 0x5CCD, ramtop_and_channels},
    {0x5D9E, 0x5DBF, machine_stack},
};
// clang-format on

// True when every run fills exactly its address range, the runs ascend
// without overlap and all of them lie inside the block.
constexpr bool runs_fit_block(std::span<const SystemRun> runs) {
  std::uint32_t next_free = system_block_address;
  for (const SystemRun& run : runs) {
    if (run.first_address < next_free || run.last_address < run.first_address ||
        run.last_address - run.first_address + 1 != run.bytes.size() || run.last_address > system_block_last_address) {
      return false;
    }
    next_free = run.last_address + 1;
  }
  return true;
}

static_assert(runs_fit_block(system_runs));

constexpr std::array<std::uint8_t, system_block_size> build_system_block(std::span<const SystemRun> runs) {
  std::array<std::uint8_t, system_block_size> block{};
  for (const SystemRun& run : runs) {
    for (std::size_t i = 0; i < run.bytes.size(); ++i) {
      block[run.first_address - system_block_address + i] = run.bytes[i];
    }
  }
  return block;
}

inline constexpr std::array<std::uint8_t, system_block_size> initial_system_block = build_system_block(system_runs);

static_assert(system_block_size == 449);
static_assert(attributes_address + attributes_size <= system_block_address);
static_assert(system_block_last_address < first_paged_out_address);

// Lays the initial machine state into a freshly created image.
void apply_initial_state(SnapshotImage& image);

}  // namespace pagestow

#endif
