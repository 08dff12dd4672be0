#include "tests/ui/ui_fixture.h"

#include <fstream>
#include <random>
#include <sstream>

namespace talvor::ui::testing {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path PathFromText(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void UiTest::SetUp() {
  std::random_device random;
  m_dir = fs::temp_directory_path() / ("talvor-ui-" + std::to_string(random()));
  fs::create_directories(m_dir);
#ifdef _WIN32
  const std::string exe = PathText(m_dir / "Talvor.exe");
#else
  const std::string exe = PathText(m_dir / "talvor");
#endif
  Application->Hooks.exeName = [exe] { return exe; };
  Application->Hooks.screenSize = [] { return TPoint{1024, 768}; };
  Application->Hooks.messageBox = [this](TForm*, const std::string& text,
                                         const std::string& caption, unsigned flags) {
    m_messages.push_back({text, caption, flags});
    return IDOK;
  };
  Application->Hooks.shellOpen = [this](TForm*, const std::string& path) {
    m_opened.push_back(path);
    return true;
  };
  Application->Hooks.modalShown = nullptr;
}

void UiTest::TearDown() {
  delete frmMain;
  frmMain = nullptr;
  OldMemoWndProc = nullptr;
  drive::ProcessEvents();
  Application->Hooks = {};
  std::error_code ignored;
  fs::permissions(m_dir, fs::perms::owner_all, ignored);
  fs::remove_all(m_dir, ignored);
}

void UiTest::Start() {
  Application->SetTitle("TALVOR");
  Application->CreateForm(frmMain);
  frmMain->Show();
  drive::ProcessEvents();
}

void UiTest::SetSheet(const std::string& text) {
  frmMain->Memo1->SetText(text);
}

void UiTest::PutCaret(int line, int column, int length) {
  const int at = frmMain->Memo1->LineIndex(line) + column;
  frmMain->Memo1->SetSel(at, at + length);
}

int UiTest::CaretLine() const {
  return frmMain->Memo1->LineFromChar(frmMain->Memo1->SelStart());
}

int UiTest::CaretColumn() const {
  return frmMain->Memo1->SelStart() - frmMain->Memo1->LineIndex(CaretLine());
}

std::vector<std::string> UiTest::Fields() const {
  return {frmMain->edtAns->Text(), frmMain->edtAnsT1->Text(), frmMain->edtAnsT2->Text()};
}

void UiTest::PressInSheet(Word key, TShiftState shift, bool keypad) {
  drive::KeyPress(frmMain->Memo1, key, shift, keypad);
}

void UiTest::OnNextModal(std::function<void(TForm*)> fn) {
  Application->Hooks.modalShown = [fn](TForm* form) {
    Application->Hooks.modalShown = nullptr;
    fn(form);
    if (form->Showing()) form->Close();
  };
}

}  // namespace talvor::ui::testing
