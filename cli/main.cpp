#include "cli/console.h"
#include "cli/platform.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  pagestow::prepare_process();
  pagestow::StandardOutputConsole console;
  return pagestow::run(pagestow::program_arguments(argc, argv), console);
}
