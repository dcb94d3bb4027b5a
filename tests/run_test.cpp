#include "cli/run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "snapshot/image.h"
#include "snapshot/initial_state.h"
#include "tests/test_files.h"

namespace pagestow::testing {
namespace {

// What reaches standard output, written out byte for byte: every "\n\r" of a
// message arrives as CR LF CR.
const std::string usage_output =
    "\r\n\r= Pagestow v0.1 by the pagestow authors =\r\n\r"
    "=========================================\r\n\r"
    "\r\n\rUse:\r\n\rpagestow output.sna {PC} input1 {dest_adr} [input {dest_adr}]*\r\n\r"
    "\r\n\rExample:\r\n\rpagestow 128game.sna 24200 program.bin 24200 page17.b 65536 page19.b 81920\r\n\r\n\r";
const std::string pc_message = "\r\n\rincorrect address in PC register...\r\n\r";
const std::string create_message = "\r\n\rcannot create output...\r\n\r";
const std::string write_message = "\r\n\rcannot write output...\r\n\r";

std::string not_found(const std::string& path) { return "\r\n\rfile " + path + " not found..."; }
std::string bad_destination(const std::string& path) {
  return "\r\n\rincorrect destination address for file " + path + "...";
}
std::string no_destination(const std::string& path) {
  return "\r\n\rmissing destination address for file " + path + "...";
}
std::string unreadable(const std::string& path) { return "\r\n\rcannot read file " + path + "..."; }

// The image offset of an extended address, from the file layout: 27 bytes of
// header before 0x4000, and 4 more of trailer before 0x10000.
std::size_t image_offset(std::uint32_t address) { return address < 65536 ? address - 16357 : address - 16353; }

constexpr std::size_t trailer = 49179;

// Lays the first `count` bytes where the tool must put them: byte k at
// extended address `address` + k.
void place_expected(Bytes& snapshot, std::uint32_t address, const Bytes& bytes, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    snapshot[image_offset(address + static_cast<std::uint32_t>(k))] = bytes[k];
  }
}

class Run : public ::testing::Test {
 protected:
  ScratchFolder folder;
  const std::string output = folder.path("out.sna");

  std::string input(const std::string& name, const Bytes& bytes) const {
    const std::string path = folder.path(name);
    write_file(path, bytes);
    return path;
  }

  // The snapshot of a run in which nothing was placed.
  static Bytes untouched_snapshot(std::uint16_t pc) {
    SnapshotImage image;
    apply_initial_state(image);
    write_trailer(image, pc);
    return Bytes(image.bytes.begin(), image.bytes.end());
  }
};

TEST_F(Run, TooFewArgumentsShowUsageAndCreateNothing) {
  const std::string in = input("in.bin", pattern(10, 1));
  const std::vector<std::vector<std::string>> cases = {
      {}, {output}, {output, "24200"}, {output, "24200", in}, {"--help"}, {output, "--help", in}};
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments.size());
    const RunOutcome outcome = run_in_process(arguments);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, usage_output);
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

TEST_F(Run, BannerTitleIsUnderlinedToItsLength) {
  const std::string banner = usage_output.substr(0, usage_output.find("\r\n\r\r\n\rUse:"));
  const std::string title = banner.substr(3, banner.find('\r', 3) - 3);
  const std::string rule = banner.substr(3 + title.size() + 3);
  EXPECT_EQ(title.rfind("= Pagestow v0.1 by ", 0), 0U);
  EXPECT_EQ(title.substr(title.size() - 2), " =");
  EXPECT_EQ(rule, std::string(title.size(), '='));
}

