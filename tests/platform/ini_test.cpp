#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include "platform/profile.h"
#include "tests/platform/temp_dir.h"

namespace talvor::platform {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

#ifdef _WIN32
const std::string kNl = "\r\n";
#else
const std::string kNl = "\n";
#endif

// ---------------------------------------------------------------------------
// The integer rule.

struct IntRow {
  std::string value;
  int expected;
};

TEST(ParseProfileInt, ReadsLikeWindows) {
  constexpr int kDefault = 77;
  const IntRow rows[] = {
      // Empty or blank: the default, as for a missing key.
      {"", kDefault},
      {"   ", kDefault},
      {"\t", kDefault},
      // Plain and signed numbers.
      {"0", 0},
      {"50", 50},
      {"-5", -5},
      {"-0", 0},
      {"+8", 8},
      {"007", 7},
      // Leading blanks go, the number ends at the first non-digit.
      {" 12abc", 12},
      {"\t -3", -3},
      {"12 34", 12},
      {"1e3", 1},
      {"10.5", 10},
      {"0x10", 0},  // no hex: the "x" ends the number
      // No digits at all: 0, not the default.
      {"abc", 0},
      {"-", 0},
      {"--5", 0},
      {"- 5", 0},
      // 32-bit two's complement wrap, never a trap or saturation.
      {"2147483647", INT_MAX},
      {"2147483648", INT_MIN},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MAX},
      {"4294967295", -1},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-4294967295", 1},
      {"99999999999", 1215752191},
      {"123456789012345678901234567890", 1312754386},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ParseProfileInt(row.value, kDefault), row.expected) << '"' << row.value << '"';
  }
}

// ---------------------------------------------------------------------------
// Reading the text.

