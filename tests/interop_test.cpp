// Snapshots the tool wrote, read back by libspectrum, the snapshot library of
// the Fuse emulator: the library finds out the format itself and reports the
// machine, the registers and the RAM banks by number. Nothing here uses the
// tool's own offsets; what each bank should hold is worked out from the
// Spectrum 128 memory map.
#include <gtest/gtest.h>
#include <libspectrum.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "snapshot/initial_state.h"
#include "tests/test_files.h"

namespace pagestow::testing {
namespace {

constexpr std::size_t bank_count = 8;
constexpr std::size_t bank_bytes = 16384;
using Banks = std::array<Bytes, bank_count>;

// Where a byte of the extended address range lives: the visible 48 KB are
// banks 5, 2 and 0; above them come banks 1, 3, 4, 6 and 7.
struct BankByte {
  std::size_t bank;
  std::size_t offset;
};

BankByte locate(std::uint32_t address) {
  constexpr std::size_t visible[] = {5, 2, 0};
  constexpr std::size_t paged_out[] = {1, 3, 4, 6, 7};
  const std::size_t offset = address % bank_bytes;
  if (address < 0x10000) {
    return {visible[address / bank_bytes - 1], offset};
  }
  return {paged_out[(address - 0x10000) / bank_bytes], offset};
}

// The banks of a freshly started machine: all zero but for the screen
// attributes and the system block, both in bank 5 (0x4000 upward).
Banks initial_banks() {
  Banks banks;
  for (Bytes& bank : banks) {
    bank.assign(bank_bytes, 0);
  }
  std::fill_n(banks[5].begin() + (0x5800 - 0x4000), 768, std::uint8_t{0x07});
  std::copy(initial_system_block.begin(), initial_system_block.end(), banks[5].begin() + (0x5C00 - 0x4000));
  return banks;
}

struct Placement {
  std::uint32_t destination;
  std::size_t size;   // of the input file
  std::size_t lands;  // how many of its bytes the snapshot holds
};

// libspectrum's reader, owned for the length of a test. The library tells a
// 128 KB SNA snapshot by its size together with the ".sna" ending of its name,
// so the name goes along with the bytes, as it does when an emulator opens a file.
class LoadedSnapshot {
 public:
  explicit LoadedSnapshot(const std::string& path) : snap_(libspectrum_snap_alloc()) {
    const Bytes file = read_file(path);
    error_ = libspectrum_snap_read(snap_, file.data(), file.size(), LIBSPECTRUM_ID_UNKNOWN, path.c_str());
  }
  LoadedSnapshot(const LoadedSnapshot&) = delete;
  LoadedSnapshot& operator=(const LoadedSnapshot&) = delete;
  ~LoadedSnapshot() { libspectrum_snap_free(snap_); }

  bool loaded() const { return error_ == LIBSPECTRUM_ERROR_NONE; }
  libspectrum_snap* get() const { return snap_; }

 private:
  libspectrum_snap* snap_;
  libspectrum_error error_;
};

class Interop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(libspectrum_init(), LIBSPECTRUM_ERROR_NONE); }

  ScratchFolder folder;

  // Runs the tool with `pc` and one input file per placement (the seed of its
  // pattern is its position), then checks what the library reads.
  void check(const std::string& pc, const std::vector<Placement>& placements, std::uint16_t expected_pc,
             const std::vector<std::string>& extra_arguments = {}) {
    const std::string output = folder.path("out.sna");
    std::vector<std::string> arguments = {output, pc};
    Banks expected = initial_banks();
    for (std::size_t i = 0; i < placements.size(); ++i) {
      const Placement& placement = placements[i];
      const Bytes bytes = pattern(placement.size, static_cast<unsigned>(i + 1));
      const std::string path = folder.path("input" + std::to_string(i) + ".bin");
      write_file(path, bytes);
      arguments.insert(arguments.end(), {path, std::to_string(placement.destination)});
      for (std::size_t k = 0; k < placement.lands; ++k) {
        const BankByte at = locate(placement.destination + static_cast<std::uint32_t>(k));
        expected[at.bank][at.offset] = bytes[k];
      }
    }
    arguments.insert(arguments.end(), extra_arguments.begin(), extra_arguments.end());
    const RunOutcome outcome = run_in_process(arguments);
    ASSERT_EQ(outcome.status, 0);
    for (std::size_t i = 0; i < placements.size(); ++i) {  // every placement listed here is accepted
      EXPECT_EQ(outcome.output.find(arguments[2 + 2 * i]), std::string::npos) << outcome.output;
    }

    const LoadedSnapshot snap(output);
    ASSERT_TRUE(snap.loaded());
    check_machine(snap.get(), expected_pc);
    for (std::size_t bank = 0; bank < bank_count; ++bank) {
      SCOPED_TRACE("bank " + std::to_string(bank));
      const libspectrum_byte* page = libspectrum_snap_pages(snap.get(), static_cast<int>(bank));
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(Bytes(page, page + bank_bytes), expected[bank]);
    }
  }

