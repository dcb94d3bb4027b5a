#include "cli/console.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_files.h"

namespace pagestow::testing {
namespace {

// A message longer than the console's buffer goes out in pieces: wherever a
// line feed falls against a piece's end, it must still go out as CR LF.
TEST(Console, LineFeedsAtTheBufferBoundaryStayWhole) {
  for (std::size_t lead = 240; lead <= 270; ++lead) {
    SCOPED_TRACE(lead);
    const std::string name = std::string(lead, 'x') + "\n\n" + std::string(lead, 'y') + "\n";
    CapturingConsole console;
    console.say(Message::file_not_found, name);
    std::string expected = "\r\n\rfile ";
    for (const char c : name) {
      expected += c == '\n' ? "\r\n" : std::string(1, c);
    }
    EXPECT_EQ(console.text, expected + " not found...");
  }
}

}  // namespace
}  // namespace pagestow::testing
