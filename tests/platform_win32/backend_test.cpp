// The Win32 backend under real window messages: a small form built from a
// layout table, driven through the test driver (keys posted to the focused
// window and run through the message loop's own step, mouse messages onto
// the controls). A few checks look at the native windows themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/layout.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/testing.h"
#include "platform/text.h"

// After the platform headers (see win32_api.h).
#include "platform/win32/win32_impl.h"

namespace talvor::platform {
namespace {

namespace drive = talvor::platform::testing;

// A sheet with its tools beside it, a main menu with shortcuts.
class TProbeForm : public TForm {
 public:
  explicit TProbeForm(TComponent* owner) : TForm(owner) {
    static const TFormLayout layout{.name = "frmProbe",
                                    .caption = "試験",
                                    .bounds = {60, 40, 330, 240},
                                    .borderIcons = {.maximize = false}};
    static const TLayoutItem items[] = {
        {.kind = TControlKind::Panel,
         .name = "Panel1",
         .bounds = {230, 0, 90, 200},
         .tabOrder = 0,
         .align = TAlign::alRight},
        {.kind = TControlKind::Edit,
         .name = "edtResult",
         .parent = "Panel1",
         .bounds = {4, 35, 80, 20},
         .tabOrder = 0,
         .flags = lfReadOnly | lfParentColor | lfArrowCursor | lfShowHint},
        {.kind = TControlKind::Button,
         .name = "btnAdd",
         .parent = "Panel1",
         .bounds = {4, 60, 80, 25},
         .text = "加算(&A)",
         .tabOrder = 1,
         .flags = lfDefault},
        {.kind = TControlKind::Button,
         .name = "btnCancel",
         .parent = "Panel1",
         .bounds = {4, 90, 80, 25},
         .text = "閉じる",
         .tabOrder = 2,
         .flags = lfCancel},
        {.kind = TControlKind::SpeedButton,
         .name = "sbtnTool",
         .parent = "Panel1",
         .bounds = {4, 6, 23, 23},
         .text = "GLYPH_CLEAR",
         .hint = "ｸﾘｱ\n(CTRL+E)"},
        {.kind = TControlKind::RichEdit,
         .name = "Memo1",
         .bounds = {0, 0, 230, 200},
         .tabOrder = 1,
         .align = TAlign::alClient},
    };
    BuildForm(*this, layout, items);
    edtResult = FindControl<TEdit>(*this, "edtResult");
    btnAdd = FindControl<TButton>(*this, "btnAdd");
    btnCancel = FindControl<TButton>(*this, "btnCancel");
    sbtnTool = FindControl<TSpeedButton>(*this, "sbtnTool");
    Memo1 = FindControl<TRichEdit>(*this, "Memo1");
    Panel1 = FindControl<TPanel>(*this, "Panel1");

    Menu = new TMainMenu(this);
    TMenuItem* top = Menu->AddItem(nullptr, "sc1", "sc", scNone, false);
    for (const char letter : {'E', 'R', 'I'})
      Menu->AddItem(top, std::string(1, letter), "", scCtrl | letter, false)->OnClick =
          [this, letter](TObject*) { menuRuns += letter; };

    btnAdd->OnClick = [this](TObject*) { ++addClicks; };
    btnCancel->OnClick = [this](TObject*) { ++cancelClicks; };
    sbtnTool->OnClick = [this](TObject*) { ++toolClicks; };
    Memo1->OnKeyDown = [this](TObject*, Word& key, TShiftState) { keysDown.push_back(key); };
    const TWndMethod control = Memo1->WindowProc;
    Memo1->WindowProc = [this, control](TMessage& message) {
      if (message.Msg == WM_CHAR) chars.push_back(static_cast<wchar_t>(message.WParam));
      control(message);
    };
  }

  TPanel* Panel1;
  TEdit* edtResult;
  TButton* btnAdd;
  TButton* btnCancel;
  TSpeedButton* sbtnTool;
  TRichEdit* Memo1;

