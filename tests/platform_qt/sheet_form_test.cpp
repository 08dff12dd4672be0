// The sheet form: key preview, the sheet's key and character path, its line
// list, alignment, focus order, result fields and the error display.
#include <QFontDatabase>
#include <QFontInfo>
#include <QToolButton>
#include <memory>

#include "platform/qt/qt_private.h"
#include "tests/platform_qt/test_forms.h"

namespace talvor::platform::qt_test {
namespace {

class SheetForm : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    m_form = std::make_unique<TSheetForm>(Application);
    m_form->Show();
    drive::ProcessEvents();
  }
  void TearDown() override {
    m_form.reset();
    FormTest::TearDown();
  }

  TSheetForm& F() { return *m_form; }
  void SetSheet(const std::string& text, int caret) {
    F().Memo1->SetText(text);
    F().Memo1->SetSel(caret, caret);
    F().Memo1->SetFocus();
  }

  std::unique_ptr<TSheetForm> m_form;
};

TEST_F(SheetForm, ShortcutsActFromEveryControlAndNeverReachTheSheet) {
  for (TControl* control : std::initializer_list<TControl*>{F().Memo1, F().edtAns, F().btnCalc}) {
    SCOPED_TRACE(control->Name);
    F().menuRuns.clear();
    F().keyDowns.clear();
    control->SetFocus();
    ASSERT_TRUE(control->Focused());
    drive::KeyPress(control, 'E', {.ctrl = true});
    drive::KeyPress(control, 'R', {.ctrl = true});
    drive::KeyPress(control, 'I', {.ctrl = true});
    EXPECT_EQ(F().menuRuns, (std::vector<std::string>{"clear", "run", "ins"}));
    EXPECT_TRUE(F().keyDowns.empty());
  }
  // Ctrl+I would type a tab if it reached the sheet.
  EXPECT_EQ(F().Memo1->Text(), "");
  EXPECT_EQ(F().calcClicks, 0);
}

TEST_F(SheetForm, AKeyWithoutAShortcutReachesTheSheet) {
  SetSheet("ab", 2);
  drive::KeyPress(F().Memo1, 'Q', {.ctrl = true});
  drive::TypeText(F().Memo1, "c");
  EXPECT_EQ(F().keyDowns, (std::vector<Word>{'Q', 'C'}));
  EXPECT_EQ(F().Memo1->Text(), "abc");
  EXPECT_TRUE(F().menuRuns.empty());
}

struct EnterRow {
  const char* name;
  Word key;
  TShiftState shift;
  bool keypad;
  Word keyDown;
};

class SheetEnter : public SheetForm, public ::testing::WithParamInterface<EnterRow> {};

// Every way of typing a carriage return reaches WindowProc as WM_CHAR 13, and
// the sheet's own handling types one line break at the caret.
TEST_P(SheetEnter, TypesOneCarriageReturnThroughWindowProc) {
  const EnterRow& row = GetParam();
  SetSheet("ab\ncd", 1);
  drive::KeyPress(F().Memo1, row.key, row.shift, row.keypad);
  EXPECT_EQ(F().keyDowns, (std::vector<Word>{row.keyDown}));
  EXPECT_EQ(F().chars, (std::vector<std::uintptr_t>{13}));
  EXPECT_EQ(F().Memo1->Text(), "a\nb\ncd");
  EXPECT_EQ(F().Memo1->SelStart(), 2);
  EXPECT_EQ(F().calcClicks, 0);  // Enter in the sheet is the sheet's, not the default button's
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SheetEnter,
    ::testing::Values(EnterRow{"Enter", VK_RETURN, {}, false, VK_RETURN},
                      EnterRow{"KeypadEnter", VK_RETURN, {}, true, VK_RETURN},
                      EnterRow{"ShiftEnter", VK_RETURN, {.shift = true}, false, VK_RETURN},
                      EnterRow{"CtrlEnter", VK_RETURN, {.ctrl = true}, false, VK_RETURN},
                      EnterRow{"CtrlM", 'M', {.ctrl = true}, false, 'M'}),
    [](const ::testing::TestParamInfo<EnterRow>& info) { return std::string(info.param.name); });

TEST_F(SheetForm, AWindowProcThatSwallowsTheCarriageReturnTypesNothing) {
  const TWndMethod old = F().Memo1->WindowProc;
  F().Memo1->WindowProc = [old](TMessage& message) {
    if (message.Msg == WM_CHAR && message.WParam == 13) return;
    old(message);
  };
  SetSheet("", 0);
  drive::TypeText(F().Memo1, "x");
  drive::KeyPress(F().Memo1, VK_RETURN);
  drive::KeyPress(F().Memo1, VK_RETURN, {}, true);
  drive::TypeText(F().Memo1, "y");
  EXPECT_EQ(F().Memo1->Text(), "xy");
  EXPECT_EQ(F().Memo1->LineCount(), 1);
  // The key-down still came first, each time.
  EXPECT_EQ(F().keyDowns, (std::vector<Word>{'X', VK_RETURN, VK_RETURN, 'Y'}));
}

