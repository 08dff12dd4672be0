#include "platform/text.h"

#include <gtest/gtest.h>

namespace talvor::platform {
namespace {

struct TextRow {
  std::string utf8;
  std::string cp932;
};

TEST(Cp932Text, ConvertsBothWays) {
  const TextRow rows[] = {
      {"", ""},
      {"3:45 Track", "3:45 Track"},
      {"表", "\x95\x5C"},
      {"￣￣￣", "\x81\x50\x81\x50\x81\x50"},
      {"ｸﾘｱ (CTRL+E)", "\xB8\xD8\xB1 (CTRL+E)"},
      {"計 105", "\x8C\x76 105"},
      {"結果(分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ",
       "\x8C\x8B\x89\xCA(\x95\xAA\x81\x46\x95\x62)\n\xC0\xDE\xCC\xDE\xD9\xB8\xD8\xAF\xB8\x82\xC5"
       "\xBA\xCB\xDF\xB0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Utf8ToCp932(row.utf8), row.cp932) << row.utf8;
    EXPECT_EQ(Cp932ToUtf8(row.cp932), row.utf8) << row.utf8;
  }
}

TEST(Cp932Text, WhatCannotBeHeldBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x8E\xB5"
                        "b"),
            "a?b");  // an emoji: one character, one "?"
  EXPECT_EQ(Utf8ToCp932("a\xC3\xA9"
                        "b"),
            "a?b");  // é is not in CP932
  EXPECT_EQ(Utf8ToCp932("a\xFF\xFE"
                        "b"),
            "a??b");                                // not UTF-8 at all
  EXPECT_EQ(Utf8ToCp932("1:00\xE3\x81"), "1:00?");  // cut in the middle of a character
  EXPECT_EQ(Cp932ToUtf8("x\xA0y"), "x\xEF\xBF\xBDy");
}

TEST(Cp932Text, AppendReusesTheBufferAndKeepsItsStart) {
  std::string out = "keep:";
  AppendUtf8AsCp932("表", out);
  EXPECT_EQ(out, "keep:\x95\x5C");
}

TEST(Cp932Text, IsAsciiLooksAtEveryByte) {
  EXPECT_TRUE(IsAscii(""));
  EXPECT_TRUE(IsAscii("0123456789abcdef:"));
  EXPECT_FALSE(IsAscii("0123456789abcdef\x80"));
  EXPECT_FALSE(
      IsAscii("\x80"
              "0123456789abcdef"));
}

}  // namespace
}  // namespace talvor::platform
