// Standard output as the tool writes it: each message goes out whole when it
// is produced, and every line feed goes out as a carriage return followed by
// a line feed, so the bytes are the same on every platform.
#ifndef PAGESTOW_CLI_CONSOLE_H
#define PAGESTOW_CLI_CONSOLE_H

#include <array>
#include <cstddef>
#include <string_view>

#include "cli/messages.h"

namespace pagestow {

class Console {
 public:
  Console() = default;
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  virtual ~Console() = default;

  // Writes `message` with "%s" replaced by `file`.
  void say(Message message, std::string_view file = {});

 protected:
  // Receives the translated bytes, a message at a time or in pieces of a
  // long one.
  virtual void deliver(std::string_view bytes) = 0;

 private:
  void put(std::string_view text);
  void flush();

  std::array<char, 256> pending_{};
  std::size_t pending_size_ = 0;
};

class StandardOutputConsole final : public Console {
 protected:
  void deliver(std::string_view bytes) override;
};

}  // namespace pagestow

#endif