TEST_F(SheetForm, AKeyDownHandlerThatClearsTheKeyStopsIt) {
  F().Memo1->OnKeyDown = [](TObject*, Word& key, TShiftState) {
    if (key == 'Q' || key == VK_RETURN) key = 0;
  };
  SetSheet("", 0);
  drive::TypeText(F().Memo1, "aqb");
  drive::KeyPress(F().Memo1, VK_RETURN);
  EXPECT_EQ(F().Memo1->Text(), "ab");
  EXPECT_EQ(F().chars, (std::vector<std::uintptr_t>{'a', 'b'}));
}

TEST_F(SheetForm, TabTypesATabAndKeepsTheFocus) {
  SetSheet("ab", 1);
  drive::KeyPress(F().Memo1, VK_TAB);
  EXPECT_EQ(F().Memo1->Text(), "a\tb");
  EXPECT_TRUE(F().Memo1->Focused());
}

TEST_F(SheetForm, TypedTextKeepsItsCharacters) {
  SetSheet("", 0);
  drive::TypeText(F().Memo1, "3:45 ＥＸＩＴ 表");
  EXPECT_EQ(F().Memo1->Text(), "3:45 ＥＸＩＴ 表");
}

// Positions on "ab", "", "cde": lines start at 0, 3 and 4; the end is 7.
TEST_F(SheetForm, LinesAndPositionsFollowTheBlocks) {
  TRichEdit* sheet = F().Memo1;
  sheet->SetText("ab\n\ncde");
  EXPECT_EQ(sheet->LineCount(), 3);
  EXPECT_EQ(sheet->Line(0), "ab");
  EXPECT_EQ(sheet->Line(1), "");
  EXPECT_EQ(sheet->Line(2), "cde");
  EXPECT_EQ(sheet->TextLength(), 7);
  EXPECT_EQ(sheet->Text(), "ab\n\ncde");

  const struct { int line, index; } starts[] = {{0, 0}, {1, 3}, {2, 4}, {3, -1}, {100, -1}};
  for (const auto& row : starts) EXPECT_EQ(sheet->LineIndex(row.line), row.index) << row.line;

  const struct {
    int position, line;
  } lines[] = {{0, 0}, {2, 0}, {3, 1}, {4, 2}, {7, 2}, {65535, 2}};
  for (const auto& row : lines)
    EXPECT_EQ(sheet->LineFromChar(row.position), row.line) << row.position;

  sheet->SetSel(65534, 65535);  // past the end: the end, nothing selected
  EXPECT_EQ(sheet->SelStart(), 7);
  EXPECT_EQ(sheet->SelLength(), 0);
  sheet->SetSel(5, 1);  // a backward selection starts at its lower end
  EXPECT_EQ(sheet->SelStart(), 1);
  EXPECT_EQ(sheet->SelLength(), 4);
  sheet->ReplaceSel("X\nY");
  EXPECT_EQ(sheet->Text(), "aX\nYde");
  EXPECT_EQ(sheet->LineCount(), 2);
  EXPECT_EQ(sheet->SelStart(), 4);
}

TEST_F(SheetForm, AnEmptySheetHasNoLinesButALineIndexForLineZero) {
  TRichEdit* sheet = F().Memo1;
  sheet->SetText("");
  EXPECT_EQ(sheet->LineCount(), 0);
  EXPECT_EQ(sheet->LineIndex(0), 0);
  EXPECT_EQ(sheet->LineIndex(1), -1);
  EXPECT_EQ(sheet->TextLength(), 0);
  EXPECT_EQ(sheet->Text(), "");
  sheet->SetText("a\n");
  EXPECT_EQ(sheet->LineCount(), 2);
  EXPECT_EQ(sheet->Text(), "a\n");
  sheet->SetText("a\r\nb");  // one break, as the contract speaks "\n"
  EXPECT_EQ(sheet->Text(), "a\nb");
  sheet->ClearLines();
  EXPECT_EQ(sheet->LineCount(), 0);
}

