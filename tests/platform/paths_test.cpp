#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/paths.h"
#include "tests/platform/temp_dir.h"

namespace talvor::platform {
namespace {

using testing_support::TempDir;

struct DirRow {
  std::string path;
  bool cp932;
  std::string expected;
};

void CheckDirectories(const DirRow* begin, const DirRow* end) {
  for (const DirRow* row = begin; row != end; ++row) {
    EXPECT_EQ(DirectoryOf(row->path, row->cp932), row->expected)
        << testing::PrintToString(row->path) << (row->cp932 ? " (cp932)" : "");
  }
}

// 表 in code page 932: its second byte is a backslash.
#define HYO "\x95\x5C"

TEST(DirectoryOf, WindowsPathsKeepOnlyARootsBackslash) {
  const DirRow rows[] = {
      {"C:\\Program Files\\Talvor\\Talvor.exe", false, "C:\\Program Files\\Talvor"},
      {"C:\\Talvor.exe", false, "C:\\"},
      {"C:Talvor.exe", false, "C:"},
      {"C:", false, "C:"},
      {"C:\\", false, "C:\\"},
      {"C:\\Tools\\", false, "C:\\Tools"},
      {"C:\\Tools\\\\Talvor.exe", false, "C:\\Tools\\\\"},
      {"\\\\server\\share\\Talvor.exe", false, "\\\\server\\share"},
      {"\\\\Talvor.exe", false, "\\\\"},
      {"\\Talvor.exe", false, "\\"},
      {"Talvor.exe", false, ""},
      {"", false, ""},
      {"", true, ""},
  };
  CheckDirectories(std::begin(rows), std::end(rows));
}

TEST(DirectoryOf, Cp932TrailByteIsNoSeparator) {
  const DirRow rows[] = {
      {"C:\\" HYO "\\Talvor.exe", true, "C:\\" HYO},
      {"C:\\" HYO "\\" HYO "\\Talvor.exe", true, "C:\\" HYO "\\" HYO},
      {"C:\\" HYO ".exe", true, "C:\\"},
      {"C:\\a\\" HYO "\\Talvor.exe", true, "C:\\a\\" HYO},
      // Half-width katakana are single bytes, so the backslash after one counts.
      {"C:\\\xB1\\Talvor.exe", true, "C:\\\xB1"},
      // A lead byte at the very end, or before a byte that cannot follow it.
      {"C:\\dir\\a\x95", true, "C:\\dir"},
      {"C:\\dir\x95:x", true, "C:\\dir\x95:"},
      // Read byte by byte the same paths go wrong: what the flag is for.
      {"C:\\" HYO "\\Talvor.exe", false, "C:\\" HYO "\\"},
      {"C:\\" HYO ".exe", false, "C:\\\x95"},
  };
  CheckDirectories(std::begin(rows), std::end(rows));
}

#ifndef _WIN32
TEST(DirectoryOf, SlashSeparatesOffWindows) {
  const DirRow rows[] = {
      {"/usr/local/bin/talvor", false, "/usr/local/bin"},
      {"/talvor", false, "/"},
      {"/opt//talvor", false, "/opt//"},
      {"build/talvor", false, "build"},
      {"C:/Talvor/Talvor.exe", false, "C:/Talvor"},
      {"C:/Talvor.exe", false, "C:/"},
      // In a POSIX path backslashes and colons are plain characters.
      {"/opt/a:b\\c/talvor", false, "/opt/a:b\\c"},
      {"/opt/x/tal:vor", false, "/opt/x"},
      {"/opt/x/tal\\vor", false, "/opt/x"},
      {"/opt/\xe8\xa1\xa8/talvor", false, "/opt/\xe8\xa1\xa8"},
  };
  CheckDirectories(std::begin(rows), std::end(rows));
}
#endif

TEST(JoinPath, AddsOneSeparator) {
#ifdef _WIN32
  EXPECT_EQ(JoinPath("C:\\Talvor", "talvor.ini"), "C:\\Talvor\\talvor.ini");
  // A drive root keeps both backslashes, which Windows reads as one.
  EXPECT_EQ(JoinPath(DirectoryOf("C:\\Talvor.exe"), "tlvortmp.txt"), "C:\\\\tlvortmp.txt");
  EXPECT_EQ(JoinPath(DirectoryOf("C:Talvor.exe"), "talvor.ini"), "C:\\talvor.ini");
#else
  EXPECT_EQ(JoinPath("/opt/talvor", "talvor.ini"), "/opt/talvor/talvor.ini");
  EXPECT_EQ(JoinPath(DirectoryOf("/talvor"), "talvor.ini"), "/talvor.ini");
  EXPECT_EQ(JoinPath("/home/u/.config/", "talvor"), "/home/u/.config/talvor");
#endif
}

TEST(ProgramFileDirectory, BesideAWritableExecutable) {
  TempDir dir;
  const std::string exeDir = testing_support::Utf8(dir.Path());
  const TFileEnvironment env{exeDir + "/config", exeDir + "/cache", exeDir + "/home"};
  EXPECT_EQ(ProgramFileDirectory(exeDir, TFileRole::Settings, env), exeDir);
  EXPECT_EQ(ProgramFileDirectory(exeDir, TFileRole::Report, env), exeDir);
  EXPECT_EQ(ProgramFileDirectory(exeDir, TFileRole::Settings), exeDir);
  // Nothing is created when the executable's directory will do.
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

#ifndef _WIN32

class ProgramFileFallback : public testing::Test {
 protected:
  // A directory that does not exist is as unwritable as a read-only one and
  // stays so for the superuser too.
  std::string Root() const { return testing_support::Utf8(m_dir.Path()); }
  std::string MissingExeDir() const { return Root() + "/not-there"; }

  TempDir m_dir;
};

struct FallbackRow {
  const char* what;
  std::optional<std::string> xdgConfig;  // relative to the test's directory when it starts
  std::optional<std::string> xdgCache;   // without "/", as is
  std::optional<std::string> home;
  std::string settings;  // expected, relative to the test's directory; "" for the exe dir
  std::string report;
};

TEST_F(ProgramFileFallback, PicksTheXdgDirectoryOrTheOneUnderHome) {
  const FallbackRow rows[] = {
      {"XDG set", "/xc", "/xk", "/home", "/xc/talvor", "/xk/talvor"},
      {"XDG unset", std::nullopt, std::nullopt, "/home", "/home/.config/talvor",
       "/home/.cache/talvor"},
      {"XDG empty", "", "", "/home", "/home/.config/talvor", "/home/.cache/talvor"},
      {"XDG relative", "rel", "rel", "/home", "/home/.config/talvor", "/home/.cache/talvor"},
      {"XDG deep, missing levels", "/a/b/c", "/d/e", std::nullopt, "/a/b/c/talvor", "/d/e/talvor"},
      {"nothing usable", std::nullopt, "rel", "relative-home", "", ""},
      {"nothing at all", std::nullopt, std::nullopt, std::nullopt, "", ""},
  };
  const auto absolute = [this](const std::optional<std::string>& value) {
    return (value && value->starts_with('/')) ? std::optional(Root() + *value) : value;
  };
  const auto expected = [this](const std::string& relative) {
    return relative.empty() ? MissingExeDir() : Root() + relative;
  };
  for (const auto& row : rows) {
    const TFileEnvironment env{absolute(row.xdgConfig), absolute(row.xdgCache), absolute(row.home)};
    const std::string settings = ProgramFileDirectory(MissingExeDir(), TFileRole::Settings, env);
    const std::string report = ProgramFileDirectory(MissingExeDir(), TFileRole::Report, env);
    EXPECT_EQ(settings, expected(row.settings)) << row.what;
    EXPECT_EQ(report, expected(row.report)) << row.what;
    if (!row.settings.empty()) {
      struct stat info {};
      ASSERT_EQ(::stat(settings.c_str(), &info), 0) << row.what;
      EXPECT_TRUE(S_ISDIR(info.st_mode)) << row.what;
      EXPECT_EQ(info.st_mode & 0777, 0700u) << row.what;
    }
    if (!row.report.empty()) {
      EXPECT_TRUE(std::filesystem::is_directory(report)) << row.what;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(MissingExeDir()));
}

TEST_F(ProgramFileFallback, AnExistingDirectoryIsUsedAsItIs) {
  ASSERT_EQ(::mkdir((Root() + "/talvor").c_str(), 0755), 0);
  const TFileEnvironment env{Root(), Root(), std::nullopt};
  EXPECT_EQ(ProgramFileDirectory(MissingExeDir(), TFileRole::Settings, env), Root() + "/talvor");
  struct stat info {};
  ASSERT_EQ(::stat((Root() + "/talvor").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST_F(ProgramFileFallback, UncreatableDirectoryFallsBackToTheExecutables) {
  testing_support::WriteBytes(Root() + "/file", "x");
  const TFileEnvironment env{Root() + "/file", Root() + "/file/sub", std::nullopt};
  EXPECT_EQ(ProgramFileDirectory(MissingExeDir(), TFileRole::Settings, env), MissingExeDir());
  EXPECT_EQ(ProgramFileDirectory(MissingExeDir(), TFileRole::Report, env), MissingExeDir());
}

TEST_F(ProgramFileFallback, ReadOnlyExecutableDirectory) {
  const std::string exeDir = Root() + "/bin";
  ASSERT_EQ(::mkdir(exeDir.c_str(), 0555), 0);
  if (::access(exeDir.c_str(), W_OK) == 0) GTEST_SKIP() << "the superuser may write anywhere";
  const TFileEnvironment env{Root() + "/config", Root() + "/cache", std::nullopt};
  EXPECT_EQ(ProgramFileDirectory(exeDir, TFileRole::Settings, env), Root() + "/config/talvor");
  EXPECT_EQ(ProgramFileDirectory(exeDir, TFileRole::Report, env), Root() + "/cache/talvor");
}

TEST_F(ProgramFileFallback, InstalledCopyUsesTheHomeEvenWhenItsDirectoryIsWritable) {
  // The superuser may write into /usr/bin; the settings must not land there.
  const TFileEnvironment env{Root() + "/config", Root() + "/cache", std::nullopt};
  for (const char* dir : {"/usr/bin", "/usr/local/bin"}) {
    EXPECT_EQ(ProgramFileDirectory(dir, TFileRole::Settings, env), Root() + "/config/talvor")
        << dir;
    EXPECT_EQ(ProgramFileDirectory(dir, TFileRole::Report, env), Root() + "/cache/talvor") << dir;
  }
}

// The overload without an environment reads the process's own.
TEST_F(ProgramFileFallback, ReadsTheProcessEnvironment) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  Saved saved[] = {{"XDG_CONFIG_HOME", {}}, {"XDG_CACHE_HOME", {}}, {"HOME", {}}};
  for (auto& entry : saved) {
    if (const char* value = std::getenv(entry.name)) entry.value = value;
  }
  ::setenv("XDG_CONFIG_HOME", (Root() + "/cfg").c_str(), 1);
  ::unsetenv("XDG_CACHE_HOME");
  ::setenv("HOME", (Root() + "/home").c_str(), 1);

  const std::string settings = ProgramFileDirectory(MissingExeDir(), TFileRole::Settings);
  const std::string report = ProgramFileDirectory(MissingExeDir(), TFileRole::Report);

  for (const auto& entry : saved) {
    if (entry.value) {
      ::setenv(entry.name, entry.value->c_str(), 1);
    } else {
      ::unsetenv(entry.name);
    }
  }
  EXPECT_EQ(settings, Root() + "/cfg/talvor");
  EXPECT_EQ(report, Root() + "/home/.cache/talvor");
}

#else

TEST(ProgramFileDirectory, AlwaysTheExecutablesOnWindows) {
  const TFileEnvironment env{"C:\\cfg", "C:\\cache", "C:\\home"};
  EXPECT_EQ(ProgramFileDirectory("Z:\\no\\such\\dir", TFileRole::Settings, env),
            "Z:\\no\\such\\dir");
  EXPECT_EQ(ProgramFileDirectory("Z:\\no\\such\\dir", TFileRole::Report), "Z:\\no\\such\\dir");
}

#endif

}  // namespace
}  // namespace talvor::platform
