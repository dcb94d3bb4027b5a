#include <cstddef>
#include <span>

#include "cli/console.h"
#include "cli/platform.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  pagestow::prepare_process();
  pagestow::StandardOutputConsole console;
  // A program started with an empty argument vector has no name either.
  const std::size_t count = argc > 1 ? static_cast<std::size_t>(argc - 1) : 0;
  return pagestow::run(std::span<const char* const>{argv + (argc > 0 ? 1 : 0), count}, console);
}