struct GetRow {
  std::string text;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

TEST(IniDocumentGet, FindsTheValueOfTheFirstKeyInTheFirstSection) {
  const GetRow rows[] = {
      {"[Setup]\nx=5\n", "Setup", "x", "5"},
      {"[Setup]\nx=5", "Setup", "x", "5"},
      {"[Setup]\r\nx=5\r\ny=6\r\n", "Setup", "y", "6"},
      {"[Setup]\rx=5\ry=6", "Setup", "y", "6"},
      {"\xEF\xBB\xBF[Setup]\nx=5\n", "Setup", "x", "5"},
      // Names compare without ASCII case and without the blanks around them.
      {"[setup]\nX=5\n", "SETUP", "x", "5"},
      {"  [ Setup ]  \n  x  =  5  \n", "Setup", "x", "5"},
      {"[Setup]\nx=5\n", " Setup ", " x ", "5"},
      {"[Setup] ; where the window was\nx=5\n", "Setup", "x", "5"},
      // The value is everything after the first "=".
      {"[Setup]\nx=a=b\n", "Setup", "x", "a=b"},
      {"[Setup]\nx=\n", "Setup", "x", ""},
      {"[Setup]\nx=\"12\"\n", "Setup", "x", "12"},
      {"[Setup]\nx='12'\n", "Setup", "x", "12"},
      {"[Setup]\nx=\"12'\n", "Setup", "x", "\"12'"},
      // Other sections, other keys and look-alikes do not answer.
      {"[Setup]\nx=5\n", "Setup", "y", std::nullopt},
      {"[Setup]\nx=5\n", "Other", "x", std::nullopt},
      {"[Setupx]\nx=5\n", "Setup", "x", std::nullopt},
      {"[Setup]\nxx=5\n", "Setup", "x", std::nullopt},
      {"[Setup]\n;x=5\n", "Setup", "x", std::nullopt},
      {"x=5\n[Setup]\n", "Setup", "x", std::nullopt},
      {"[Other]\nx=5\n[Setup]\ny=1\n", "Setup", "x", std::nullopt},
      {"[Setup\nx=5\n", "Setup", "x", std::nullopt},
      {"", "Setup", "x", std::nullopt},
      // Blank lines do not end a section; the next header does.
      {"[Setup]\n\n\n  \nh=210\n", "Setup", "h", "210"},
      {"[Setup]\n[Other]\nx=5\n", "Setup", "x", std::nullopt},
      // The first of duplicates wins, and a key without "=" reads as missing.
      {"[Setup]\nx=1\nx=2\n", "Setup", "x", "1"},
      {"[Setup]\nx=1\n[Setup]\nx=2\ny=3\n", "Setup", "x", "1"},
      {"[Setup]\nx=1\n[Setup]\nx=2\ny=3\n", "Setup", "y", std::nullopt},
      {"[Setup]\nx\nx=2\n", "Setup", "x", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IniDocument(row.text).Get(row.section, row.key), row.expected)
        << testing::PrintToString(row.text) << " [" << row.section << "] " << row.key;
  }
}

// ---------------------------------------------------------------------------
// Writing the text.

struct SetRow {
  std::string before;
  std::string key;
  std::string value;
  std::string after;
};

TEST(IniDocumentSet, ChangesOnlyTheBytesOfTheKey) {
  const SetRow rows[] = {
      // Replaced in place.
      {"[Setup]\nx=1\ny=2\n", "x", "22", "[Setup]\nx=22\ny=2\n"},
      {"[Setup]\nx=1\ny=2\n", "y", "-7", "[Setup]\nx=1\ny=-7\n"},
      {"[setup]\nX=1\n", "x", "2", "[setup]\nX=2\n"},
      {"[Setup]\n  x = 1  \ny=2\n", "x", "7", "[Setup]\n  x = 7\ny=2\n"},
      {"[Setup]\nx=   \n", "x", "7", "[Setup]\nx=7\n"},
      {"[Setup]\nx\n", "x", "7", "[Setup]\nx=7\n"},
      {"[Setup]\nx=1", "x", "7", "[Setup]\nx=7"},
      {"[Setup]\r\nx=1\r\ny=2\r\n", "x", "3", "[Setup]\r\nx=3\r\ny=2\r\n"},
      {"[Setup]\nx=1\nx=2\n", "x", "3", "[Setup]\nx=3\nx=2\n"},
      // Added after the last non-blank line of the section, in its line-break style.
      {"[Setup]\n", "x", "1", "[Setup]\nx=1\n"},
      {"[Setup]\nx=1\n", "y", "2", "[Setup]\nx=1\ny=2\n"},
      {"[Setup]\nx=1", "y", "2", "[Setup]\nx=1\ny=2\n"},
      {"[Setup]\r\nx=1\r\n", "y", "2", "[Setup]\r\nx=1\r\ny=2\r\n"},
      {"[Setup]\rx=1\r", "y", "2", "[Setup]\rx=1\ry=2\r"},
      {"[Setup]\nx=1\n\n\n[Other]\na=b\n", "y", "2", "[Setup]\nx=1\ny=2\n\n\n[Other]\na=b\n"},
      {"[Setup]\n; note\n\n[Other]\n", "x", "1", "[Setup]\n; note\nx=1\n\n[Other]\n"},
      {"[Setup]\nx=1\n[Setup]\ny=1\n", "y", "5", "[Setup]\nx=1\ny=5\n[Setup]\ny=1\n"},
      // A missing section goes at the end, after a line break if there is none.
      {"[Other]\na=b\n", "x", "1", "[Other]\na=b\n[Setup]\nx=1\n"},
      {"[Other]\na=b", "x", "1", "[Other]\na=b\n[Setup]\nx=1\n"},
      {"[Other]\r\na=b", "x", "1", "[Other]\r\na=b\r\n[Setup]\r\nx=1\r\n"},
      {"[Other]\ra=b\r", "x", "1", "[Other]\ra=b\r[Setup]\rx=1\r"},
      {"x=9\n", "x", "1", "x=9\n[Setup]\nx=1\n"},
      // Only the empty text and a lone mark take the native line break.
      {"", "x", "1", "[Setup]" + kNl + "x=1" + kNl},
      {"\xEF\xBB\xBF", "x", "1", "\xEF\xBB\xBF[Setup]" + kNl + "x=1" + kNl},
      {"[Setup]", "x", "1", "[Setup]" + kNl + "x=1" + kNl},
      {"; settings", "x", "1", "; settings" + kNl + "[Setup]" + kNl + "x=1" + kNl},
  };
  for (const auto& row : rows) {
    IniDocument document(row.before);
    EXPECT_TRUE(document.Set("Setup", row.key, row.value));
    EXPECT_EQ(document.Text(), row.after)
        << testing::PrintToString(row.before) << " " << row.key << "=" << row.value;
    EXPECT_EQ(document.Get("Setup", row.key), row.value) << testing::PrintToString(row.before);
  }
}

TEST(IniDocumentSet, RefusesWhatWouldReadBackDifferently) {
  struct Row {
    std::string section;
    std::string key;
    std::string value;
  };
  const Row rows[] = {
      {"", "x", "1"},         {"  ", "x", "1"},         {"Setup", "", "1"},
      {"Se\ntup", "x", "1"},  {"Setup]\r[A", "x", "1"}, {"Setup", "x\n", "1"},
      {"Setup", "a=b", "1"},  {"Setup", "[x", "1"},     {"Setup", "x", "1\n[Evil]"},
      {"Setup", "x", "1\r2"},
  };
  const std::string before = "[Setup]\nx=1\n";
  for (const auto& row : rows) {
    IniDocument document(before);
    EXPECT_FALSE(document.Set(row.section, row.key, row.value))
        << testing::PrintToString(row.section) << " " << testing::PrintToString(row.key) << " "
        << testing::PrintToString(row.value);
    EXPECT_EQ(document.Text(), before);
  }
}

// A value written a second time leaves the text as the first write left it,
// also when the value starts with blanks (which then must not pile up
// behind the "=" the old blanks are kept for).
TEST(IniDocumentSet, WritingTheSameValueAgainChangesNothing) {
  const std::string lines[] = {"x=1", "x = 1", "x =\t\"12\" \t", "x=", "x =  ", "x"};
  const std::string values[] = {"9", " 9", "\t9 ", "", "  "};
  for (const auto& line : lines) {
    for (const auto& value : values) {
      IniDocument document("[Setup]\n" + line + "\ny=2\n");
      ASSERT_TRUE(document.Set("Setup", "x", value));
      const std::string once = document.Text();
      ASSERT_TRUE(document.Set("Setup", "x", value));
      EXPECT_EQ(document.Text(), once)
          << testing::PrintToString(line) << " " << testing::PrintToString(value);
    }
  }
}

void SetPlacement(IniDocument& document) {
  ASSERT_TRUE(document.Set("Setup", "x", "120"));
  ASSERT_TRUE(document.Set("Setup", "y", "-8"));
  ASSERT_TRUE(document.Set("Setup", "w", "240"));
  ASSERT_TRUE(document.Set("Setup", "h", "210"));
}

TEST(IniDocumentSet, PlacementKeysInANewTextComeInWritingOrder) {
  IniDocument document;
  SetPlacement(document);
  EXPECT_EQ(document.Text(),
            "[Setup]" + kNl + "x=120" + kNl + "y=-8" + kNl + "w=240" + kNl + "h=210" + kNl);
}

TEST(IniDocumentSet, ForeignSectionsAndCommentsSurviveByteForByte) {
  const std::string before =
      "; written by hand\r\n"
      "[Fonts]\r\n"
      "Face = \x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
      "\r\n"
      "[SETUP]\r\n"
      "; last position\r\n"
      "W = 300   \r\n"
      "\r\n"
      "[Tail]\r\n"
      "k=v";
  IniDocument document(before);
  SetPlacement(document);
  EXPECT_EQ(document.Text(),
            "; written by hand\r\n"
            "[Fonts]\r\n"
            "Face = \x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n"
            "\r\n"
            "[SETUP]\r\n"
            "; last position\r\n"
            "W = 240\r\n"
            "x=120\r\n"
            "y=-8\r\n"
            "h=210\r\n"
            "\r\n"
            "[Tail]\r\n"
            "k=v");
}

// Whatever the bytes, reading and writing finish, and a written key reads back.
TEST(IniDocumentRobustness, SurvivesBinaryGarbageAndHugeLines) {
  std::mt19937 random(20240611);
  // Bytes weighted towards the ones the parser looks at.
  const std::string interesting = "[]=\r\n \t;\"'\xEF\xBB\xBF\x5C\x95\x00xXsS";
  std::vector<std::string> texts;
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const std::size_t length = random() % 400;
    for (std::size_t i = 0; i < length; ++i) {
      text += (random() % 2) ? interesting[random() % interesting.size()]
                             : static_cast<char>(random() % 256);
    }
    texts.push_back(text);
  }
  texts.push_back(std::string("[Setup]\n") + std::string(4 << 20, 'x') + "=1");
  texts.push_back(std::string(4 << 20, '[') + "\n[Setup]\nx=2");
  texts.push_back(std::string(1 << 20, '\r'));
  texts.push_back(std::string("\0\0[Setup]\0\nx=\0", 14));

