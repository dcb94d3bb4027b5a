// One run of the tool, from the argument vector to the exit status:
//
//   pagestow output.sna PC input1 destination1 [input destination]...
//
// The output is created first; then the image gets its initial state, the
// inputs are laid in in command-line order (a later one wins where they
// overlap), the program counter goes into the trailer and the whole image is
// written out. A bad pair or a bad program counter is reported and the run
// goes on; only a short argument list or an output that cannot be created or
// written ends it with a failure.
#ifndef PAGESTOW_CLI_RUN_H
#define PAGESTOW_CLI_RUN_H

#include <optional>
#include <span>
#include <string_view>

#include "cli/console.h"
#include "snapshot/image.h"

namespace pagestow {

inline constexpr int exit_success = 0;
inline constexpr int exit_failure = 1;

// `arguments` are those after the program name.
int run(std::span<const char* const> arguments, Console& console);

// Lays one input into the image at the extended address that
// `destination_text` gives; an input with no destination after it is
// reported and left out.
void place_input(SnapshotImage& image, const char* path, std::optional<std::string_view> destination_text,
                 Console& console);

}  // namespace pagestow

#endif
