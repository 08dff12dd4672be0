// The main window driven as a person drives it: keys into the sheet, clicks
// and double-clicks on the panel, closing the window.
#include "core/sheet_sum.h"
#include "platform/profile.h"
#include "tests/ui/ui_fixture.h"

namespace talvor::ui::testing {
namespace {

using Fields3 = std::vector<std::string>;

class MainWindow : public UiTest {};

TEST_F(MainWindow, StartsWithTheTotalsOfAnEmptySheetAndTheFocusInIt) {
  Start();
  EXPECT_EQ(Fields(), (Fields3{" 0", " 0:00", " 0:00:00"}));
  EXPECT_TRUE(frmMain->Memo1->Focused());
  EXPECT_EQ(frmMain->Caption(), "TALVOR");
  EXPECT_EQ(frmMain->edtAns->Hint(), "結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
  EXPECT_EQ(frmMain->edtAnsT1->Hint(), "結果(分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
  EXPECT_EQ(frmMain->edtAnsT2->Hint(), "結果(時：分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
}

TEST_F(MainWindow, TypingDurationsAndEnterShowsTheRunningTotal) {
  Start();
  drive::TypeText(frmMain->Memo1, "3:45");
  PressInSheet(VK_RETURN);
  EXPECT_EQ(Fields(), (Fields3{" 225", " 3:45", " 0:03:45"}));
  drive::TypeText(frmMain->Memo1, "Track two 1.15 (live)");
  PressInSheet(VK_RETURN);
  EXPECT_EQ(Fields(), (Fields3{" 300", " 5:00", " 0:05:00"}));
  drive::TypeText(frmMain->Memo1, "表 1:02:03");
  PressInSheet(VK_RETURN);
  EXPECT_EQ(Fields(), (Fields3{" 4,023", " 67:03", " 1:07:03"}));
  EXPECT_EQ(frmMain->Memo1->Text(), "3:45\nTrack two 1.15 (live)\n表 1:02:03\n");
  drive::TypeText(frmMain->Memo1, ":30");
  PressInSheet(VK_RETURN);
  EXPECT_EQ(Fields(), (Fields3{"Error", "Error", "Error"}));
}

struct EnterRow {
  const char* name;
  const char* sheet;
  int line, column, selection;
  Word key;
  TShiftState shift;
  bool keypad;
  const char* sheetAfter;
  int lineAfter, columnAfter;
  const char* secondsAfter;  // " 0" when the Add command did not run
};

void PrintTo(const EnterRow& row, std::ostream* os) {
  *os << row.name;
}

class EnterInTheSheet : public UiTest, public ::testing::WithParamInterface<EnterRow> {};

TEST_P(EnterInTheSheet, MovesOrAppendsNeverSplits) {
  const EnterRow& row = GetParam();
  Start();
  SetSheet(row.sheet);
  PutCaret(row.line, row.column, row.selection);
  PressInSheet(row.key, row.shift, row.keypad);
  EXPECT_EQ(frmMain->Memo1->Text(), row.sheetAfter);
  EXPECT_EQ(CaretLine(), row.lineAfter);
  EXPECT_EQ(CaretColumn(), row.columnAfter);
  EXPECT_EQ(frmMain->Memo1->SelLength(), 0);
  EXPECT_EQ(frmMain->edtAns->Text(), row.secondsAfter);
}

const TShiftState kNone{}, kShift{.shift = true}, kCtrl{.ctrl = true};

INSTANTIATE_TEST_SUITE_P(
    Keys, EnterInTheSheet,
    ::testing::Values(EnterRow{"MiddleLine", "1:00\n2:00\n3:00", 1, 2, 0, VK_RETURN, kNone, false,
                               "1:00\n2:00\n3:00", 2, 0, " 360"},
                      EnterRow{"LastLineMiddle", "1:00\n2:00", 1, 1, 0, VK_RETURN, kNone, false,
                               "1:00\n2:00\n", 2, 0, " 180"},
                      EnterRow{"LastLineStart", "1:00\n2:00", 1, 0, 0, VK_RETURN, kNone, false,
                               "1:00\n2:00\n", 2, 0, " 180"},
                      EnterRow{"SelectionDropped", "1:00\n2:00\n3:00", 0, 1, 6, VK_RETURN, kNone,
                               false, "1:00\n2:00\n3:00", 1, 0, " 360"},
                      EnterRow{"SelectionOnLastLine", "1:00\n2:00", 1, 0, 4, VK_RETURN, kNone,
                               false, "1:00\n2:00\n", 2, 0, " 180"},
                      EnterRow{"ShiftEnter", "1:00\n2:00\n3:00", 0, 3, 0, VK_RETURN, kShift, false,
                               "1:00\n2:00\n3:00", 1, 0, " 360"},
                      EnterRow{"KeypadEnter", "1:00\n2:00\n3:00", 1, 4, 0, VK_RETURN, kNone, true,
                               "1:00\n2:00\n3:00", 2, 0, " 360"},
                      EnterRow{"CtrlMMovesWithoutAdding", "1:00\n2:00\n3:00", 0, 1, 0, 'M', kCtrl,
                               false, "1:00\n2:00\n3:00", 1, 0, " 0"},
                      EnterRow{"CtrlMOnLastLineAppends", "1:00", 0, 2, 0, 'M', kCtrl, false,
                               "1:00\n", 1, 0, " 0"}));

TEST_F(MainWindow, HoldingEnterWalksDownThenAppends) {
  Start();
  SetSheet("1\n2");
  PutCaret(0, 1);
  for (int i = 0; i < 3; ++i) PressInSheet(VK_RETURN);
  EXPECT_EQ(frmMain->Memo1->Text(), "1\n2\n\n");
  EXPECT_EQ(CaretLine(), 3);
  EXPECT_EQ(frmMain->edtAns->Text(), " 3");
}

TEST_F(MainWindow, EnterOnTheLastLineOfAHugeSheetGoesToTheTrueEnd) {
  Start();
  std::string sheet;
  for (int i = 0; i < 20000; ++i) sheet += "1:00\n";
  sheet += "12345";  // 100,005 characters in all: far beyond 65,535
  SetSheet(sheet);
  PutCaret(20000, 2);
  PressInSheet(VK_RETURN);
  EXPECT_EQ(frmMain->Memo1->Text(), sheet + "\n");
  EXPECT_EQ(CaretLine(), 20001);
  EXPECT_EQ(frmMain->edtAns->Text(), " 1,212,345");
}

TEST_F(MainWindow, CtrlIInsertsAnEmptyLineAboveTheCaretsLine) {
  Start();
  SetSheet("a\nb\nc");
  PutCaret(1, 1);
  PressInSheet('I', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "a\n\nb\nc");
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_EQ(CaretColumn(), 0);
  EXPECT_EQ(frmMain->edtAns->Text(), " 0");  // no Add command

  SetSheet("");
  PressInSheet('I', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "\n");
  EXPECT_EQ(CaretLine(), 1);
}

TEST_F(MainWindow, CtrlEFromAResultFieldClearsAndAddsAndFocusesTheSheet) {
  Start();
  drive::TypeText(frmMain->Memo1, "90");
  PressInSheet(VK_RETURN);
  ASSERT_EQ(frmMain->edtAns->Text(), " 90");
  frmMain->edtAnsT1->SetFocus();
  drive::ProcessEvents();
  drive::KeyPress(frmMain->edtAnsT1, 'E', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "");
  EXPECT_EQ(Fields(), (Fields3{" 0", " 0:00", " 0:00:00"}));
  EXPECT_TRUE(frmMain->Memo1->Focused());
}

TEST_F(MainWindow, ShortcutsNeverReachTheSheet) {
  Start();
  std::vector<Word> seen;
  const TKeyEvent original = frmMain->Memo1->OnKeyDown;
  frmMain->Memo1->OnKeyDown = [&](TObject* sender, Word& key, TShiftState shift) {
    seen.push_back(key);
    original(sender, key, shift);
  };
  SetSheet("90");
  PutCaret(0, 2);
  PressInSheet('R', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "90");
  EXPECT_EQ(frmMain->edtAns->Text(), " 90");
  PressInSheet('I', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "\n90");
  PressInSheet('E', kCtrl);
  EXPECT_EQ(frmMain->Memo1->Text(), "");
  for (const Word key : seen) EXPECT_TRUE(key != 'R' && key != 'E' && key != 'I') << key;
}

TEST_F(MainWindow, EnterOnAResultFieldPressesTheAddButton) {
  Start();
  SetSheet("1:30");
  frmMain->edtAns->SetFocus();
  drive::ProcessEvents();
  drive::KeyPress(frmMain->edtAns, VK_RETURN);
  EXPECT_EQ(frmMain->edtAns->Text(), " 90");
  EXPECT_TRUE(frmMain->Memo1->Focused());
}

TEST_F(MainWindow, DoubleClickCopiesTheFieldWithItsSignColumn) {
  Start();
  SetSheet("3:45");
  frmMain->btnCalc->Click();
  drive::DoubleClick(frmMain->edtAnsT1, {10, 10});
  EXPECT_EQ(drive::ClipboardText(), " 3:45");
  EXPECT_EQ(frmMain->edtAnsT1->SelText(), " 3:45");

  SetSheet("30\n-1:00");
  frmMain->btnCalc->Click();
  drive::DoubleClick(frmMain->edtAnsT2, {10, 10});
  EXPECT_EQ(drive::ClipboardText(), "-0:00:30");

  SetSheet(":30");
  frmMain->btnCalc->Click();
  drive::DoubleClick(frmMain->edtAns, {10, 10});
  EXPECT_EQ(drive::ClipboardText(), "Error");
}

TEST_F(MainWindow, ClearButtonEmptiesTheSheet) {
  Start();
  SetSheet("1:00\n2:00");
  drive::Click(frmMain->sbtnClear, {11, 11});
  EXPECT_EQ(frmMain->Memo1->Text(), "");
  EXPECT_EQ(frmMain->edtAns->Text(), " 0");
}

TEST_F(MainWindow, ExitOrEndLineClosesAndStoresThePlacement) {
  for (const char* keyword : {"exit", "END"}) {
    SCOPED_TRACE(keyword);
    fs::remove(SettingsFile());
    Start();
    drive::TypeText(frmMain->Memo1, "90");
    PressInSheet(VK_RETURN);
    drive::TypeText(frmMain->Memo1, keyword);
    PressInSheet(VK_RETURN);
    EXPECT_FALSE(frmMain->Showing());
    EXPECT_EQ(frmMain->edtAns->Text(), " 90");  // the fields were set before the close
    const TRect bounds = frmMain->Bounds();
    std::string stored = ReadFile(SettingsFile());
    std::erase(stored, '\r');
    EXPECT_EQ(stored, "[Setup]\nx=" + std::to_string(bounds.left) + "\ny=" +
                          std::to_string(bounds.top) + "\nw=" + std::to_string(bounds.width) +
                          "\nh=" + std::to_string(bounds.height) + "\n");
    delete frmMain;
    frmMain = nullptr;
  }
}

TEST_F(MainWindow, CannotBeDraggedSmallerThan130By210) {
  Start();
  EXPECT_EQ(drive::MinimumTrackSize(frmMain), (TPoint{130, 210}));
}

TEST_F(MainWindow, ErrorInAHandlerIsShownAndTheProgramGoesOn) {
  Start();
  frmMain->btnClose->OnClick = [](TObject*) { throw Exception("RichEdit での行の挿入ｴﾗｰ"); };
  frmMain->btnClose->Click();
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].text, "RichEdit での行の挿入ｴﾗｰ.");
  EXPECT_EQ(m_messages[0].caption, "TALVOR");
  EXPECT_EQ(m_messages[0].flags, MB_ICONERROR);
  EXPECT_TRUE(frmMain->Showing());
  drive::TypeText(frmMain->Memo1, "5");
  PressInSheet(VK_RETURN);
  EXPECT_EQ(frmMain->edtAns->Text(), " 5");
}

// Window placement.

struct PlacementRow {
  const char* name;
  const char* ini;  // null: no settings file
  TRect bounds;
};

void PrintTo(const PlacementRow& row, std::ostream* os) {
  *os << row.name;
}

class Placement : public UiTest, public ::testing::WithParamInterface<PlacementRow> {};

TEST_P(Placement, ComesFromTheSettingsFile) {
  const PlacementRow& row = GetParam();
  if (row.ini) WriteFile(SettingsFile(), row.ini);
  Start();
  EXPECT_EQ(frmMain->Bounds(), row.bounds);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Placement,
    ::testing::Values(
        PlacementRow{"NoFile", nullptr, {50, 50, 240, 210}},
        PlacementRow{"Stored", "[Setup]\nx=100\ny=120\nw=300\nh=400\n", {100, 120, 300, 400}},
        PlacementRow{
            "XBeyondScreen", "[Setup]\nx=2000\ny=120\nw=300\nh=400\n", {10, 120, 300, 400}},
        PlacementRow{"XAtScreenWidth", "[Setup]\nx=1024\ny=120\n", {1024, 120, 240, 210}},
        PlacementRow{"YBeyondScreen", "[Setup]\nx=30\ny=769\n", {30, 10, 240, 210}},
        PlacementRow{"OnlyHeight", "[Setup]\nh=333\n", {50, 50, 240, 333}},
        PlacementRow{"NegativeStays", "[Setup]\nx=-40\ny=-5\n", {-40, -5, 240, 210}},
        PlacementRow{"OtherSectionOnly", "[Other]\nx=700\n", {50, 50, 240, 210}},
        PlacementRow{"CrLf", "[Setup]\r\nx=60\r\ny=70\r\n", {60, 70, 240, 210}},
        PlacementRow{"Empty", "", {50, 50, 240, 210}},
        PlacementRow{"EmptyValues", "[Setup]\nx=\ny= \n", {50, 50, 240, 210}},
        PlacementRow{"TrailingText", "[Setup]\nx= 70px\ny=abc\n", {70, 0, 240, 210}},
        PlacementRow{
            "Beyond32Bits", "[Setup]\nx=4294967396\ny=99999999999999999999\n", {100, 10, 240, 210}},
        PlacementRow{"Garbage",
                     "\x7F"
                     "ELF\x02\x01\0\xFF[Setu\n=\x9A\x5C\r\r",
                     {50, 50, 240, 210}}));

TEST_F(MainWindow, ClosingAfterAGarbageSettingsFileKeepsItsBytes) {
  const std::string garbage(
      "\x7F"
      "ELF\x02\x01\0\xFF[Setu\n=\x9A\x5C\r\rx=1\n[Setup",
      28);
  WriteFile(SettingsFile(), garbage);
  Start();
  frmMain->btnClose->Click();
  const std::string after = ReadFile(SettingsFile());
  EXPECT_EQ(after.substr(0, garbage.size()), garbage);
  const std::string file = PathText(SettingsFile());
  EXPECT_EQ(GetPrivateProfileInt("Setup", "x", -1, file), frmMain->Bounds().left);
  EXPECT_EQ(GetPrivateProfileInt("Setup", "h", -1, file), frmMain->Bounds().height);
}

TEST_F(MainWindow, ClosingKeepsEverythingElseInTheSettingsFile) {
  const std::string before =
      "; kept by hand\r\n[Other]\r\nx=1\r\n\r\n[Setup]\r\nx=70\r\nfoo=bar\r\n[Tail]\r\nz=9\r\n";
  WriteFile(SettingsFile(), before);
  Start();
  frmMain->btnClose->Click();
  EXPECT_FALSE(frmMain->Showing());
  const TRect b = frmMain->Bounds();
  const std::string after = ReadFile(SettingsFile());
  EXPECT_EQ(after.substr(0, after.find("[Setup]")), "; kept by hand\r\n[Other]\r\nx=1\r\n\r\n");
  EXPECT_NE(after.find("[Setup]\r\nx=" + std::to_string(b.left) + "\r\nfoo=bar\r\n"),
            std::string::npos)
      << after;
  EXPECT_NE(after.find("[Tail]\r\nz=9\r\n"), std::string::npos) << after;
  const std::string file = PathText(SettingsFile());
  EXPECT_EQ(GetPrivateProfileInt("Setup", "y", -1, file), b.top);
  EXPECT_EQ(GetPrivateProfileInt("Setup", "w", -1, file), b.width);
  EXPECT_EQ(GetPrivateProfileInt("Setup", "h", -1, file), b.height);
}

TEST_F(MainWindow, AFailedSettingsWriteIsSilentAndTheCloseGoesOn) {
  // The settings file's name is taken by a folder: no write can succeed,
  // whoever runs the test.
  fs::create_directories(SettingsFile());
  Start();
  EXPECT_EQ(frmMain->Bounds(), (TRect{50, 50, 240, 210}));
  frmMain->btnClose->Click();
  EXPECT_FALSE(frmMain->Showing());
  EXPECT_TRUE(m_messages.empty());
  EXPECT_TRUE(fs::is_directory(SettingsFile()));
}

}  // namespace
}  // namespace talvor::ui::testing