  for (const auto& text : texts) {
    IniDocument document(text);
    (void)document.Get("Setup", "x");
    ASSERT_TRUE(document.Set("Setup", "x", "123"));
    EXPECT_EQ(document.Get("Setup", "x"), "123");
    ASSERT_TRUE(document.Set("Setup", "h", "-4"));
    EXPECT_EQ(document.Get("Setup", "h"), "-4");
    EXPECT_EQ(document.Get("Setup", "x"), "123");
  }
}

// ---------------------------------------------------------------------------
// The profile functions over real files.

class ProfileFile : public testing::Test {
 protected:
  void WritePlacement(int x, int y, int w, int h) {
    EXPECT_TRUE(WritePrivateProfileString("Setup", "x", std::to_string(x), m_file));
    EXPECT_TRUE(WritePrivateProfileString("Setup", "y", std::to_string(y), m_file));
    EXPECT_TRUE(WritePrivateProfileString("Setup", "w", std::to_string(w), m_file));
    EXPECT_TRUE(WritePrivateProfileString("Setup", "h", std::to_string(h), m_file));
  }
  std::vector<int> ReadPlacement() const {
    return {GetPrivateProfileInt("Setup", "x", 50, m_file),
            GetPrivateProfileInt("Setup", "y", 50, m_file),
            GetPrivateProfileInt("Setup", "w", 240, m_file),
            GetPrivateProfileInt("Setup", "h", 210, m_file)};
  }
  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
      names.push_back(testing_support::Utf8(entry.path().filename()));
    }
    return names;
  }

  TempDir m_dir;
  std::string m_file = m_dir.File("talvor.ini");
};