TEST_F(SheetForm, InsertLineAboveTheCaretsLine) {
  TRichEdit* sheet = F().Memo1;
  SetSheet("one\ntwo\nthree", 5);  // inside "two"
  sheet->InsertLine(sheet->LineFromChar(sheet->SelStart()), "");
  EXPECT_EQ(sheet->Text(), "one\n\ntwo\nthree");
  EXPECT_EQ(sheet->SelStart(), sheet->LineIndex(2));  // at the start of "two"

  SetSheet("", 0);
  sheet->InsertLine(0, "");
  EXPECT_EQ(sheet->LineCount(), 2);
  EXPECT_EQ(sheet->Text(), "\n");
  EXPECT_EQ(sheet->LineFromChar(sheet->SelStart()), 1);

  SetSheet("a\nb", 0);
  sheet->InsertLine(2, "c");
  EXPECT_EQ(sheet->Text(), "a\nb\nc");
  EXPECT_THROW(sheet->InsertLine(5, "x"), Exception);
}

TEST_F(SheetForm, LineQueriesOnAHundredThousandLines) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += std::to_string(10000 + i) + "\n";
  text.pop_back();
  TRichEdit* sheet = F().Memo1;
  sheet->SetText(text);
  EXPECT_EQ(sheet->LineCount(), 100000);
  EXPECT_EQ(sheet->Line(99999), "109999");
  EXPECT_EQ(sheet->LineIndex(50000), 6 * 50000);
  EXPECT_EQ(sheet->LineFromChar(6 * 70000 + 2), 70000);
  EXPECT_EQ(sheet->Text(), text);
  EXPECT_EQ(sheet->TextLength(), static_cast<int>(text.size()));
}

TEST_F(SheetForm, EnterOnAnEditPressesTheDefaultButton) {
  F().edtAns->SetFocus();
  drive::KeyPress(F().edtAns, VK_RETURN);
  EXPECT_EQ(F().calcClicks, 1);
  drive::KeyPress(F().edtAns, VK_RETURN, {}, true);
  EXPECT_EQ(F().calcClicks, 2);
}

TEST_F(SheetForm, PanelAlignsRightAndTheSheetFillsTheRest) {
  const auto check = [&] {
    const int width = F().ClientWidth();
    const int height = F().ClientHeight();
    EXPECT_EQ(F().Panel1->Bounds(), (TRect{width - 90, 0, 90, height}));
    EXPECT_EQ(F().Memo1->Bounds(), (TRect{0, 0, width - 90, height}));
  };
  check();
  F().SetClientSize(300, 250);
  drive::ProcessEvents();
  check();
  F().SetBounds(70, 80, 260, 230);
  drive::ProcessEvents();
  check();
  EXPECT_EQ(F().Bounds(), (TRect{70, 80, 260, 230}));
}

TEST_F(SheetForm, OuterBoundsSetBeforeTheFirstShowAreKept) {
  const TRect rows[] = {{-40, -5, 240, 210}, {60, 70, 300, 400}, {0, 0, 240, 210}};
  for (const TRect& bounds : rows) {
    auto form = std::make_unique<TSheetForm>(Application);
    form->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
    form->Show();
    drive::ProcessEvents();
    EXPECT_EQ(form->Bounds(), bounds);
  }
}

TEST_F(SheetForm, TabOrderRunsThroughThePanelFirstAndSkipsToolButtons) {
  F().edtAns->SetFocus();
  drive::KeyPress(F().edtAns, VK_TAB);
  EXPECT_TRUE(F().btnCalc->Focused());
  drive::KeyPress(F().btnCalc, VK_TAB);
  EXPECT_TRUE(F().btnClose->Focused());
  drive::KeyPress(F().btnClose, VK_TAB);
  EXPECT_TRUE(F().Memo1->Focused());
  EXPECT_FALSE(F().sbtnClear->CanFocus());
  EXPECT_FALSE(F().Panel1->CanFocus());
  EXPECT_TRUE(F().edtAns->CanFocus());
}

TEST_F(SheetForm, MinimumTrackSizeIsTheFormsOwn) {
  auto form = std::make_unique<TSheetForm>(Application);
  form->minimum.ptMinTrackSize = {130, 210};
  form->SetBounds(40, 40, 100, 100);
  form->Show();
  drive::ProcessEvents();
  EXPECT_EQ(drive::MinimumTrackSize(form.get()), (TPoint{130, 210}));
  // The window system keeps the form at its minimum.
  form->SetBounds(40, 40, 100, 100);
  EXPECT_EQ(form->Width(), 130);
  EXPECT_EQ(form->Height(), 210);
}

TEST_F(SheetForm, CloseBoxAsksTheCloseQuery) {
  int queries = 0;
  bool allow = false;
  F().OnCloseQuery = [&](TObject*, bool& canClose) {
    ++queries;
    EXPECT_TRUE(canClose);  // arrives set
    canClose = allow;
  };
  drive::CloseBox(&F());
  EXPECT_TRUE(F().Showing());
  allow = true;
  drive::CloseBox(&F());
  EXPECT_FALSE(F().Showing());
  EXPECT_EQ(queries, 2);
}

