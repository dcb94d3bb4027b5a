// libFuzzer target: one whole run of the tool per fuzz input, with a fuzzed
// argument vector and fuzzed input files, checked after every run.
//
// A fuzz input is text-like so that seeds can be written by hand: sections
// separated by "\n--\n". The first section holds the arguments, one per line
// (up to 64 of them); the next ones are the contents of the files in0 to in3.
// An argument is either literal text or one of these names:
//   @out  the output file      @0 .. @3  the input files
//   @dir  a folder             @odd      a file whose name has a space, "%s",
//   @missing  a missing file             a line feed and UTF-8 in it
// Every path lies inside a scratch folder: a literal path is never taken
// outside it (see `confine`).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/messages.h"
#include "cli/run.h"
#include "snapshot/initial_state.h"
#include "snapshot/layout.h"
#include "tests/test_files.h"

namespace {

using pagestow::testing::Bytes;

constexpr std::string_view section_break = "\n--\n";
constexpr std::size_t input_file_count = 4;
constexpr std::size_t longest_literal_name = 100;  // well inside any file system's name limit
// More arguments than this only make each run slower: checking the messages
// grows with the square of the number of pairs.
constexpr std::size_t most_arguments = 64;
const std::string odd_name = "odd name %s\nwith \xC3\xA9";

[[noreturn]] void fail(const std::string& what, const std::string& output) {
  std::fprintf(stderr, "check failed: %s\nstandard output was:\n", what.c_str());
  for (const char c : output) {
    std::fprintf(stderr, "%02X ", static_cast<unsigned char>(c));
  }
  std::fprintf(stderr, "\n");
  std::abort();
}

std::vector<std::string_view> split(std::string_view text) {
  std::vector<std::string_view> sections;
  for (std::size_t at = text.find(section_break); at != std::string_view::npos; at = text.find(section_break)) {
    sections.push_back(text.substr(0, at));
    text.remove_prefix(at + section_break.size());
  }
  sections.push_back(text);
  return sections;
}

std::vector<std::string> lines(std::string_view text) {
  std::vector<std::string> result;
  if (text.empty()) {
    return result;
  }
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n')) {
    result.emplace_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  result.emplace_back(text);
  for (std::string& line : result) {
    line.resize(std::min(line.size(), line.find('\0')));  // an argument vector cannot carry a NUL
  }
  return result;
}

// The name inside the scratch folder that an argument in a path position
// stands for: the run must never create, truncate or read anything of the
// machine's own.
std::string scratch_name(const std::string& argument) {
  if (argument == "@out") return "out.sna";
  if (argument == "@dir") return "folder";
  if (argument == "@missing") return "missing.bin";
  if (argument == "@odd") return odd_name;
  if (argument.size() == 2 && argument[0] == '@' && argument[1] >= '0' &&
      static_cast<std::size_t>(argument[1] - '0') < input_file_count) {
    return std::string("in") + argument[1];
  }
  if (argument.find('/') != std::string::npos || argument.size() > longest_literal_name) {
    return "missing.bin";
  }
  return argument;
}

std::string confine(const std::string& argument, const pagestow::testing::ScratchFolder& folder) {
  return argument.empty() ? argument : folder.path(scratch_name(argument));  // an empty name stays empty
}

// What the console makes of a message: every line feed becomes CR LF.
std::string as_output(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Standard output must be the tool's own messages: for each pair, in
// command-line order, at most one message naming its input argument, and the
// program counter's message, if any, last.
void check_messages(const std::string& output, const std::vector<std::string>& arguments) {
  std::string_view rest = output;
  const std::string pc = as_output(pagestow::message_text(pagestow::Message::incorrect_pc));
  if (rest.ends_with(pc)) {
    rest.remove_suffix(pc.size());
  }
  // A file name may itself look like part of a message, so every way of
  // reading the output so far is kept.
  std::vector<std::size_t> reachable{0};
  for (std::size_t i = 2; i < arguments.size(); i += 2) {
    std::vector<std::size_t> next = reachable;  // this pair may have said nothing
    for (const auto message : {pagestow::Message::file_not_found, pagestow::Message::incorrect_destination,
                               pagestow::Message::missing_destination, pagestow::Message::cannot_read_file}) {
      std::string text(pagestow::message_text(message));
      text.replace(text.find("%s"), 2, arguments[i]);
      const std::string said = as_output(text);
      for (const std::size_t at : reachable) {
        if (rest.substr(at).starts_with(said)) {
          next.push_back(at + said.size());
        }
      }
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    reachable = std::move(next);
  }
  if (std::find(reachable.begin(), reachable.end(), rest.size()) == reachable.end()) {
    fail("standard output is not the tool's messages for these pairs, in their order", output);
  }
}

void check_snapshot(const std::string& path, const std::string& output) {
  std::error_code error;
  if (std::filesystem::file_size(path, error) != pagestow::image_size || error) {
    fail("the output is not " + std::to_string(pagestow::image_size) + " bytes", output);
  }
  const Bytes snapshot = pagestow::testing::read_file(path);
  if (!std::equal(pagestow::initial_header.begin(), pagestow::initial_header.end(), snapshot.begin())) {
    fail("the register header changed", output);
  }
  const std::size_t trailer = pagestow::trailer_offset;
  const unsigned pc = snapshot[trailer] | (snapshot[trailer + 1] << 8);
  if (pc < 0x4000 && pc != 0x11B7) {
    fail("the trailer holds PC " + std::to_string(pc), output);
  }
  if (snapshot[trailer + 2] != 0x10 || snapshot[trailer + 3] != 0x00) {
    fail("the trailer's paging bytes are not 0x10, 0x00", output);
  }
}

void check_usage(int status, const std::string& output) {
  const std::string usage = as_output(pagestow::message_text(pagestow::Message::banner)) +
                            as_output(pagestow::message_text(pagestow::Message::usage)) +
                            as_output(pagestow::message_text(pagestow::Message::example));
  if (status != pagestow::exit_failure || output != usage) {
    fail("a short argument list did not give the usage text and exit status 1", output);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pagestow::testing::ScratchFolder folder;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path(""))) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
  std::filesystem::create_directory(folder.path("folder"));

  const std::vector<std::string_view> sections = split({reinterpret_cast<const char*>(data), size});
  for (std::size_t i = 0; i < input_file_count; ++i) {
    const std::string_view contents = i + 1 < sections.size() ? sections[i + 1] : std::string_view{};
    pagestow::testing::write_file(folder.path("in" + std::to_string(i)), Bytes(contents.begin(), contents.end()));
  }
  std::filesystem::copy_file(folder.path("in1"), folder.path(odd_name));

  std::vector<std::string> arguments;
  std::vector<std::string> given = lines(sections[0]);
  given.resize(std::min(given.size(), most_arguments));
  for (const std::string& line : given) {
    // Paths are confined to the scratch folder; the program counter and the
    // destinations stay as fuzzed.
    arguments.push_back(
        arguments.size() == 1 || (arguments.size() > 1 && arguments.size() % 2 == 1) ? line : confine(line, folder));
  }

  const bool creatable = !arguments.empty() && !arguments[0].empty() && !std::filesystem::is_directory(arguments[0]);
  const bool existed = !arguments.empty() && std::filesystem::exists(arguments[0]);
  const pagestow::testing::RunOutcome outcome = pagestow::testing::run_in_process(arguments);

  if (arguments.size() < 4) {
    check_usage(outcome.status, outcome.output);
    if (!arguments.empty() && !existed && std::filesystem::exists(arguments[0])) {
      fail("a short argument list created the output", outcome.output);
    }
  } else if (!creatable) {
    if (outcome.status != pagestow::exit_failure ||
        outcome.output != as_output(pagestow::message_text(pagestow::Message::cannot_create_output))) {
      fail("an output that cannot be created was not reported", outcome.output);
    }
  } else {
    if (outcome.status != pagestow::exit_success) {
      fail("a run past its argument check failed", outcome.output);
    }
    check_snapshot(arguments[0], outcome.output);
    check_messages(outcome.output, arguments);
  }
  return 0;
}
