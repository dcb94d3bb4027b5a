// Everything the tool asks of its operating system: its arguments, its
// standard output and plain file access with no line-end translation. The
// rest of the tool sees only these functions; platform_posix.cpp and
// platform_windows.cpp are their two implementations.
#ifndef PAGESTOW_CLI_PLATFORM_H
#define PAGESTOW_CLI_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace pagestow {

// A file the tool opened; closed when it goes out of scope unless close()
// was called first. The handle is a file descriptor on POSIX systems and a
// HANDLE on Windows; -1 means none on both.
class File {
 public:
  using Handle = std::intptr_t;
  static constexpr Handle no_handle = -1;

  File() = default;
  explicit File(Handle handle) : handle_(handle) {}
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept : handle_(std::exchange(other.handle_, no_handle)) {}
  ~File() { close(); }

  bool is_open() const { return handle_ != no_handle; }
  Handle handle() const { return handle_; }
  // False when the system reports that the file could not be closed cleanly
  // (data that did not reach its disk, say).
  bool close();

 private:
  Handle handle_ = no_handle;
};

struct ReadResult {
  std::size_t count = 0;  // bytes stored at the start of the buffer
  bool failed = false;    // a read error, as opposed to the end of the file
};

// Sets up the process before the run: a reader of standard output that goes
// away must not kill the tool, and no failure may wait on a dialog box.
void prepare_process();

// The arguments after the program name, as the caller typed them, in UTF-8
// on Windows; valid for the whole run. No wildcard is expanded.
std::vector<const char*> program_arguments(int argc, char** argv);

// Creates or truncates `path` for writing; not open on failure.
File create_output(const char* path);

// Opens an existing regular file or device for reading; not open on failure,
// and not open for a directory.
File open_input(const char* path);

// Reads until `buffer` is full, the file ends or an error occurs.
ReadResult read_fully(const File& file, std::span<std::uint8_t> buffer);

// Writes all of `bytes`; false on the first real error.
bool write_fully(const File& file, std::span<const std::uint8_t> bytes);

// Hands bytes to standard output as they are, best effort: a closed or
// broken standard output loses them and nothing else happens.
void write_standard_output(std::string_view bytes);

}  // namespace pagestow

#endif
