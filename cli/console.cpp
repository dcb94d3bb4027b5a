#include "cli/console.h"

#include "cli/platform.h"

namespace pagestow {
namespace {
constexpr std::string_view file_placeholder = "%s";
}

void Console::say(Message message, std::string_view file) {
  const std::string_view text = message_text(message);
  const std::size_t placeholder = text.find(file_placeholder);
  if (placeholder == std::string_view::npos) {
    put(text);
  } else {
    put(text.substr(0, placeholder));
    put(file);
    put(text.substr(placeholder + file_placeholder.size()));
  }
  flush();
}

void Console::put(std::string_view text) {
  for (const char c : text) {
    // Room for the two bytes a line feed becomes.
    if (pending_size_ + 2 > pending_.size()) {
      flush();
    }
    if (c == '\n') {
      pending_[pending_size_++] = '\r';
    }
    pending_[pending_size_++] = c;
  }
}

void Console::flush() {
  if (pending_size_ > 0) {
    deliver({pending_.data(), pending_size_});
    pending_size_ = 0;
  }
}

void StandardOutputConsole::deliver(std::string_view bytes) { write_standard_output(bytes); }

}  // namespace pagestow
