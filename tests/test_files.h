// Helpers the tests share: a scratch folder, whole-file reads and writes,
// uneven byte patterns and a console that keeps what it is given.
#ifndef PAGESTOW_TESTS_TEST_FILES_H
#define PAGESTOW_TESTS_TEST_FILES_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/console.h"

namespace pagestow::testing {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder, removed with everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  std::string path(std::string_view name) const;

 private:
  std::filesystem::path root_;
};

void write_file(const std::string& path, const Bytes& bytes);
Bytes read_file(const std::string& path);

// `size` bytes that never repeat with a short period, different per `seed`,
// so a byte out of place or a swapped pair shows.
Bytes pattern(std::size_t size, unsigned seed);

class CapturingConsole final : public Console {
 public:
  std::string text;

 protected:
  void deliver(std::string_view bytes) override { text.append(bytes); }
};

struct RunOutcome {
  int status;
  std::string output;  // what reached standard output
};

RunOutcome run_in_process(const std::vector<std::string>& arguments);

}  // namespace pagestow::testing

#endif