TEST_F(Run, ExampleCommandLinePlacesEachFileAtItsAddress) {
  const Bytes program = pattern(3000, 1);
  const Bytes page17 = pattern(16384, 2);
  const Bytes page19 = pattern(700, 3);
  const RunOutcome outcome = run_in_process({output, "24200", input("program.bin", program), "24200",
                                             input("page17.b", page17), "65536", input("page19.b", page19), "81920"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "");
  const Bytes snapshot = read_file(output);
  ASSERT_EQ(snapshot.size(), 131103U);
  EXPECT_EQ(Bytes(snapshot.begin() + 7843, snapshot.begin() + 7843 + 3000), program);
  EXPECT_EQ(Bytes(snapshot.begin() + 49183, snapshot.begin() + 49183 + 16384), page17);
  EXPECT_EQ(Bytes(snapshot.begin() + 65567, snapshot.begin() + 65567 + 700), page19);
  EXPECT_EQ(Bytes(snapshot.begin() + trailer, snapshot.begin() + trailer + 4), (Bytes{0x88, 0x5E, 0x10, 0x00}));
}

TEST_F(Run, DestinationsAreAcceptedFrom16384To131072) {
  struct Case {
    const char* text;
    bool accepted;
    std::uint32_t address;
  };
  const Case cases[] = {
      {"16384", true, 16384},      {"131072", true, 131072}, {"65535", true, 65535},   {"65536", true, 65536},
      {" +40000xyz", true, 40000}, {"16383", false, 0},      {"131073", false, 0},     {"-1", false, 0},
      {"0x4000", false, 0},        {"", false, 0},           {"4294983680", false, 0}, {"-4294950912", false, 0},
  };
  const Bytes bytes = pattern(3, 7);
  const std::string in = input("in.bin", bytes);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const RunOutcome outcome = run_in_process({output, "24200", in, c.text});
    EXPECT_EQ(outcome.status, 0);
    Bytes expected = untouched_snapshot(24200);
    if (c.accepted) {
      EXPECT_EQ(outcome.output, "");
      place_expected(expected, c.address, bytes, bytes.size());
    } else {
      EXPECT_EQ(outcome.output, bad_destination(in));
    }
    EXPECT_TRUE(read_file(output) == expected);
  }
}

TEST_F(Run, ProgramCounterOutsideRamFallsBackTo4535) {
  struct Case {
    const char* text;
    std::uint8_t low, high;
    bool reported;
  };
  const Case cases[] = {
      {"16384", 0x00, 0x40, false}, {"65535", 0xFF, 0xFF, false}, {"24200junk", 0x88, 0x5E, false},
      {"16383", 0xB7, 0x11, true},  {"65536", 0xB7, 0x11, true},  {"0", 0xB7, 0x11, true},
      {"start", 0xB7, 0x11, true},  {"-49152", 0xB7, 0x11, true}, {"4295032831", 0xB7, 0x11, true},
  };
  const std::string in = input("in.bin", pattern(5, 3));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const RunOutcome outcome = run_in_process({output, c.text, in, "32768"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, c.reported ? pc_message : "");
    const Bytes snapshot = read_file(output);
    ASSERT_EQ(snapshot.size(), 131103U);
    EXPECT_EQ(Bytes(snapshot.begin() + trailer, snapshot.begin() + trailer + 4), (Bytes{c.low, c.high, 0x10, 0x00}));
  }
}

TEST_F(Run, MessagesComeInOrderAndThePcLast) {
  const std::string good = input("good.bin", pattern(4, 1));
  const std::string missing = folder.path("missing.bin");
  const RunOutcome outcome =
      run_in_process({output, "1", missing, "junk", good, "99", missing, "16384", good, "16384", good});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output,
            not_found(missing) + bad_destination(good) + not_found(missing) + no_destination(good) + pc_message);
}

