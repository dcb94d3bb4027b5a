#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "cli/platform.h"

namespace pagestow {
namespace {

constexpr int first_free_descriptor = STDERR_FILENO + 1;

int descriptor(const File& file) { return static_cast<int>(file.handle()); }

// If standard input, output or error was closed when the tool started, the
// system hands that number to the next file opened. Move such a file above
// them so that no message can ever be written into it.
int clear_of_standard_streams(int descriptor) {
  if (descriptor < 0 || descriptor >= first_free_descriptor) {
    return descriptor;
  }
  const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, first_free_descriptor);
  ::close(descriptor);
  return moved;
}

int open_retrying(const char* path, int flags, mode_t mode = 0) {
  int descriptor = -1;
  do {
    descriptor = ::open(path, flags | O_CLOEXEC, mode);
  } while (descriptor < 0 && errno == EINTR);
  return clear_of_standard_streams(descriptor);
}

bool write_all_to(int descriptor, const void* data, std::size_t size) {
  const auto* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(descriptor, next, size);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {  // a device that takes nothing would never finish
      return false;
    }
    next += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool File::close() {
  if (handle_ == no_handle) {
    return true;
  }
  // After an interrupted close the descriptor is already gone on Linux;
  // closing again could hit a file opened since, so it is not retried.
  const int result = ::close(static_cast<int>(std::exchange(handle_, no_handle)));
  return result == 0 || errno == EINTR;
}

// Ignoring SIGPIPE cannot fail for a valid signal number.
void prepare_process() { static_cast<void>(::signal(SIGPIPE, SIG_IGN)); }

std::vector<const char*> program_arguments(int argc, char** argv) {
  // A program started with an empty argument vector has no name either.
  return argc > 1 ? std::vector<const char*>(argv + 1, argv + argc) : std::vector<const char*>{};
}

File create_output(const char* path) {
  constexpr mode_t everyone_read_write = 0666;  // narrowed by the user's umask
  return File{open_retrying(path, O_WRONLY | O_CREAT | O_TRUNC, everyone_read_write)};
}

File open_input(const char* path) {
  File file{open_retrying(path, O_RDONLY)};
  struct stat status {};
  if (file.is_open() && (::fstat(descriptor(file), &status) != 0 || S_ISDIR(status.st_mode))) {
    return File{};
  }
  return file;
}

ReadResult read_fully(const File& file, std::span<std::uint8_t> buffer) {
  ReadResult result;
  while (result.count < buffer.size()) {
    const ssize_t got = ::read(descriptor(file), buffer.data() + result.count, buffer.size() - result.count);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      result.failed = true;
      break;
    }
    if (got == 0) {
      break;
    }
    result.count += static_cast<std::size_t>(got);
  }
  return result;
}

bool write_fully(const File& file, std::span<const std::uint8_t> bytes) {
  return write_all_to(descriptor(file), bytes.data(), bytes.size());
}

void write_standard_output(std::string_view bytes) { write_all_to(STDOUT_FILENO, bytes.data(), bytes.size()); }

}  // namespace pagestow
