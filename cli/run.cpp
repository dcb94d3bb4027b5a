#include "cli/run.h"

#include <cstddef>
#include <cstdint>

#include "cli/decimal.h"
#include "cli/platform.h"
#include "snapshot/initial_state.h"

namespace pagestow {
namespace {

constexpr std::size_t output_argument = 0;
constexpr std::size_t pc_argument = 1;
constexpr std::size_t first_input_argument = 2;
constexpr std::size_t minimum_argument_count = 4;  // output, PC and one pair

// The program counter must point into RAM as the Z80 sees it.
constexpr std::uint32_t lowest_pc = 0x4000;
constexpr std::uint32_t highest_pc = 0xFFFF;
// The NEW routine of the 48 KB BASIC ROM, which the snapshot pages in: a
// snapshot with a bad program counter starts a clean BASIC.
constexpr std::uint16_t fallback_pc = 0x11B7;

std::uint16_t program_counter(std::string_view text, Console& console) {
  const std::uint32_t pc = as_unsigned(read_decimal(text));
  if (pc < lowest_pc || pc > highest_pc) {
    console.say(Message::incorrect_pc);
    return fallback_pc;
  }
  return static_cast<std::uint16_t>(pc);
}

}  // namespace

void place_input(SnapshotImage& image, const char* path, std::optional<std::string_view> destination_text,
                 Console& console) {
  const File input = open_input(path);
  if (!input.is_open()) {
    console.say(Message::file_not_found, path);
    return;
  }
  if (!destination_text) {
    console.say(Message::missing_destination, path);
    return;
  }
  const std::uint32_t destination = as_unsigned(read_decimal(*destination_text));
  if (!is_placement_start(destination)) {
    console.say(Message::incorrect_destination, path);
    return;
  }
  const std::size_t offset = offset_for_address(destination);
  for (const std::span<std::uint8_t> part : placement_parts(image, offset, placement_limit(offset))) {
    const ReadResult read = read_fully(input, part);
    if (read.failed) {
      console.say(Message::cannot_read_file, path);
      return;
    }
    if (read.count < part.size()) {
      return;
    }
  }
}

int run(std::span<const char* const> arguments, Console& console) {
  if (arguments.size() < minimum_argument_count) {
    console.say(Message::banner);
    console.say(Message::usage);
    console.say(Message::example);
    return exit_failure;
  }

  File output = create_output(arguments[output_argument]);
  if (!output.is_open()) {
    console.say(Message::cannot_create_output);
    return exit_failure;
  }

  SnapshotImage image;
  apply_initial_state(image);
  for (std::size_t input = first_input_argument; input < arguments.size(); input += 2) {
    const std::size_t destination = input + 1;
    place_input(image, arguments[input],
                destination < arguments.size() ? std::optional<std::string_view>{arguments[destination]} : std::nullopt,
                console);
  }
  write_trailer(image, program_counter(arguments[pc_argument], console));

  // The close is checked even after a failed write: both can lose data.
  const bool written = write_fully(output, image.bytes);
  const bool closed = output.close();
  if (!written || !closed) {
    console.say(Message::cannot_write_output);
    return exit_failure;
  }
  return exit_success;
}

}  // namespace pagestow