TEST_F(ProfileFile, NoFileGivesTheDefaults) {
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{50, 50, 240, 210}));
  EXPECT_TRUE(DirectoryEntries().empty());
}

TEST_F(ProfileFile, OnlyHeightPresent) {
  WriteBytes(m_file, "[Setup]\r\nh=333\r\n");
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{50, 50, 240, 333}));
}

TEST_F(ProfileFile, FirstCloseCreatesTheFileWithTheKeysInOrder) {
  WritePlacement(120, -8, 300, 200);
  EXPECT_EQ(ReadBytes(m_file),
            "[Setup]" + kNl + "x=120" + kNl + "y=-8" + kNl + "w=300" + kNl + "h=200" + kNl);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{120, -8, 300, 200}));
  EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"talvor.ini"}));
}

TEST_F(ProfileFile, LaterClosesReplaceTheValues) {
  WritePlacement(1, 2, 3, 4);
  WritePlacement(-100, 2000, 2147483647, -2147483647 - 1);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{-100, 2000, 2147483647, -2147483647 - 1}));
}

TEST_F(ProfileFile, ReadsValuesTheWayWindowsDoes) {
  const IntRow rows[] = {
      {"", 240},  {" 12abc", 12},   {"-30", -30}, {"4294967297", 1}, {"2147483648", INT_MIN},
      {"abc", 0}, {"  640  ", 640},
  };
  for (const auto& row : rows) {
    WriteBytes(m_file, "[Setup]\r\nw=" + row.value + "\r\n");
    EXPECT_EQ(GetPrivateProfileInt("Setup", "w", 240, m_file), row.expected)
        << '"' << row.value << '"';
  }
}

TEST_F(ProfileFile, CrLfFileKeepsItsValuesAndForeignKeys) {
  WriteBytes(m_file, "[Other]\r\nk=v\r\n[Setup]\r\nx=5\r\ny=6\r\n");
  WritePlacement(7, 8, 9, 10);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{7, 8, 9, 10}));
  EXPECT_EQ(GetPrivateProfileInt("Other", "k", 99, m_file), 0);  // "v" has no digits
  EXPECT_EQ(GetPrivateProfileInt("Other", "missing", 99, m_file), 99);
}

TEST_F(ProfileFile, DirectoryWhereTheFileShouldBe) {
  std::filesystem::create_directory(m_file);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{50, 50, 240, 210}));
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "1", m_file));
  EXPECT_TRUE(std::filesystem::is_directory(m_file));
}

TEST_F(ProfileFile, FolderThatIsAFileFailsTheWrite) {
  WriteBytes(m_dir.File("plain"), "not a folder");
  const std::string file = m_dir.File("plain") + "/talvor.ini";
  EXPECT_EQ(GetPrivateProfileInt("Setup", "x", 50, file), 50);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "1", file));
  EXPECT_EQ(ReadBytes(m_dir.File("plain")), "not a folder");
}

#ifndef _WIN32

// On Windows the system owns the file format; these pin down our own.

TEST_F(ProfileFile, ForeignSectionsAndCommentsSurviveByteForByteOnDisk) {
  const std::string before =
      "; kept\n[Fonts]\nFace=IPAGothic\n\n[Setup]\n# mine\nh = 1 \n\n[Tail]\nz=0";
  WriteBytes(m_file, before);
  WritePlacement(10, 20, 30, 40);
  EXPECT_EQ(ReadBytes(m_file),
            "; kept\n[Fonts]\nFace=IPAGothic\n\n[Setup]\n# mine\nh = 40\nx=10\ny=20\nw=30\n\n"
            "[Tail]\nz=0");
}