  static void check_machine(libspectrum_snap* snap, std::uint16_t pc) {
    const libspectrum_machine machine = libspectrum_snap_machine(snap);
    EXPECT_TRUE(libspectrum_machine_capabilities(machine) & LIBSPECTRUM_MACHINE_CAPABILITY_128_MEMORY)
        << libspectrum_machine_name(machine);
    EXPECT_EQ(libspectrum_snap_pc(snap), pc);
    EXPECT_EQ(libspectrum_snap_out_128_memoryport(snap), 0x10);  // ROM 1, bank 0, paging not locked

    struct Register {
      const char* name;
      unsigned actual;
      unsigned expected;
    };
    // clang-format off
    const Register registers[] = {
        {"I",   libspectrum_snap_i(snap),   0x3F},
        {"HL'", libspectrum_snap_hl_(snap), 0xFF58},
        {"DE'", libspectrum_snap_de_(snap), 0x5CB9},
        {"BC'", libspectrum_snap_bc_(snap), 0xFFFF},
        {"A'",  libspectrum_snap_a_(snap),  0x00},
        {"F'",  libspectrum_snap_f_(snap),  0x44},
        {"HL",  libspectrum_snap_hl(snap),  0x107F},
        {"DE",  libspectrum_snap_de(snap),  0x0006},
        {"BC",  libspectrum_snap_bc(snap),  0x174B},
        {"IY",  libspectrum_snap_iy(snap),  0x5C3A},
        {"IX",  libspectrum_snap_ix(snap),  0x03D4},
        {"IFF1", libspectrum_snap_iff1(snap), 1},
        {"IFF2", libspectrum_snap_iff2(snap), 1},
        {"R",   libspectrum_snap_r(snap),   0xE0},
        {"A",   libspectrum_snap_a(snap),   0x00},
        {"F",   libspectrum_snap_f(snap),   0x5C},
        {"SP",  libspectrum_snap_sp(snap),  0x5DB4},
        {"IM",  libspectrum_snap_im(snap),  1},
        {"border", libspectrum_snap_out_ula(snap) & 0x07u, 0},
    };
    // clang-format on
    for (const Register& r : registers) {
      EXPECT_EQ(r.actual, r.expected) << r.name;
    }
  }
};

TEST_F(Interop, UsageExampleCommandLine) {
  check("24200", {{24200, 34, 34}, {65536, 6912, 6912}, {81920, 6912, 6912}}, 24200);
}

TEST_F(Interop, APlacementInEveryBank) {
  check("32768",
        {
            {16384 + 1000, 500, 500},    // bank 5
            {32768, 16384, 16384},       // all of bank 2
            {49152 + 7, 300, 300},       // bank 0
            {65536 + 3, 1000, 1000},     // bank 1
            {81920 + 100, 2000, 2000},   // bank 3
            {98304, 16384, 16384},       // all of bank 4
            {131072, 20000, 16384},      // the last start accepted: cut at the end of bank 7
            {114688 + 16000, 900, 900},  // from the end of bank 6 over the start of bank 7
        },
        32768);
}

TEST_F(Interop, PlacementAcrossTheTopOfVisibleMemory) {
  // The bytes above 65535 continue at the start of bank 1.
  check("16384", {{65535 - 2000, 5000, 5000}, {65535, 1, 1}}, 16384);
}

TEST_F(Interop, BadPcFallsBackToNew) { check("65536", {{24200, 34, 34}}, 0x11B7); }

TEST_F(Interop, EveryPairFailedLeavesTheInitialState) {
  // One input is missing and one has a destination below RAM.
  const std::string in = folder.path("real.bin");
  write_file(in, pattern(100, 9));
  check("24200", {}, 24200, {folder.path("missing.bin"), "24200", in, "16383"});
}

}  // namespace
}  // namespace pagestow::testing
