// The Windows side of platform.h, on the Win32 API directly: the C runtime
// would translate line ends on standard output in text mode, expand wildcards
// in the arguments and hand over file names in the ANSI code page. Here the
// arguments come from the UTF-16 command line and go to the rest of the tool
// as UTF-8, file names go back to UTF-16 for the system, and bytes reach
// files and standard output exactly as the tool made them.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "cli/platform.h"

namespace pagestow {
namespace {

// Files shared with any other reader or writer, as on POSIX systems.
constexpr DWORD share_with_everyone = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The largest piece handed to ReadFile or WriteFile at once.
constexpr std::size_t largest_transfer = 1U << 30;

// A HANDLE is an opaque pointer-sized value that File keeps as an integer,
// the way the C runtime's _get_osfhandle hands it out too.
HANDLE native(File::Handle handle) {
  return reinterpret_cast<HANDLE>(handle);  // NOLINT(performance-no-int-to-ptr)
}

HANDLE native(const File& file) { return native(file.handle()); }

File::Handle as_handle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? File::no_handle : reinterpret_cast<File::Handle>(handle);
}

std::wstring to_utf16(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) {
    return {};
  }
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string to_utf8(const wchar_t* utf16) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, utf16, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) {
    return {};
  }
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16, -1, utf8.data(), length, nullptr, nullptr);
  utf8.pop_back();  // the terminating NUL, which std::string keeps anyway
  return utf8;
}

File open_file(const char* path, DWORD access, DWORD disposition) {
  const std::wstring name = to_utf16(path);
  if (name.empty()) {  // an empty name names no file
    return File{};
  }
  // A directory cannot be opened this way (that needs backup semantics), so
  // it fails like a missing file.
  return File{as_handle(
      ::CreateFileW(name.c_str(), access, share_with_everyone, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr))};
}

bool write_all_to(HANDLE handle, const char* next, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(size, largest_transfer));
    if (!::WriteFile(handle, next, piece, &written, nullptr) || written == 0) {
      return false;
    }
    next += written;
    size -= written;
  }
  return true;
}

}  // namespace

bool File::close() {
  if (handle_ == no_handle) {
    return true;
  }
  return ::CloseHandle(native(std::exchange(handle_, no_handle))) != 0;
}

// A name on a drive with no medium in it must fail like any other missing
// file, not stop the run with a dialog box that nobody at a build may see.
void prepare_process() { ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

std::vector<const char*> program_arguments(int /*argc*/, char** /*argv*/) {
  // Kept for the whole run: the tool refers to its arguments until it exits.
  static std::vector<std::string> utf8_arguments;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; wide != nullptr && i < count; ++i) {
    utf8_arguments.push_back(to_utf8(wide[i]));
  }
  ::LocalFree(static_cast<HLOCAL>(wide));
  std::vector<const char*> arguments;
  arguments.reserve(utf8_arguments.size());
  for (const std::string& argument : utf8_arguments) {
    arguments.push_back(argument.c_str());
  }
  return arguments;
}

// Truncated in place rather than replaced (CREATE_ALWAYS), as O_TRUNC does:
// an existing file keeps its attributes and links, and a hidden one can be
// written too.
File create_output(const char* path) {
  File output = open_file(path, GENERIC_WRITE, OPEN_ALWAYS);
  if (output.is_open() && !::SetEndOfFile(native(output))) {
    return File{};
  }
  return output;
}

File open_input(const char* path) { return open_file(path, GENERIC_READ, OPEN_EXISTING); }

ReadResult read_fully(const File& file, std::span<std::uint8_t> buffer) {
  ReadResult result;
  while (result.count < buffer.size()) {
    DWORD got = 0;
    const auto piece = static_cast<DWORD>(std::min(buffer.size() - result.count, largest_transfer));
    if (!::ReadFile(native(file), buffer.data() + result.count, piece, &got, nullptr)) {
      // A pipe whose writer has gone has simply ended.
      result.failed = ::GetLastError() != ERROR_BROKEN_PIPE;
      break;
    }
    if (got == 0) {
      break;
    }
    result.count += got;
  }
  return result;
}

bool write_fully(const File& file, std::span<const std::uint8_t> bytes) {
  return write_all_to(native(file), reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void write_standard_output(std::string_view bytes) {
  auto* const output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD mode = 0;
  if (!::GetConsoleMode(output, &mode)) {
    write_all_to(output, bytes.data(), bytes.size());  // a file or a pipe: the bytes themselves
    return;
  }
  // A console shows characters, not bytes: it gets the UTF-16 of the text so
  // that a file name outside ASCII reads right whatever its code page.
  const std::wstring text = to_utf16(bytes);
  DWORD written = 0;
  ::WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace pagestow
