// The real executable, started the way build scripts start it, with its
// standard streams closed, full or broken.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "tests/test_files.h"

namespace pagestow::testing {
namespace {

enum class Stream { file, closed, dev_full, broken_pipe };

struct ProcessOutcome {
  bool exited = false;
  int status = -1;
  int signal = 0;
  std::string out;  // standard output, when it went to a file
  std::string err;  // standard error, when it went to a file
};

void attach(posix_spawn_file_actions_t& actions, int descriptor, Stream stream, const std::string& file,
            int pipe_writer) {
  switch (stream) {
    case Stream::file:
      posix_spawn_file_actions_addopen(&actions, descriptor, file.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
      break;
    case Stream::closed:
      posix_spawn_file_actions_addclose(&actions, descriptor);
      break;
    case Stream::dev_full:
      posix_spawn_file_actions_addopen(&actions, descriptor, "/dev/full", O_WRONLY, 0);
      break;
    case Stream::broken_pipe:
      posix_spawn_file_actions_adddup2(&actions, pipe_writer, descriptor);
      break;
  }
}

std::string text_of(const std::string& path) {
  const Bytes bytes = read_file(path);
  return std::string(bytes.begin(), bytes.end());
}

ProcessOutcome start_tool(const ScratchFolder& folder, const std::vector<std::string>& arguments, Stream in, Stream out,
                          Stream err, const std::vector<std::string>& extra_environment = {}) {
  int pipe_ends[2] = {-1, -1};
  if (out == Stream::broken_pipe) {
    EXPECT_EQ(::pipe2(pipe_ends, O_CLOEXEC), 0);
    ::close(pipe_ends[0]);  // the reader is gone before the tool starts
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  attach(actions, STDIN_FILENO, in, folder.path("stdin"), -1);
  attach(actions, STDOUT_FILENO, out, folder.path("stdout"), pipe_ends[1]);
  attach(actions, STDERR_FILENO, err, folder.path("stderr"), -1);

  // The tool must survive a broken pipe on its own, not because this test
  // happened to ignore the signal.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> argv_strings{PAGESTOW_EXECUTABLE};
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_strings) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  // The test's own environment, less the variables that `extra_environment`
  // sets anew.
  std::vector<std::string> environment_strings = extra_environment;
  std::vector<char*> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view name = std::string_view(*variable).substr(0, std::string_view(*variable).find('=') + 1);
    if (std::none_of(extra_environment.begin(), extra_environment.end(),
                     [&](const std::string& extra) { return extra.starts_with(name); })) {
      environment.push_back(*variable);
    }
  }
  for (std::string& variable : environment_strings) {
    environment.push_back(variable.data());
  }
  environment.push_back(nullptr);

  ProcessOutcome outcome;
  pid_t child = 0;
  const int spawned =
      ::posix_spawn(&child, PAGESTOW_EXECUTABLE, &actions, &attributes, argv.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (pipe_ends[1] >= 0) {
    ::close(pipe_ends[1]);
  }
  EXPECT_EQ(spawned, 0);
  if (spawned != 0) {
    return outcome;
  }
  int wait_status = 0;
  EXPECT_EQ(::waitpid(child, &wait_status, 0), child);
  outcome.exited = WIFEXITED(wait_status);
  outcome.status = outcome.exited ? WEXITSTATUS(wait_status) : -1;
  outcome.signal = WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) : 0;
  if (out == Stream::file) {
    outcome.out = text_of(folder.path("stdout"));
  }
  if (err == Stream::file) {
    outcome.err = text_of(folder.path("stderr"));
  }
  return outcome;
}

class Process : public ::testing::Test {
 protected:
  ScratchFolder folder;
  const std::string output = folder.path("out.sna");

  // A run that writes messages while its output file is open: a missing
  // input, then a bad program counter.
  std::vector<std::string> chatty_run() {
    const std::string in = folder.path("in.bin");
    write_file(in, pattern(2000, 11));
    return {output, "7", folder.path("missing.bin"), "16384", in, "24200"};
  }
};

TEST_F(Process, UsageGoesToStandardOutputOnly) {
  const ProcessOutcome outcome = start_tool(folder, {"--help"}, Stream::file, Stream::file, Stream::file);
  EXPECT_TRUE(outcome.exited);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out.rfind("\r\n\r= Pagestow v0.1 by ", 0), 0U);
  EXPECT_NE(outcome.out.find("\r\n\rUse:\r\n\rpagestow output.sna {PC}"), std::string::npos);
  EXPECT_EQ(outcome.err, "");
}

TEST_F(Process, SnapshotIsTheSameWhateverHappensToTheStandardStreams) {
  const auto arguments = chatty_run();
  const ProcessOutcome reference = start_tool(folder, arguments, Stream::file, Stream::file, Stream::file);
  ASSERT_TRUE(reference.exited);
  ASSERT_EQ(reference.status, 0);
  EXPECT_EQ(reference.out, "\r\n\rfile " + folder.path("missing.bin") +
                               " not found...\r\n\rincorrect address in PC register...\r\n\r");
  EXPECT_EQ(reference.err, "");
  const Bytes expected = read_file(output);
  ASSERT_EQ(expected.size(), 131103U);

  struct Case {
    const char* name;
    Stream in, out, err;
  };
  constexpr Case cases[] = {
      {"standard output closed", Stream::file, Stream::closed, Stream::file},
      {"standard input closed", Stream::closed, Stream::file, Stream::file},
      {"standard error closed", Stream::file, Stream::file, Stream::closed},
      {"all three closed", Stream::closed, Stream::closed, Stream::closed},
      {"standard output full", Stream::file, Stream::dev_full, Stream::file},
      {"reader of standard output gone", Stream::file, Stream::broken_pipe, Stream::file},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(output);
    const ProcessOutcome outcome = start_tool(folder, arguments, c.in, c.out, c.err);
    EXPECT_TRUE(outcome.exited) << "killed by signal " << outcome.signal;
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(read_file(output) == expected);
    if (c.out == Stream::file) {
      EXPECT_EQ(outcome.out, reference.out);
    }
    EXPECT_EQ(outcome.err, "");
  }
}

TEST_F(Process, OutputThatCannotBeWrittenOrClosedFailsTheRun) {
  struct Case {
    const char* name;
    std::string output;
    std::vector<std::string> environment;
  };
  const Case cases[] = {
      {"full disk", "/dev/full", {}},
      // A sanitizer runtime that is a shared library (gcc's) would refuse to
      // come after the preloaded one.
      {"close reports an error after a good write",
       folder.path("out.close-fails"),
       {std::string("LD_PRELOAD=") + PAGESTOW_CLOSE_FAILS, "ASAN_OPTIONS=verify_asan_link_order=0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProcessOutcome outcome = start_tool(folder, {c.output, "24200", "/dev/zero", "16384"}, Stream::file,
                                              Stream::file, Stream::file, c.environment);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "\r\n\rcannot write output...\r\n\r");
    EXPECT_EQ(outcome.err, "");
  }
}

}  // namespace
}  // namespace pagestow::testing
