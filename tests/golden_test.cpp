// The same command lines run by this build and by each release executable,
// taken out of its archive (the static Linux one, the aarch64 one under
// qemu-user, pagestow.exe under Wine), each in a fresh copy of the same
// folder: the exit status, every byte on standard output and every file left
// in the folder must be the same. Cases that only Linux can set up (a full
// disk, closed descriptors) are in process_test.cpp.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_files.h"

namespace pagestow::testing {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* name;
  std::vector<std::string> arguments;
};

// Test names show the case's name rather than its bytes.
void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

// Every run starts in a folder holding these files, a folder "folder" and a
// folder "sub" with sub/inner.bin in it.
// clang-format off
const std::map<std::string, std::size_t> fixture_sizes = {
    {"program.bin", 34}, {"page17.b", 6912}, {"page19.b", 6912}, {"big.bin", 60000}, {"empty.bin", 0},
    {"with space.bin", 99}, {"\xC3\xA9" "cran.bin", 500}, {"sub/inner.bin", 77},
    {"old.sna", 200000},
};

const GoldenCase cases[] = {
    {"NoArguments",               {}},
    {"ThreeArguments",            {"out.sna", "24200", "program.bin"}},
    {"UsageExample",              {"out.sna", "24200", "program.bin", "24200", "page17.b", "65536", "page19.b", "81920"}},
    {"InputNotFound",             {"out.sna", "24200", "missing.bin", "24200", "program.bin", "24200"}},
    {"NotFoundWithBadDestination", {"out.sna", "24200", "missing.bin", "99"}},
    {"FolderAsInput",             {"out.sna", "24200", "folder", "24200"}},
    {"EmptyNameAsInput",          {"out.sna", "24200", "", "24200"}},
    {"DestinationsOutOfRange",    {"out.sna", "24200", "program.bin", "16383", "page17.b", "131073", "page19.b", "-1"}},
    {"DestinationsAsText",        {"out.sna", "24200", "program.bin", " \t24200abc", "page17.b", "+65536", "page19.b", "0x4000",
                                   "big.bin", "", "with space.bin", "99999999999"}},
    {"BoundaryDestinations",      {"out.sna", "16384", "big.bin", "16384", "page17.b", "65535", "page19.b", "131072",
                                   "program.bin", "147455"}},
    {"AcrossTheTrailer",          {"out.sna", "65535", "big.bin", "32768", "program.bin", "65531"}},
    {"CutAtTheEndOfBank7",        {"out.sna", "24200", "big.bin", "131072"}},
    {"OverlappingPairs",          {"out.sna", "24200", "page17.b", "24190", "program.bin", "24200", "page19.b", "24210"}},
    {"PcTooLow",                  {"out.sna", "16383", "program.bin", "24200"}},
    {"PcTooHigh",                 {"out.sna", "65536", "program.bin", "24200"}},
    {"PcAsText",                  {"out.sna", "0x8000", "program.bin", "24200", "missing.bin", "1"}},
    {"PcHuge",                    {"out.sna", "-99999999999", "program.bin", "24200"}},
    {"PcLimits",                  {"out.sna", "65535", "program.bin", "16384"}},
    {"TrailingInput",             {"out.sna", "24200", "program.bin", "24200", "page17.b"}},
    {"TrailingMissingInput",      {"out.sna", "24200", "program.bin", "24200", "missing.bin"}},
    {"MissingOutputFolder",       {"nowhere/out.sna", "24200", "program.bin", "24200"}},
    {"OutputIsAFolder",           {"folder", "24200", "program.bin", "24200"}},
    {"OutputAlsoAnInput",         {"out.sna", "24200", "out.sna", "24200", "program.bin", "30000"}},
    {"OutputLongerBefore",        {"old.sna", "24200", "program.bin", "24200"}},
    {"OutputOverAnInput",         {"page17.b", "24200", "page17.b", "65536", "program.bin", "24200"}},
    {"EmptyInput",                {"out.sna", "24200", "empty.bin", "24200"}},
    {"PathsWithSpacesAndFolders", {"my snapshot.sna", "24200", "with space.bin", "24200", "sub/inner.bin", "98304"}},
    {"NonAsciiPaths",             {"\xC3\xA9" "cran.sna", "24200", "\xC3\xA9" "cran.bin", "65536",
                                   "\xC3\xBC" "ber \xE2\x82\xAC.bin", "24200"}},
    {"PercentSInAName",           {"out.sna", "24200", "100%s.bin", "24200", "a%s%s.bin", "1"}},
};
// clang-format on

void lay_out_fixtures(const fs::path& folder) {
  fs::create_directory(folder / "folder");
  fs::create_directory(folder / "sub");
  unsigned seed = 0;
  for (const auto& [name, size] : fixture_sizes) {
    write_file((folder / name).string(), pattern(size, ++seed));
  }
}