  std::string menuRuns;
  int addClicks = 0, cancelClicks = 0, toolClicks = 0;
  std::vector<Word> keysDown;
  std::wstring chars;
};

// Two lists that take drops, and a field that does not.
class TListsForm : public TForm {
 public:
  explicit TListsForm(TComponent* owner) : TForm(owner) {
    static const TFormLayout layout{.name = "frmLists",
                                    .caption = "リスト",
                                    .bounds = {},
                                    .clientWidth = 300,
                                    .clientHeight = 220,
                                    .borderStyle = TFormBorderStyle::bsSingle,
                                    .borderIcons = {.minimize = false, .maximize = false},
                                    .position = TPosition::poScreenCenter};
    static const TLayoutItem items[] = {
        {.kind = TControlKind::ListBox,
         .name = "ListA",
         .bounds = {0, 4, 200, 101},
         .tabOrder = 0,
         .flags = lfDragAutomatic,
         .itemHeight = 12},
        {.kind = TControlKind::ListBox,
         .name = "ListB",
         .bounds = {0, 108, 200, 101},
         .tabOrder = 1,
         .flags = lfDragAutomatic,
         .itemHeight = 12},
        {.kind = TControlKind::Edit,
         .name = "edtOther",
         .bounds = {210, 24, 80, 20},
         .tabOrder = 2,
         .flags = lfReadOnly},
        {.kind = TControlKind::Button,
         .name = "btnClose",
         .bounds = {210, 180, 80, 25},
         .text = "閉じる",
         .tabOrder = 3,
         .flags = lfCancel},
    };
    BuildForm(*this, layout, items);
    ListA = FindControl<TListBox>(*this, "ListA");
    ListB = FindControl<TListBox>(*this, "ListB");
    edtOther = FindControl<TEdit>(*this, "edtOther");
    FindControl<TButton>(*this, "btnClose")->OnClick = [this](TObject*) { Close(); };
    for (TListBox* list : {ListA, ListB}) {
      list->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState, bool& accept) {
        overSources.push_back(source);
        accept = true;
      };
      list->OnDragDrop = [this](TObject* sender, TObject* source, int x, int y) {
        drops.push_back({sender, source, TPoint{x, y}});
      };
    }
  }

  struct Drop {
    TObject* target;
    TObject* source;
    TPoint point;
  };
  TListBox* ListA;
  TListBox* ListB;
  TEdit* edtOther;
  std::vector<TObject*> overSources;
  std::vector<Drop> drops;
};

struct ShownMessage {
  std::string text, caption;
  unsigned flags;
};

class Win32Backend : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->SetTitle("TALVOR");
    Application->Hooks.messageBox = [this](TForm*, const std::string& text,
                                           const std::string& caption, unsigned flags) {
      messages.push_back({text, caption, flags});
      return IDOK;
    };
    form = new TProbeForm(Application);
    form->Show();
    drive::ProcessEvents();
  }
  void TearDown() override {
    delete form;
    drive::ProcessEvents();
    Application->Hooks = {};
  }

  static HWND Window(const TControl* control) { return control->NativeImpl()->hwnd; }

  TProbeForm* form = nullptr;
  std::vector<ShownMessage> messages;
};

// --- The sheet's key and character path ---------------------------------------------

TEST_F(Win32Backend, ShortcutsRunTheirItemsAndNeverReachTheSheet) {
  form->Memo1->SetFocus();
  form->Memo1->SetText("1:00");
  for (const Word key : {Word('E'), Word('R'), Word('I')})
    drive::KeyPress(form->Memo1, key, {.ctrl = true});
  EXPECT_EQ(form->menuRuns, "ERI");
  EXPECT_TRUE(form->keysDown.empty());
  EXPECT_TRUE(form->chars.empty());
  EXPECT_EQ(form->Memo1->Text(), "1:00");
  // From another control of the form just the same.
  form->edtResult->SetFocus();
  drive::KeyPress(form->edtResult, 'R', {.ctrl = true});
  EXPECT_EQ(form->menuRuns, "ERIR");
}

