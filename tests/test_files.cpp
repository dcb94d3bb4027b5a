#include "tests/test_files.h"

#include <stdlib.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "cli/run.h"

namespace pagestow::testing {

ScratchFolder::ScratchFolder() {
  std::string templ = (std::filesystem::temp_directory_path() / "pagestow-test-XXXXXX").string();
  if (::mkdtemp(templ.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch folder");
  }
  root_ = templ;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string ScratchFolder::path(std::string_view name) const { return (root_ / name).string(); }

void write_file(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  Bytes bytes(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot read " + path);
  }
  return bytes;
}

Bytes pattern(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  Bytes bytes(size);
  for (auto& byte : bytes) {
    byte = static_cast<std::uint8_t>(generator());
  }
  return bytes;
}

RunOutcome run_in_process(const std::vector<std::string>& arguments) {
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) {
    pointers.push_back(argument.c_str());
  }
  CapturingConsole console;
  const int status = run(pointers, console);
  return {status, console.text};
}

}  // namespace pagestow::testing
