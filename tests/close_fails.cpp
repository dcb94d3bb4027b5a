// Preloaded into the real executable by process_test.cpp: close() of a file
// whose name ends in ".close-fails" closes it, then reports EIO, as a network
// file system reports at close a write that never reached the server.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

extern "C" int close(int descriptor) {
  using CloseFunction = int (*)(int);
  static const auto real_close = reinterpret_cast<CloseFunction>(::dlsym(RTLD_NEXT, "close"));
  char link[32];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
  char target[4096];
  const ssize_t length = ::readlink(link, target, sizeof target);
  const bool fails = length > 0 && std::string_view(target, static_cast<std::size_t>(length)).ends_with(".close-fails");
  const int result = real_close(descriptor);
  if (fails) {
    errno = EIO;
    return -1;
  }
  return result;
}