TEST_F(ProfileFile, BinaryGarbageIsKeptAndTheKeysAppended) {
  std::string garbage;
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>(random() % 256);
  // No header inside, so the section must be appended.
  std::erase(garbage, '[');
  WriteBytes(m_file, garbage);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{50, 50, 240, 210}));
  WritePlacement(1, 2, 3, 4);
  const std::string after = ReadBytes(m_file);
  EXPECT_EQ(after.substr(0, garbage.size()), garbage);
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ProfileFile, NewFileIsWorldReadableAndAnOldModeIsKept) {
  WritePlacement(1, 2, 3, 4);
  struct stat info {};
  ASSERT_EQ(::stat(m_file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  ASSERT_EQ(::chmod(m_file.c_str(), 0600), 0);
  WritePlacement(5, 6, 7, 8);
  ASSERT_EQ(::stat(m_file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(ProfileFile, UnchangedValuesLeaveTheFileAlone) {
  WritePlacement(1, 2, 3, 4);
  struct stat before {};
  ASSERT_EQ(::stat(m_file.c_str(), &before), 0);
  WritePlacement(1, 2, 3, 4);
  struct stat after {};
  ASSERT_EQ(::stat(m_file.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);  // a rewrite would have renamed a new file in
}

TEST_F(ProfileFile, WritesThroughASymbolicLink) {
  const std::string real = m_dir.File("real.ini");
  WriteBytes(real, "[Setup]\nx=1\n");
  ASSERT_EQ(::symlink(real.c_str(), m_file.c_str()), 0);
  EXPECT_TRUE(WritePrivateProfileString("Setup", "x", "9", m_file));
  EXPECT_TRUE(std::filesystem::is_symlink(m_file));
  EXPECT_EQ(ReadBytes(real), "[Setup]\nx=9\n");
}

TEST_F(ProfileFile, FifoWhereTheFileShouldBeNeitherHangsNorIsReplaced) {
  ASSERT_EQ(::mkfifo(m_file.c_str(), 0600), 0);
  EXPECT_EQ(GetPrivateProfileInt("Setup", "x", 50, m_file), 50);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "1", m_file));
  struct stat info {};
  ASSERT_EQ(::lstat(m_file.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// A full disk, played by the file-size limit: the write fails halfway, which
// must cost neither the old file nor leave the half-written one behind.
TEST_F(ProfileFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string before = "[Setup]\nx=1\n" + std::string(3000, ';') + "\n";
  WriteBytes(m_file, before);

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WritePrivateProfileString("Setup", "x", std::string(2000, '7'), m_file);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(m_file), before);
  EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"talvor.ini"}));
}

// Permissions do not bind the superuser; these run for everyone else.
class ProfileFileDenied : public ProfileFile {
 protected:
  void SetUp() override {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser ignores permissions";
  }
};

TEST_F(ProfileFileDenied, ReadOnlyDirectoryFailsAndKeepsTheOldFile) {
  const std::string before = "[Setup]\nx=1\ny=2\nw=3\nh=4\n";
  WriteBytes(m_file, before);
  ASSERT_EQ(::chmod(m_dir.File("").c_str(), 0555), 0);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "100", m_file));
  EXPECT_FALSE(WritePrivateProfileString("Setup", "q", "1", m_file));
  ASSERT_EQ(::chmod(m_dir.File("").c_str(), 0755), 0);
  EXPECT_EQ(ReadBytes(m_file), before);
  EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"talvor.ini"}));
  EXPECT_EQ(ReadPlacement(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ProfileFileDenied, ReadOnlyDirectoryWithoutFileCreatesNothing) {
  ASSERT_EQ(::chmod(m_dir.File("").c_str(), 0555), 0);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "100", m_file));
  ASSERT_EQ(::chmod(m_dir.File("").c_str(), 0755), 0);
  EXPECT_TRUE(DirectoryEntries().empty());
}

TEST_F(ProfileFileDenied, ReadOnlyOrUnreadableFileIsNotReplaced) {
  const std::string before = "[Setup]\nx=1\n";
  WriteBytes(m_file, before);
  ASSERT_EQ(::chmod(m_file.c_str(), 0444), 0);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "2", m_file));
  ASSERT_EQ(::chmod(m_file.c_str(), 0200), 0);
  EXPECT_EQ(GetPrivateProfileInt("Setup", "x", 50, m_file), 50);
  EXPECT_FALSE(WritePrivateProfileString("Setup", "x", "2", m_file));
  ASSERT_EQ(::chmod(m_file.c_str(), 0644), 0);
  EXPECT_EQ(ReadBytes(m_file), before);
  EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"talvor.ini"}));
}

#endif

}  // namespace
}  // namespace talvor::platform