TEST_F(SheetForm, AnErrorInACloseQueryIsShownAndKeepsTheFormOpen) {
  F().OnCloseQuery = [](TObject*, bool&) { throw Exception("cannot"); };
  F().Close();
  EXPECT_TRUE(F().Showing());
  EXPECT_EQ(m_messages, (std::vector<ShownMessage>{{"cannot.", "TALVOR", MB_ICONERROR}}));
}

TEST_F(SheetForm, AnErrorInAKeyHandlerIsShownAndTheSheetGoesOn) {
  F().Memo1->OnKeyDown = [](TObject*, Word& key, TShiftState) {
    if (key == VK_RETURN) throw std::runtime_error("no room");
  };
  SetSheet("", 0);
  drive::KeyPress(F().Memo1, VK_RETURN);
  drive::TypeText(F().Memo1, "z");
  EXPECT_EQ(m_messages, (std::vector<ShownMessage>{{"no room.", "TALVOR", MB_ICONERROR}}));
  EXPECT_EQ(F().Memo1->Text(), "\nz");
}

TEST_F(SheetForm, HintsShowOnlyWithShowHintAndKeepTheirLineBreak) {
  QWidget* edit = qt::WidgetOf(F().edtAns);
  F().edtAns->SetHint("結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
  EXPECT_EQ(edit->toolTip(), QStringLiteral("結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ"));
  F().edtAns->SetShowHint(false);
  EXPECT_TRUE(edit->toolTip().isEmpty());
  EXPECT_TRUE(qt::WidgetOf(F().btnClose)->toolTip().isEmpty());  // no hint in its layout row
}

TEST_F(SheetForm, LayoutFontsAreSubstitutedAtTwelvePixels) {
  const QStringList families = QFontDatabase::families();
  if (families.contains(QString::fromUtf8(kFontGothic)) ||
      families.contains(QString::fromUtf8(kFontPGothic)))
    GTEST_SKIP() << "the Windows fonts are installed here";
  const QFontInfo sheet = qt::WidgetOf(F().Memo1)->fontInfo();
  const QFontInfo button = qt::WidgetOf(F().btnCalc)->fontInfo();
  EXPECT_EQ(sheet.family(), QStringLiteral("IPAGothic"));
  EXPECT_EQ(button.family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(sheet.pixelSize(), 12);
  EXPECT_EQ(button.pixelSize(), 12);
}

TEST_F(SheetForm, GlyphsComeFromTheProgramsResources) {
  const auto* button = static_cast<QToolButton*>(qt::WidgetOf(F().sbtnClear));
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->iconSize(), QSize(17, 16));
}

// --- driven with the mouse ---

using SheetFormMouse = SheetForm;

TEST_F(SheetFormMouse, DoubleClickOnAnEditRunsTheHandlerAfterTheWordSelection) {
  F().edtAns->SetText(" 3:45");
  std::string selectedBefore;
  F().edtAns->OnDblClick = [&](TObject* sender) {
    auto* edit = static_cast<TEdit*>(sender);
    selectedBefore = edit->SelText();
    edit->SelectAll();
    edit->CopyToClipboard();
  };
  drive::DoubleClick(F().edtAns, {40, 10});
  EXPECT_FALSE(selectedBefore.empty());  // the edit had selected a word first
  EXPECT_EQ(F().edtAns->SelText(), " 3:45");
  EXPECT_EQ(drive::ClipboardText(), " 3:45");
  EXPECT_EQ(Application->ClipboardText(), " 3:45");
}

TEST_F(SheetFormMouse, AnErrorInAClickHandlerIsShownAndTheProgramGoesOn) {
  F().btnClose->OnClick = [](TObject*) { throw Exception("RichEdit での行の挿入ｴﾗｰ"); };
  drive::Click(F().btnClose, {10, 10});
  EXPECT_EQ(m_messages,
            (std::vector<ShownMessage>{{"RichEdit での行の挿入ｴﾗｰ.", "TALVOR", MB_ICONERROR}}));
  EXPECT_TRUE(F().Showing());
  drive::Click(F().btnCalc, {10, 10});
  EXPECT_EQ(F().calcClicks, 1);
}

TEST_F(SheetFormMouse, AClickOnTheToolButtonRunsItsHandlerAndLeavesTheFocus) {
  int clicks = 0;
  F().sbtnClear->OnClick = [&](TObject*) { ++clicks; };
  F().Memo1->SetFocus();
  drive::Click(F().sbtnClear, {11, 11});
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(F().Memo1->Focused());
}

}  // namespace
}  // namespace talvor::platform::qt_test