TEST_F(Run, LaterPairWinsWhereTheyOverlap) {
  // Both land on the screen attributes, over the initial state.
  const Bytes first = pattern(100, 1);
  const Bytes second = pattern(50, 2);
  const std::string a = input("a.bin", first);
  const std::string b = input("b.bin", second);
  struct Case {
    const char* name;
    std::vector<std::string> pairs;
    Bytes expected;  // image offsets 6171-6271
  };
  Bytes a_then_b(first);
  std::copy(second.begin(), second.end(), a_then_b.begin() + 50);
  a_then_b.push_back(0x07);
  Bytes b_then_a(first);
  b_then_a.push_back(0x07);
  const Case cases[] = {{"a then b", {a, "22528", b, "22578"}, a_then_b},
                        {"b then a", {b, "22578", a, "22528"}, b_then_a}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> arguments{output, "24200"};
    arguments.insert(arguments.end(), c.pairs.begin(), c.pairs.end());
    ASSERT_EQ(run_in_process(arguments).status, 0);
    const Bytes snapshot = read_file(output);
    EXPECT_EQ(Bytes(snapshot.begin() + 6171, snapshot.begin() + 6272), c.expected);
  }
}

// Every byte k of an input lands at extended address destination + k, at
// most as many as the limit, and the trailer keeps the program counter.
TEST_F(Run, InputsLandAtTheirExtendedAddressesUpToTheLimit) {
  struct Case {
    const char* name;
    std::uint32_t destination;
    std::size_t input_size;
    std::size_t placed;
  };
  constexpr Case cases[] = {
      {"48 KB from 16384 ends at 65535", 16384, 60000, 49152},
      {"across the trailer into bank 1", 32768, 60000, 49152},
      {"a few bytes across the trailer", 65531, 10, 10},
      {"banks 1, 3 and 4", 65536, 60000, 49152},
      {"banks 6 and 7 to the end", 114688, 60000, 32768},
      {"last start, bank 7", 131072, 60000, 16384},
      {"empty input", 40000, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes bytes = pattern(c.input_size, c.destination);
    const RunOutcome outcome = run_in_process({output, "24200", input("in.bin", bytes), std::to_string(c.destination)});
    EXPECT_EQ(outcome.output, "");
    Bytes expected = untouched_snapshot(24200);
    place_expected(expected, c.destination, bytes, c.placed);
    const Bytes snapshot = read_file(output);
    ASSERT_EQ(snapshot.size(), 131103U);
    EXPECT_EQ(Bytes(snapshot.begin() + trailer, snapshot.begin() + trailer + 4), (Bytes{0x88, 0x5E, 0x10, 0x00}));
    EXPECT_TRUE(snapshot == expected);
  }
}

TEST_F(Run, EndlessInputIsReadOnlyToItsLimit) {
  const RunOutcome outcome = run_in_process({output, "24200", "/dev/zero", "16384"});
  EXPECT_EQ(outcome.output, "");
  Bytes expected = untouched_snapshot(24200);
  std::fill(expected.begin() + 27, expected.begin() + trailer, 0);
  EXPECT_TRUE(read_file(output) == expected);
}

TEST_F(Run, InputsThatCannotBeOpenedAreReportedAndSkipped) {
  std::filesystem::create_directory(folder.path("folder"));
  std::vector<std::string> unopenable = {folder.path("missing.bin"), folder.path("folder"), "",
                                         folder.path("missing/inner.bin")};
  if (::geteuid() != 0) {  // root reads any file whatever its mode
    const std::string locked = input("locked.bin", pattern(8, 1));
    ::chmod(locked.c_str(), 0);
    unopenable.push_back(locked);
  }
  for (const std::string& path : unopenable) {
    SCOPED_TRACE(path);
    const RunOutcome outcome = run_in_process({output, "24200", path, "16384"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, not_found(path));
    EXPECT_TRUE(read_file(output) == untouched_snapshot(24200));
  }
}

TEST_F(Run, InputsAreOpenedForReadingOnly) {
  // Not even root may open a running executable for writing (ETXTBSY), so an
  // input opened for anything more than reading would be reported missing.
  const std::string running = std::filesystem::read_symlink("/proc/self/exe").string();
  const int writable = ::open(running.c_str(), O_RDWR);
  if (writable >= 0) {
    ::close(writable);
    GTEST_SKIP() << "this system lets a running executable be opened for writing";
  }
  const RunOutcome outcome = run_in_process({output, "24200", running, "16384"});
  EXPECT_EQ(outcome.output, "");
  const Bytes executable = read_file(running);
  ASSERT_GE(executable.size(), 49152U);
  const Bytes snapshot = read_file(output);
  EXPECT_TRUE(Bytes(snapshot.begin() + 27, snapshot.begin() + trailer) ==
              Bytes(executable.begin(), executable.begin() + 49152));
}

TEST_F(Run, PathsAreUsedAndPrintedAsGiven) {
  const std::vector<std::string> names = {"with space.bin", "-leading-dash", "caf\xC3\xA9.bin", "\xFF\xFE.bin"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const Bytes bytes = pattern(6, 9);
    const std::string present = input(name, bytes);
    const std::string absent = folder.path("no " + name);
    const RunOutcome outcome = run_in_process({output, "24200", absent, "16384", present, "16384"});
    EXPECT_EQ(outcome.output, not_found(absent));
    const Bytes snapshot = read_file(output);
    EXPECT_EQ(Bytes(snapshot.begin() + 27, snapshot.begin() + 33), bytes);
  }
}

TEST_F(Run, OutputNamedAgainAsInputIsEmptyWhenRead) {
  write_file(output, pattern(1000, 4));  // what an earlier run left there
  const RunOutcome outcome = run_in_process({output, "24200", output, "16384"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "");
  EXPECT_TRUE(read_file(output) == untouched_snapshot(24200));
}

TEST_F(Run, EveryPairFailingStillWritesTheInitialState) {
  const RunOutcome outcome = run_in_process({output, "0", folder.path("a"), "16384", folder.path("b"), "16384"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, not_found(folder.path("a")) + not_found(folder.path("b")) + pc_message);
  EXPECT_TRUE(read_file(output) == untouched_snapshot(4535));
}

TEST_F(Run, OutputThatCannotBeCreatedStopsBeforeAnyInput) {
  std::filesystem::create_directory(folder.path("folder"));
  const std::vector<std::string> outputs = {folder.path("missing/out.sna"), folder.path("folder"), ""};
  for (const std::string& path : outputs) {
    SCOPED_TRACE(path);
    // A missing input and a bad PC would be reported if the run went on.
    const RunOutcome outcome = run_in_process({path, "0", folder.path("missing.bin"), "16384"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, create_message);
  }
}

TEST_F(Run, FailedWriteOfTheOutputIsReported) {
  const std::string in = input("in.bin", pattern(10, 1));
  const RunOutcome outcome = run_in_process({"/dev/full", "0", in, "16384"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, pc_message + write_message);
}

TEST_F(Run, ReadErrorPartWayIsReportedAndTheRunGoesOn) {
  // /proc/self/mem opens, but reading the unmapped page at address 0 fails.
  if (!std::filesystem::exists("/proc/self/mem")) {
    GTEST_SKIP() << "no /proc/self/mem on this system";
  }
  const Bytes bytes = pattern(20, 5);
  const std::string good = input("good.bin", bytes);
  const RunOutcome outcome = run_in_process({output, "24200", "/proc/self/mem", "16384", good, "32768"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, unreadable("/proc/self/mem"));
  const Bytes snapshot = read_file(output);
  ASSERT_EQ(snapshot.size(), 131103U);
  EXPECT_EQ(Bytes(snapshot.begin() + 16411, snapshot.begin() + 16431), bytes);
}

TEST_F(Run, TrailingInputWithoutDestinationIsLeftOut) {
  const Bytes bytes = pattern(12, 6);
  const std::string placed = input("placed.bin", bytes);
  const std::string trailing = input("trailing.bin", pattern(12, 7));
  const std::string missing = folder.path("missing.bin");
  Bytes expected = untouched_snapshot(24200);
  std::copy(bytes.begin(), bytes.end(), expected.begin() + 16411);
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {{trailing, no_destination(trailing)}, {missing, not_found(missing)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const RunOutcome outcome = run_in_process({output, "24200", placed, "32768", c.path});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, c.message);
    EXPECT_TRUE(read_file(output) == expected);
  }
}

}  // namespace
}  // namespace pagestow::testing
