// The application object outside the shared test application: started
// without a display, the program says what to do instead of aborting.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
  int status = -1;
  std::string err;
};

// Runs this test program again, with the environment without the names given.
Outcome RunSelf(const std::vector<std::string>& unset, const char* argument) {
  const std::string exe = QCoreApplication::applicationFilePath().toStdString();
  std::vector<std::string> keep;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable = *entry;
    bool drop = false;
    for (const std::string& name : unset)
      if (variable.rfind(name + "=", 0) == 0) drop = true;
    if (!drop) keep.push_back(variable);
  }
  std::vector<char*> env;
  for (std::string& variable : keep) env.push_back(variable.data());
  env.push_back(nullptr);
  std::string exeArg = exe;
  std::string arg = argument;
  char* argv[] = {exeArg.data(), arg.data(), nullptr};

  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  Outcome outcome;
  if (spawned != 0) {
    close(pipeFds[0]);
    return outcome;
  }
  char buffer[512];
  ssize_t n = 0;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
    outcome.err.append(buffer, static_cast<std::size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

TEST(ApplicationWithoutDisplay, ExitsWithOneLineNamingTheXvfbCommand) {
  const Outcome outcome =
      RunSelf({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, "--construct-application-only");
  const std::string exe = QCoreApplication::applicationFilePath().toStdString();
  EXPECT_EQ(outcome.status, 1);
  ASSERT_FALSE(outcome.err.empty());
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;  // one line
  EXPECT_NE(outcome.err.find("no display"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("xvfb-run -a " + exe), std::string::npos) << outcome.err;
}

TEST(ApplicationWithoutDisplay, AChosenPlatformIsUsedInstead) {
  const Outcome outcome = RunSelf({"DISPLAY", "WAYLAND_DISPLAY"}, "--construct-application-only");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
}

}  // namespace