// Every file and folder under `folder`, with the bytes of each file.
std::map<std::string, std::string> contents_of(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      contents[name] = "(folder)";
    } else {
      const Bytes bytes = read_file(entry.path().string());
      contents[name] = std::string(bytes.begin(), bytes.end());
    }
  }
  return contents;
}

struct Outcome {
  int status = -1;
  std::string output;
  std::map<std::string, std::string> files;
};

// Starts `command` in `folder` with standard input empty, standard output
// into `capture` and standard error (where Wine talks) thrown away.
Outcome run_in(const fs::path& folder, const std::vector<std::string>& command, const fs::path& capture) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  std::vector<std::string> strings = command;
  std::vector<char*> argv;
  for (std::string& s : strings) {
    argv.push_back(s.data());
  }
  argv.push_back(nullptr);
  pid_t child = -1;
  Outcome outcome;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int wait_status = 0;
    ::waitpid(child, &wait_status, 0);
    outcome.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  const Bytes output = read_file(capture.string());
  outcome.output.assign(output.begin(), output.end());
  outcome.files = contents_of(folder);
  return outcome;
}

// Where a byte string differs, in a form a reader can follow.
std::string first_difference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
    ++at;
  }
  return "sizes " + std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
         ", first difference at byte " + std::to_string(at);
}

// A release executable and what runs it on this machine, if it needs more.
struct Platform {
  const char* name;
  std::string executable;  // "" where it could not be built here
  std::string emulator;    // "" where there is none here
  bool emulated;
  const char* packages;  // what to install where either is missing
};

const Platform platforms[] = {
    {"LinuxStatic", PAGESTOW_LINUX_EXECUTABLE, "", false, "g++"},
    {"LinuxAarch64", PAGESTOW_AARCH64_EXECUTABLE, PAGESTOW_QEMU_AARCH64, true, "g++-aarch64-linux-gnu qemu-user"},
    {"Windows", PAGESTOW_WINDOWS_EXECUTABLE, PAGESTOW_WINE, true, "g++-mingw-w64-x86-64-posix wine"},
};

void PrintTo(const Platform& p, std::ostream* out) { *out << p.name; }

class Golden : public ::testing::TestWithParam<std::tuple<GoldenCase, Platform>> {
 protected:
  static void SetUpTestSuite() {
    // Wine's own prefix, inside the build folder; no Mono or Gecko installer
    // prompts, no debug chatter, and UTF-8 file names and arguments.
    ::setenv("WINEPREFIX", PAGESTOW_WINE_PREFIX, 1);
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::unsetenv("DISPLAY");
  }

  ScratchFolder scratch;
};

TEST_P(Golden, ReleaseExecutableAgreesWithThisBuild) {
  const auto& [c, platform] = GetParam();
  if (platform.executable.empty() || (platform.emulated && platform.emulator.empty())) {
    GTEST_SKIP() << "no " << platform.name << " executable to compare with: apt-get install " << platform.packages
                 << ", and configure again";
  }
  const fs::path reference_folder = scratch.path("reference");
  const fs::path release_folder = scratch.path("release");
  for (const fs::path& folder : {reference_folder, release_folder}) {
    fs::create_directory(folder);
    lay_out_fixtures(folder);
  }

  std::vector<std::string> reference_command{PAGESTOW_EXECUTABLE};
  std::vector<std::string> release_command;
  if (platform.emulated) {
    release_command.push_back(platform.emulator);
  }
  release_command.push_back(platform.executable);
  reference_command.insert(reference_command.end(), c.arguments.begin(), c.arguments.end());
  release_command.insert(release_command.end(), c.arguments.begin(), c.arguments.end());
  const Outcome reference = run_in(reference_folder, reference_command, scratch.path("reference.out"));
  const Outcome release = run_in(release_folder, release_command, scratch.path("release.out"));

  // Both really ran: an emulator that fails exits with other statuses.
  ASSERT_TRUE(reference.status == 0 || reference.status == 1) << reference.status;
  ASSERT_TRUE(release.status == 0 || release.status == 1) << release.status;
  EXPECT_EQ(reference.status, release.status);
  EXPECT_EQ(reference.output, release.output);
  for (const auto& [name, bytes] : reference.files) {
    const auto other = release.files.find(name);
    if (other == release.files.end()) {
      ADD_FAILURE() << name << " is only in this build's folder";
    } else {
      EXPECT_TRUE(bytes == other->second) << name << ": " << first_difference(bytes, other->second);
    }
  }
  for (const auto& [name, bytes] : release.files) {
    EXPECT_TRUE(reference.files.contains(name)) << name << " is only in the release executable's folder";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::Combine(::testing::ValuesIn(cases), ::testing::ValuesIn(platforms)),
                         [](const ::testing::TestParamInfo<std::tuple<GoldenCase, Platform>>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace pagestow::testing
