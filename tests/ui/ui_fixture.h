// A running TALVOR in a temporary folder: the real main window, with the
// message box, the shell and the executable's path replaced so that a test
// can answer and observe them without a person.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "ui/main/main.h"

namespace talvor::ui::testing {

namespace fs = std::filesystem;
using namespace talvor::platform;
namespace drive = talvor::platform::testing;

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned flags;
};

std::string ReadFile(const fs::path& path);
// Paths as the platform layer speaks them: UTF-8.
std::string PathText(const fs::path& path);
fs::path PathFromText(const std::string& utf8);
void WriteFile(const fs::path& path, const std::string& bytes);

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates and shows the main window, as the entry point does.
  void Start();
  // Puts the sheet's text in place without running any command.
  void SetSheet(const std::string& text);
  void PutCaret(int line, int column, int length = 0);
  int CaretLine() const;
  int CaretColumn() const;
  std::vector<std::string> Fields() const;
  void PressInSheet(Word key, TShiftState shift = {}, bool keypad = false);
  // Runs fn inside the next modal run, then makes sure that run ends.
  void OnNextModal(std::function<void(TForm*)> fn);

  fs::path m_dir;
  fs::path SettingsFile() const { return m_dir / "talvor.ini"; }
  fs::path ReportFile() const { return m_dir / "tlvortmp.txt"; }
  std::vector<ShownMessage> m_messages;
  std::vector<std::string> m_opened;
};

}  // namespace talvor::ui::testing
