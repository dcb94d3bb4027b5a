// Every text the tool writes, in one table. "\n\r" starts each message: a
// line feed followed by a carriage return, which reaches standard output as
// CR LF CR (the console translates every line feed). "%s" stands for the
// input file argument, as it was given.
#ifndef PAGESTOW_CLI_MESSAGES_H
#define PAGESTOW_CLI_MESSAGES_H

#include <cstddef>
#include <span>
#include <string_view>

namespace pagestow {

enum class Message : std::size_t {
  banner,
  usage,
  example,
  cannot_create_output,
  file_not_found,
  incorrect_destination,
  missing_destination,
  cannot_read_file,
  incorrect_pc,
  cannot_write_output,
};

struct MessageRow {
  Message message;
  std::string_view text;
};

// clang-format off
inline constexpr MessageRow message_table[] = {
    // The title and the row of '=' under it are equally long.
    {Message::banner,                "\n\r= Pagestow v0.1 by the pagestow authors =\n\r"
                                     "=========================================\n\r"},
    {Message::usage,                 "\n\rUse:\n\rpagestow output.sna {PC} input1 {dest_adr} [input {dest_adr}]*\n\r"},
    {Message::example,               "\n\rExample:\n\rpagestow 128game.sna 24200 program.bin 24200 page17.b 65536 page19.b 81920\n\n\r"},
    {Message::cannot_create_output,  "\n\rcannot create output...\n\r"},
    {Message::file_not_found,        "\n\rfile %s not found..."},
    {Message::incorrect_destination, "\n\rincorrect destination address for file %s..."},
    {Message::missing_destination,   "\n\rmissing destination address for file %s..."},
    {Message::cannot_read_file,      "\n\rcannot read file %s..."},
    {Message::incorrect_pc,          "\n\rincorrect address in PC register...\n\r"},
    {Message::cannot_write_output,   "\n\rcannot write output...\n\r"},
};
// clang-format on

constexpr bool rows_follow_enum(std::span<const MessageRow> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (static_cast<std::size_t>(rows[i].message) != i) {
      return false;
    }
  }
  return rows.size() == static_cast<std::size_t>(Message::cannot_write_output) + 1;
}

static_assert(rows_follow_enum(message_table));

constexpr std::string_view message_text(Message message) {
  return message_table[static_cast<std::size_t>(message)].text;
}

}  // namespace pagestow

#endif
