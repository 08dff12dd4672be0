#include "tests/platform_qt/test_forms.h"

namespace talvor::platform::qt_test {
namespace {

const TFormLayout kSheetForm{
    .name = "frmSheet",
    .caption = "TALVOR",
    .bounds = {50, 50, 240, 210},
    .borderIcons = {.systemMenu = true, .minimize = true, .maximize = false},
};

const TLayoutItem kSheetLayout[] = {
    {.kind = TControlKind::Panel,
     .name = "Panel1",
     .bounds = {142, 0, 90, 187},
     .tabOrder = 0,
     .align = TAlign::alRight},
    {.kind = TControlKind::SpeedButton,
     .name = "sbtnClear",
     .parent = "Panel1",
     .bounds = {5, 6, 23, 23},
     .text = "GLYPH_CLEAR",
     .hint = "ｸﾘｱ (CTRL+E)"},
    {.kind = TControlKind::Edit,
     .name = "edtAns",
     .parent = "Panel1",
     .bounds = {4, 35, 80, 20},
     .tabOrder = 0,
     .flags = lfReadOnly | lfParentColor | lfArrowCursor | lfShowHint},
    {.kind = TControlKind::Button,
     .name = "btnCalc",
     .parent = "Panel1",
     .bounds = {23, 113, 61, 25},
     .text = "加算(&A)",
     .font = kFontPGothic,
     .hint = "計算開始 (CTRL+R)",
     .tabOrder = 1,
     .flags = lfDefault},
    {.kind = TControlKind::Button,
     .name = "btnClose",
     .parent = "Panel1",
     .bounds = {23, 153, 61, 25},
     .text = "閉じる",
     .font = kFontPGothic,
     .tabOrder = 2},
    {.kind = TControlKind::RichEdit,
     .name = "Memo1",
     .bounds = {0, 0, 142, 187},
     .tabOrder = 1,
     .align = TAlign::alClient},
};

bool IsModifier(Word key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

const TFormLayout kListForm{
    .name = "frmList",
    .caption = "時間振り分け",
    .bounds = {0, 0, 0, 0},
    .clientWidth = 345,
    .clientHeight = 247,
    .borderStyle = TFormBorderStyle::bsSingle,
    .borderIcons = {.systemMenu = true, .minimize = false, .maximize = false},
    .position = TPosition::poScreenCenter,
};

const TLayoutItem kListLayout[] = {
    {.kind = TControlKind::ListBox,
     .name = "ListBox1",
     .bounds = {0, 4, 253, 101},
     .tabOrder = 0,
     .flags = lfDragAutomatic,
     .itemHeight = 12},
    {.kind = TControlKind::ListBox,
     .name = "ListBox2",
     .bounds = {0, 108, 253, 101},
     .tabOrder = 1,
     .flags = lfDragAutomatic,
     .itemHeight = 12},
    {.kind = TControlKind::Edit,
     .name = "edtRst1",
     .bounds = {260, 24, 80, 20},
     .tabOrder = 2,
     .flags = lfReadOnly | lfParentColor},
    {.kind = TControlKind::Button,
     .name = "btnOk",
     .bounds = {8, 217, 61, 25},
     .text = "OK",
     .tabOrder = 3,
     .flags = lfDefault},
    {.kind = TControlKind::Button,
     .name = "btnClose",
     .bounds = {279, 217, 61, 25},
     .text = "閉じる",
     .tabOrder = 4,
     .flags = lfCancel},
};

}  // namespace

TSheetForm::TSheetForm(TComponent* owner) : TForm(owner) {
  BuildForm(*this, kSheetForm, kSheetLayout);
  Panel1 = FindControl<TPanel>(*this, "Panel1");
  sbtnClear = FindControl<TSpeedButton>(*this, "sbtnClear");
  edtAns = FindControl<TEdit>(*this, "edtAns");
  btnCalc = FindControl<TButton>(*this, "btnCalc");
  btnClose = FindControl<TButton>(*this, "btnClose");
  Memo1 = FindControl<TRichEdit>(*this, "Memo1");

  MainMenu1 = new TMainMenu(this);
  TMenuItem* sc1 = MainMenu1->AddItem(nullptr, "sc1", "sc", scNone, false);
  MainMenu1->AddItem(sc1, "clear1", "clear", ShortCut('E', {.ctrl = true}), false)->OnClick =
      [this](TObject*) { menuRuns.push_back("clear"); };
  MainMenu1->AddItem(sc1, "run1", "run", ShortCut('R', {.ctrl = true}), false)->OnClick =
      [this](TObject*) { menuRuns.push_back("run"); };
  MainMenu1->AddItem(sc1, "Ins1", "Ins", ShortCut('I', {.ctrl = true}), true)->OnClick =
      [this](TObject*) { menuRuns.push_back("ins"); };
  Menu = MainMenu1;

  btnCalc->OnClick = [this](TObject*) { ++calcClicks; };
  Memo1->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
    if (!IsModifier(key)) keyDowns.push_back(key);
  };
  const TWndMethod own = Memo1->WindowProc;
  Memo1->WindowProc = [this, own](TMessage& message) {
    if (message.Msg == WM_CHAR) chars.push_back(message.WParam);
    own(message);
  };
}

TListForm::TListForm(TComponent* owner) : TForm(owner) {
  BuildForm(*this, kListForm, kListLayout);
  ListBox1 = FindControl<TListBox>(*this, "ListBox1");
  ListBox2 = FindControl<TListBox>(*this, "ListBox2");
  edtRst1 = FindControl<TEdit>(*this, "edtRst1");
  btnOk = FindControl<TButton>(*this, "btnOk");
  btnClose = FindControl<TButton>(*this, "btnClose");

  for (TListBox* list : {ListBox1, ListBox2}) {
    list->OnDragOver = [this](TObject* sender, TObject* source, int, int, TDragState state,
                              bool& accept) {
      overs.push_back({sender, source, state});
      accept = acceptDrops;
    };
    list->OnDragDrop = [this](TObject* sender, TObject* source, int x, int y) {
      drops.push_back({sender, source, x, y});
    };
  }
  btnOk->OnClick = [this](TObject*) { ModalResult = mrOk; };
  btnClose->OnClick = [this](TObject*) { Close(); };
  OnCloseQuery = [this](TObject*, bool& canClose) {
    ++closeQueries;
    canClose = allowClose;
  };
}

void FormTest::SetUp() {
  Application->SetTitle("TALVOR");
  Application->Hooks = {};
  Application->Hooks.messageBox = [this](TForm*, const std::string& text,
                                         const std::string& caption, unsigned flags) {
    m_messages.push_back({text, caption, flags});
    return IDOK;
  };
  Application->Hooks.shellOpen = [](TForm*, const std::string&) { return true; };
}

void FormTest::TearDown() {
  drive::ProcessEvents();
  Application->Hooks = {};
}

}  // namespace talvor::platform::qt_test