struct ReturnRow {
  const char* name;
  Word key;
  TShiftState shift;
  bool keypad;
  bool keyDownIs13;
};

class SheetReturn : public Win32Backend, public ::testing::WithParamInterface<ReturnRow> {};

TEST_P(SheetReturn, TypesOneCarriageReturnThroughWindowProc) {
  const ReturnRow& row = GetParam();
  form->Memo1->SetFocus();
  form->Memo1->SetText("ab");
  form->Memo1->SetSel(1, 1);
  drive::KeyPress(form->Memo1, row.key, row.shift, row.keypad);
  EXPECT_EQ(form->chars, L"\r");
  const int returns =
      static_cast<int>(std::count(form->keysDown.begin(), form->keysDown.end(), Word{13}));
  EXPECT_EQ(returns, row.keyDownIs13 ? 1 : 0);
  // The control's own handling of the carriage return: one line break at the selection.
  EXPECT_EQ(form->Memo1->Text(), "a\nb");
  EXPECT_EQ(form->Memo1->SelStart(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SheetReturn,
    ::testing::Values(ReturnRow{"Enter", VK_RETURN, {}, false, true},
                      ReturnRow{"ShiftEnter", VK_RETURN, {.shift = true}, false, true},
                      ReturnRow{"KeypadEnter", VK_RETURN, {}, true, true},
                      ReturnRow{"CtrlM", 'M', {.ctrl = true}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32Backend, AWindowProcThatTakesTheReturnKeepsItFromTheControl) {
  form->Memo1->SetFocus();
  form->Memo1->SetText("a\nb");
  const TWndMethod previous = form->Memo1->WindowProc;
  form->Memo1->WindowProc = [&](TMessage& message) {
    if (message.Msg == WM_CHAR && message.WParam == VK_RETURN) {
      form->Memo1->SetSel(form->Memo1->LineIndex(1), form->Memo1->LineIndex(1));
      return;
    }
    previous(message);
  };
  form->Memo1->SetSel(0, 0);
  drive::KeyPress(form->Memo1, VK_RETURN);
  EXPECT_EQ(form->Memo1->Text(), "a\nb");
  EXPECT_EQ(form->Memo1->SelStart(), 2);
  // Holding Enter down: each repeat is a key-down of its own, with no second break from its
  // character.
  drive::KeyPress(form->Memo1, VK_RETURN);
  EXPECT_EQ(form->Memo1->Text(), "a\nb");
}

TEST_F(Win32Backend, TypedTextAndTabGoThroughWindowProcIntoTheSheet) {
  form->Memo1->SetFocus();
  drive::TypeText(form->Memo1, "3:45 表");
  drive::KeyPress(form->Memo1, VK_TAB);
  EXPECT_EQ(form->Memo1->Text(), "3:45 表\t");
  EXPECT_EQ(form->chars, L"3:45 \u8868\t");
  EXPECT_TRUE(form->Memo1->Focused());  // Tab typed, the focus stayed
}

// --- The sheet's line list and positions ---------------------------------------------

TEST_F(Win32Backend, SheetPositionsAreUtf16UnitsWithOneForALineBreak) {
  TRichEdit* sheet = form->Memo1;
  EXPECT_EQ(sheet->LineCount(), 0);
  EXPECT_EQ(sheet->Text(), "");
  sheet->SetText("表計\r\n3:45\n");
  EXPECT_EQ(sheet->LineCount(), 3);
  EXPECT_EQ(sheet->Line(0), "表計");
  EXPECT_EQ(sheet->Line(1), "3:45");
  EXPECT_EQ(sheet->Line(2), "");
  EXPECT_EQ(sheet->Text(), "表計\n3:45\n");
  EXPECT_EQ(sheet->LineIndex(1), 3);
  EXPECT_EQ(sheet->LineIndex(2), 8);
  EXPECT_EQ(sheet->LineIndex(3), -1);
  EXPECT_EQ(sheet->LineIndex(-1), -1);
  EXPECT_EQ(sheet->TextLength(), 8);
  EXPECT_EQ(sheet->LineFromChar(4), 1);
  sheet->SetSel(70000, 70000);  // past the end stands for the end
  EXPECT_EQ(sheet->SelStart(), 8);
  EXPECT_EQ(sheet->SelLength(), 0);
  sheet->SetSel(0, 2);
  EXPECT_EQ(sheet->SelLength(), 2);
  // The sheet's lines reach the arithmetic as CP932 bytes.
  EXPECT_EQ(Utf8ToCp932(sheet->Line(0)), "\x95\x5C\x8C\x76");
}

TEST_F(Win32Backend, InsertLineAsTheLineListDoesIt) {
  TRichEdit* sheet = form->Memo1;
  sheet->SetText("a\nb\nc");
  sheet->SetSel(3, 3);  // inside "b"
  sheet->InsertLine(sheet->LineFromChar(sheet->SelStart()), "");
  EXPECT_EQ(sheet->Text(), "a\n\nb\nc");
  EXPECT_EQ(sheet->LineFromChar(sheet->SelStart()), 2);
  sheet->InsertLine(4, "d");  // at the end
  EXPECT_EQ(sheet->Text(), "a\n\nb\nc\nd");
  EXPECT_THROW(sheet->InsertLine(9, "x"), Exception);
  EXPECT_EQ(sheet->Text(), "a\n\nb\nc\nd");

  sheet->ClearLines();
  sheet->InsertLine(0, "");
  EXPECT_EQ(sheet->LineCount(), 2);
  EXPECT_EQ(sheet->LineFromChar(sheet->SelStart()), 1);
}

// --- Key preview of the form: default, cancel, access keys, Tab ---------------------

TEST_F(Win32Backend, EnterEscAndAccessKeysPressTheirButtons) {
  form->edtResult->SetFocus();
  drive::KeyPress(form->edtResult, VK_RETURN);
  EXPECT_EQ(form->addClicks, 1);
  drive::KeyPress(form->edtResult, VK_ESCAPE);
  EXPECT_EQ(form->cancelClicks, 1);
  form->Memo1->SetFocus();
  drive::KeyPress(form->Memo1, 'A', {.alt = true});
  EXPECT_EQ(form->addClicks, 2);
  EXPECT_EQ(form->Memo1->Text(), "");
  // Enter in the sheet is the sheet's own.
  form->Memo1->SetFocus();
  drive::KeyPress(form->Memo1, VK_RETURN);
  EXPECT_EQ(form->addClicks, 2);
}

TEST_F(Win32Backend, TabFollowsTheTabOrderAcrossThePanel) {
  form->edtResult->SetFocus();
  std::vector<TControl*> visited;
  for (int i = 0; i < 4; ++i) {
    drive::KeyPress(form->ActiveControl(), VK_TAB);
    visited.push_back(form->ActiveControl());
  }
  EXPECT_EQ(visited,
            (std::vector<TControl*>{form->btnAdd, form->btnCancel, form->Memo1, form->Memo1}));
  EXPECT_TRUE(form->Memo1->Focused());
}

TEST_F(Win32Backend, ButtonsAndSpeedButtonsClickWithTheMouse) {
  drive::Click(form->btnAdd, {10, 10});
  EXPECT_EQ(form->addClicks, 1);
  drive::Click(form->sbtnTool, {11, 11});
  EXPECT_EQ(form->toolClicks, 1);
  // Released outside the button: no click.
  drive::MousePress(form->sbtnTool, {11, 11});
  drive::MouseRelease(form->sbtnTool, {40, 11});
  EXPECT_EQ(form->toolClicks, 1);
  EXPECT_FALSE(form->sbtnTool->Focused());
}

// --- Result fields -----------------------------------------------------------------

TEST_F(Win32Backend, DoubleClickOnAResultFieldRunsItsHandlerAndCopyTakesTheWholeText) {
  int clicks = 0;
  form->edtResult->OnDblClick = [&](TObject*) {
    ++clicks;
    form->edtResult->SelectAll();
    form->edtResult->CopyToClipboard();
  };
  form->edtResult->SetText(" 1:02:03 計");
  drive::DoubleClick(form->edtResult, {10, 10});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->edtResult->SelText(), " 1:02:03 計");
  EXPECT_EQ(drive::ClipboardText(), " 1:02:03 計");
}

TEST_F(Win32Backend, ResultFieldsShowTheFaceOfTheirParent) {
  HWND edit = Window(form->edtResult);
  HDC dc = GetDC(edit);
  const auto brush = SendMessageW(GetParent(edit), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(edit, dc);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);
}

// --- Form geometry ---------------------------------------------------------------

TEST_F(Win32Backend, AlignmentFollowsTheClientArea) {
  form->SetBounds(60, 40, 400, 300);
  drive::ProcessEvents();
  EXPECT_EQ(form->Panel1->Bounds(), (TRect{form->ClientWidth() - 90, 0, 90, form->ClientHeight()}));
  EXPECT_EQ(form->Memo1->Bounds(), (TRect{0, 0, form->ClientWidth() - 90, form->ClientHeight()}));
  EXPECT_EQ(form->Bounds(), (TRect{60, 40, 400, 300}));
}

TEST_F(Win32Backend, ClientSizeFixedFrameAndScreenCentre) {
  auto* lists = new TListsForm(Application);
  lists->Show();
  drive::ProcessEvents();
  EXPECT_EQ(lists->ClientWidth(), 300);
  EXPECT_EQ(lists->ClientHeight(), 220);
  const LONG_PTR style = GetWindowLongPtrW(Window(lists), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  const TRect b = lists->Bounds();
  const TPoint screen = Application->ScreenSize();
  EXPECT_EQ(b.left, (screen.x - b.width) / 2);
  EXPECT_EQ(b.top, (screen.y - b.height) / 2);
  EXPECT_TRUE(lists->ListA->Focused());  // the first control of the focus order
  delete lists;
}

// --- Lists and the automatic drag mode ------------------------------------------------

class Win32Lists : public Win32Backend {
 protected:
  void SetUp() override {
    Win32Backend::SetUp();
    lists = new TListsForm(Application);
    lists->Show();
    for (const char* item : {"[01] 1:00", "[02] 2:00", "[03] 表"}) lists->ListA->Add(item);
    drive::ProcessEvents();
  }
  void TearDown() override {
    delete lists;
    Win32Backend::TearDown();
  }
  static std::vector<std::string> Items(const TListBox* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->Count(); ++i) items.push_back(list->Item(i));
    return items;
  }
  TListsForm* lists = nullptr;
};

TEST_F(Win32Lists, ListOperations) {
  TListBox* list = lists->ListA;
  EXPECT_EQ(list->ItemHeight(), 12);  // kept through the font the layout gives
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Insert(0, "first");
  list->Insert(-1, "last");
  EXPECT_EQ(Items(list),
            (std::vector<std::string>{"first", "[01] 1:00", "[02] 2:00", "[03] 表", "last"}));
  list->Move(0, 3);
  EXPECT_EQ(Items(list),
            (std::vector<std::string>{"[01] 1:00", "[02] 2:00", "[03] 表", "first", "last"}));
  list->Move(1, -1);
  EXPECT_EQ(list->Item(4), "[02] 2:00");
  list->Delete(0);
  EXPECT_EQ(list->Count(), 4);
  list->SetItemIndex(2);
  EXPECT_EQ(list->ItemIndex(), 2);
  list->SetItemIndex(-1);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(Win32Lists, ItemAtPosCountsOnlyExistingItems) {
  TListBox* list = lists->ListA;
  EXPECT_EQ(list->ItemAtPos({10, 0}), 0);
  EXPECT_EQ(list->ItemAtPos({10, 13}), 1);
  EXPECT_EQ(list->ItemAtPos({10, 35}), 2);
  EXPECT_EQ(list->ItemAtPos({10, 36}), -1);  // below the last item
  EXPECT_EQ(list->ItemAtPos({-1, 5}), -1);
  EXPECT_EQ(list->ItemAtPos({10, 500}), -1);
  EXPECT_EQ(lists->ListB->ItemAtPos({10, 2}), -1);  // an empty list
}

TEST_F(Win32Lists, FourPixelsIsAClickFiveADragThatDropsOnTheOtherList) {
  TListBox* a = lists->ListA;
  drive::MousePress(a, {20, 14});
  drive::MouseMove(a, {24, 18});
  drive::MouseRelease(a, {24, 18});
  EXPECT_EQ(a->ItemIndex(), 1);  // selected by the press
  EXPECT_TRUE(lists->drops.empty());
  EXPECT_EQ(GetCapture(), nullptr);

  drive::MousePress(a, {20, 2});
  EXPECT_EQ(a->ItemIndex(), 0);
  drive::MouseMove(a, {20, 7});
  drive::MouseMove(lists->ListB, {30, 15});
  drive::MouseRelease(lists->ListB, {30, 15});
  ASSERT_EQ(lists->drops.size(), 1u);
  EXPECT_EQ(lists->drops[0].target, lists->ListB);
  EXPECT_EQ(lists->drops[0].source, a);
  EXPECT_EQ(lists->drops[0].point, (TPoint{30, 15}));
  EXPECT_FALSE(lists->overSources.empty());
  EXPECT_EQ(lists->overSources.back(), a);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32Lists, ADropOutsideTheListsDropsNothing) {
  TListBox* a = lists->ListA;
  drive::MousePress(a, {20, 2});
  drive::MouseMove(a, {20, 40});
  drive::MouseMove(lists->edtOther, {10, 10});
  drive::MouseRelease(lists->edtOther, {10, 10});
  EXPECT_TRUE(lists->drops.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

// --- Modal runs, close, error display -------------------------------------------------

TEST_F(Win32Backend, AModalRunDisablesTheOtherFormsUntilItEnds) {
  auto* lists = new TListsForm(Application);
  bool ran = false;
  Application->Hooks.modalShown = [&](TForm* shown) {
    ran = true;
    EXPECT_EQ(shown, lists);
    EXPECT_TRUE(lists->Showing());
    EXPECT_TRUE(drive::InputDisabled(form));
    EXPECT_FALSE(drive::InputDisabled(lists));
    // Keys for the main form do not reach it meanwhile.
    drive::KeyPress(lists->ListA, VK_ESCAPE);  // the dialog's cancel button
  };
  EXPECT_EQ(lists->ShowModal(), mrCancel);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(lists->Showing());
  EXPECT_FALSE(drive::InputDisabled(form));
  EXPECT_EQ(form->cancelClicks, 0);

  // The close box ends a run the same way.
  Application->Hooks.modalShown = [&](TForm* shown) { drive::CloseBox(shown); };
  EXPECT_EQ(lists->ShowModal(), mrCancel);
  delete lists;
}

TEST_F(Win32Backend, CloseRunsTheCloseQueryWhichMayRefuse) {
  int queries = 0;
  bool allow = false;
  form->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++queries;
    canClose = allow;
  };
  drive::CloseBox(form);
  EXPECT_EQ(queries, 1);
  EXPECT_TRUE(form->Showing());
  // Windows asking to end: the close query alone, and the answer is yes.
  EXPECT_EQ(SendMessageW(Window(form), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(queries, 2);
  EXPECT_TRUE(form->Showing());
  allow = true;
  drive::CloseBox(form);
  EXPECT_FALSE(form->Showing());
}

TEST_F(Win32Backend, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
  form->btnAdd->OnClick = [](TObject*) { throw Exception("行を挿入できません"); };
  form->Memo1->OnKeyDown = [](TObject*, Word&, TShiftState) { throw std::runtime_error("key"); };
  drive::Click(form->btnAdd, {10, 10});
  form->Memo1->SetFocus();
  drive::KeyPress(form->Memo1, 'X');
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "行を挿入できません.");
  EXPECT_EQ(messages[0].caption, "TALVOR");
  EXPECT_EQ(messages[0].flags, MB_ICONERROR);
  EXPECT_EQ(messages[1].text, "key.");
  // The key still went on into the sheet.
  EXPECT_EQ(form->Memo1->Text(), "x");
}

TEST_F(Win32Backend, MinimumTrackSizeComesFromTheForm) {
  struct TSmallest : TProbeForm {
    using TProbeForm::TProbeForm;
    void WMGetMinMaxInfo(TMinMaxInfo& info) override { info.ptMinTrackSize = {130, 210}; }
  };
  auto* smallest = new TSmallest(Application);
  EXPECT_EQ(drive::MinimumTrackSize(smallest), (TPoint{130, 210}));
  delete smallest;
  const TPoint system{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  EXPECT_EQ(drive::MinimumTrackSize(form), system);
}

TEST_F(Win32Backend, HintsWithLineBreaksAreRegisteredWithTheTooltip) {
  HWND tooltip = form->NativeImpl()->tooltip;
  ASSERT_NE(tooltip, nullptr);
  // The speed button and the result field show hints; the sheet does not.
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_GT(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), 0);
}

// --- Services ------------------------------------------------------------------------

TEST(Win32Services, ExeNameScreenAndCodePage) {
  const std::string exe = backend::ExeName();
  EXPECT_NE(exe.find("platform_win32_tests.exe"), std::string::npos) << exe;
  EXPECT_EQ(backend::ScreenSize(),
            (TPoint{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  // The run under a Western code page says so; the conversions do not care.
  if (const char* expected = std::getenv("TALVOR_EXPECT_ACP")) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
  EXPECT_EQ(Utf8ToCp932("計 表 ￣"), "\x8C\x76 \x95\x5C \x81\x50");
  EXPECT_EQ(Cp932ToUtf8("\x8C\x76 \x95\x5C \xB8\xD8\xB1"), "計 表 ｸﾘｱ");
}

// The executable's directory rule on Windows: a copy of this program in a
// folder named 表 (whose CP932 form ends in the byte 0x5C) keeps its
// settings file in that folder.
TEST(Win32Services, AProgramInAFolderWithATrailByte5CKeepsItsSettingsThere) {
  if (std::getenv("TALVOR_PROBE_COPY")) {
    // The copy: it writes its settings where the program would.
    ASSERT_TRUE(WritePrivateProfileString("Setup", "x", "77",
                                          ProgramFilePath("talvor.ini", TFileRole::Settings)));
    return;
  }
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / fs::path(u8"talvor-\u8868") / fs::path(u8"\u8868");
  fs::remove_all(dir.parent_path());
  fs::create_directories(dir);
  const fs::path copy = dir / "probe.exe";
  fs::copy_file(fs::path(win32::Wide(backend::ExeName())), copy);

  std::wstring command =
      L"\"" + copy.wstring() + L"\" --gtest_filter=Win32Services.AProgramInAFolder*";
  SetEnvironmentVariableW(L"TALVOR_PROBE_COPY", L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  SetEnvironmentVariableW(L"TALVOR_PROBE_COPY", nullptr);
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);

  const std::string settings = win32::Narrow((dir / "talvor.ini").wstring());
  EXPECT_TRUE(fs::exists(dir / "talvor.ini")) << settings;
  EXPECT_EQ(GetPrivateProfileInt("Setup", "x", -1, settings), 77);
  fs::remove_all(dir.parent_path());
}

}  // namespace
}  // namespace talvor::platform

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  auto application = talvor::platform::testing::CreateTestApplication();
  return RUN_ALL_TESTS();
}
