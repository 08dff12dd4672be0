#include "ui/main/main.h"

#include <memory>

#include "core/sheet_sum.h"
#include "platform/layout.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "ui/about/about.h"
#include "ui/split/timesep.h"

namespace talvor::ui {

TfrmMain* frmMain = nullptr;
TWndMethod OldMemoWndProc;

namespace {

const TFormLayout kFormLayout{
    .name = "frmMain",
    .caption = "TALVOR",
    .bounds = {239, 137, 240, 210},
    .borderStyle = TFormBorderStyle::bsSizeable,
    .borderIcons = {.systemMenu = true, .minimize = true, .maximize = false},
    .font = kFontGothic,
};

constexpr unsigned kResultField = lfReadOnly | lfParentColor | lfArrowCursor | lfShowHint;

const TLayoutItem kLayout[] = {
    {.kind = TControlKind::Panel,
     .name = "Panel1",
     .bounds = {142, 0, 90, 187},
     .tabOrder = 0,
     .align = TAlign::alRight},
    {.kind = TControlKind::Button,
     .name = "btnCalc",
     .parent = "Panel1",
     .bounds = {23, 113, 61, 25},
     .text = "加算(&A)",
     .font = kFontPGothic,
     .hint = "計算開始 (CTRL+R)",
     .tabOrder = 3,
     .flags = lfDefault},
    {.kind = TControlKind::Edit,
     .name = "edtAns",
     .parent = "Panel1",
     .bounds = {4, 35, 80, 20},
     .tabOrder = 0,
     .flags = kResultField},
    {.kind = TControlKind::Edit,
     .name = "edtAnsT1",
     .parent = "Panel1",
     .bounds = {4, 60, 80, 20},
     .tabOrder = 1,
     .flags = kResultField},
    {.kind = TControlKind::Edit,
     .name = "edtAnsT2",
     .parent = "Panel1",
     .bounds = {4, 85, 80, 20},
     .tabOrder = 2,
     .flags = kResultField},
    {.kind = TControlKind::SpeedButton,
     .name = "sbtnClear",
     .parent = "Panel1",
     .bounds = {5, 6, 23, 23},
     .text = "GLYPH_CLEAR",
     .hint = "ｸﾘｱ (CTRL+E)"},
    {.kind = TControlKind::Button,
     .name = "btnClose",
     .parent = "Panel1",
     .bounds = {23, 153, 61, 25},
     .text = "閉じる",
     .font = kFontPGothic,
     .tabOrder = 4},
    {.kind = TControlKind::SpeedButton,
     .name = "SpeedButton1",
     .parent = "Panel1",
     .bounds = {60, 6, 23, 23},
     .text = "GLYPH_ABOUT",
     .hint = "TALVORについて"},
    {.kind = TControlKind::SpeedButton,
     .name = "SpeedButton2",
     .parent = "Panel1",
     .bounds = {32, 6, 23, 23},
     .text = "GLYPH_SPLIT",
     .hint = "時間振分"},
    {.kind = TControlKind::RichEdit,
     .name = "Memo1",
     .bounds = {0, 0, 142, 187},
     .tabOrder = 1,
     .align = TAlign::alClient},
};

constexpr const char* kSecondsHint = "結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ";
constexpr const char* kMinSecHint = "結果(分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ";
constexpr const char* kHourMinSecHint = "結果(時：分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ";

constexpr int kDefaultLeft = 50, kDefaultTop = 50, kDefaultWidth = 240, kDefaultHeight = 210;
constexpr int kPulledBackEdge = 10;

std::string SettingsFileName() {
  return ProgramFilePath("talvor.ini", TFileRole::Settings);
}

void CopyField(TEdit* field) {
  field->SelectAll();
  field->CopyToClipboard();
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
  BuildForm(*this, kFormLayout, kLayout);
  Panel1 = FindControl<TPanel>(*this, "Panel1");
  btnCalc = FindControl<TButton>(*this, "btnCalc");
  edtAns = FindControl<TEdit>(*this, "edtAns");
  edtAnsT1 = FindControl<TEdit>(*this, "edtAnsT1");
  edtAnsT2 = FindControl<TEdit>(*this, "edtAnsT2");
  sbtnClear = FindControl<TSpeedButton>(*this, "sbtnClear");
  btnClose = FindControl<TButton>(*this, "btnClose");
  SpeedButton1 = FindControl<TSpeedButton>(*this, "SpeedButton1");
  SpeedButton2 = FindControl<TSpeedButton>(*this, "SpeedButton2");
  Memo1 = FindControl<TRichEdit>(*this, "Memo1");

  // The menu shows nothing: its only top-level item is invisible, yet the
  // shortcuts of the items below it act from every control of the window.
  MainMenu1 = new TMainMenu(this);
  MainMenu1->Name = "MainMenu1";
  sc1 = MainMenu1->AddItem(nullptr, "sc1", "sc", scNone, false);
  clear1 = MainMenu1->AddItem(sc1, "clear1", "clear", scCtrl | 'E', false);
  run1 = MainMenu1->AddItem(sc1, "run1", "run", scCtrl | 'R', false);
  Ins1 = MainMenu1->AddItem(sc1, "Ins1", "Ins", scCtrl | 'I', true);
  Menu = MainMenu1;

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
  btnCalc->OnClick = [this](TObject* s) { btnCalcClick(s); };
  run1->OnClick = [this](TObject* s) { btnCalcClick(s); };
  clear1->OnClick = [this](TObject* s) { clear1Click(s); };
  sbtnClear->OnClick = [this](TObject* s) { clear1Click(s); };
  Ins1->OnClick = [this](TObject* s) { Ins1Click(s); };
  btnClose->OnClick = [this](TObject* s) { btnCloseClick(s); };
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
  edtAns->OnDblClick = [this](TObject* s) { edtAnsDblClick(s); };
  edtAnsT1->OnDblClick = [this](TObject* s) { edtAnsT1DblClick(s); };
  edtAnsT2->OnDblClick = [this](TObject* s) { edtAnsT2DblClick(s); };
  Memo1->OnKeyDown = [this](TObject* s, Word& key, TShiftState shift) {
    Memo1KeyDown(s, key, shift);
  };
}

std::string TfrmMain::SheetText() const {
  return platform::Utf8ToCp932(Memo1->Text());
}

void TfrmMain::btnCalcClick(TObject*) {
  const SumOutcome outcome = SumSheetText(SheetText());
  edtAns->SetText(outcome.SecondsText);
  edtAnsT1->SetText(outcome.MinSecText);
  edtAnsT2->SetText(outcome.HourMinSecText);
  Memo1->SetFocus();
  if (outcome.CloseRequested) Close();
}

void TfrmMain::Memo1KeyDown(TObject* Sender, Word& Key, TShiftState) {
  if (Key == VK_RETURN) btnCalcClick(Sender);
}

void TfrmMain::clear1Click(TObject* Sender) {
  Memo1->ClearLines();
  Memo1->SetFocus();
  btnCalcClick(Sender);
}

void TfrmMain::Ins1Click(TObject*) {
  const int line = Memo1->LineFromChar(Memo1->SelStart());
  Memo1->InsertLine(line, "");
}

void TfrmMain::FormShow(TObject* Sender) {
  btnCalcClick(Sender);
  OldMemoWndProc = Memo1->WindowProc;
  Memo1->WindowProc = [this](TMessage& message) { MemoWndProc(message); };
}

void TfrmMain::MemoWndProc(TMessage& Message) {
  if (Message.Msg == WM_CHAR && (Message.WParam & 0xFFFF) == VK_RETURN) {
    const int line = Memo1->LineFromChar(Memo1->SelStart());
    const int next = Memo1->LineIndex(line + 1);
    if (next >= 0) {
      // Not on the last line: Enter only moves to the start of the next one.
      Memo1->SetSel(next, next);
      Message.Result = 0;
      return;
    }
    // On the last line the break goes at the true end of the text, so the
    // line is never split, however long the sheet.
    const int end = Memo1->TextLength();
    Memo1->SetSel(end, end);
  }
  OldMemoWndProc(Message);
}

void TfrmMain::WMGetMinMaxInfo(TMinMaxInfo& Info) {
  Info.ptMinTrackSize = {130, 210};
  TForm::WMGetMinMaxInfo(Info);
}

void TfrmMain::edtAnsDblClick(TObject*) {
  CopyField(edtAns);
}
void TfrmMain::edtAnsT1DblClick(TObject*) {
  CopyField(edtAnsT1);
}
void TfrmMain::edtAnsT2DblClick(TObject*) {
  CopyField(edtAnsT2);
}

void TfrmMain::SpeedButton2Click(TObject*) {
  std::unique_ptr<TfrmTCalc> dialog(new TfrmTCalc(Application));
  frmTCalc = dialog.get();
  dialog->ShowModal();
  frmTCalc = nullptr;
}

void TfrmMain::SpeedButton1Click(TObject*) {
  std::unique_ptr<TfrmAbout> dialog(new TfrmAbout(Application));
  frmAbout = dialog.get();
  dialog->ShowModal();
  frmAbout = nullptr;
}

void TfrmMain::btnCloseClick(TObject*) {
  Close();
}

void TfrmMain::FormCreate(TObject*) {
  const std::string fileName = SettingsFileName();
  int x = GetPrivateProfileInt("Setup", "x", kDefaultLeft, fileName);
  int y = GetPrivateProfileInt("Setup", "y", kDefaultTop, fileName);
  const TPoint screen = Application->ScreenSize();
  // Only a position beyond the right or bottom edge is pulled back.
  if (x > screen.x) x = kPulledBackEdge;
  if (y > screen.y) y = kPulledBackEdge;
  const int w = GetPrivateProfileInt("Setup", "w", kDefaultWidth, fileName);
  const int h = GetPrivateProfileInt("Setup", "h", kDefaultHeight, fileName);
  SetBounds(x, y, w, h);

  edtAns->SetHint(kSecondsHint);
  edtAnsT1->SetHint(kMinSecHint);
  edtAnsT2->SetHint(kHourMinSecHint);
}

void TfrmMain::FormCloseQuery(TObject*, bool&) {
  const std::string fileName = SettingsFileName();
  const TRect bounds = Bounds();
  WriteIniInt("Setup", "x", fileName, bounds.left);
  WriteIniInt("Setup", "y", fileName, bounds.top);
  WriteIniInt("Setup", "w", fileName, bounds.width);
  WriteIniInt("Setup", "h", fileName, bounds.height);
}

void TfrmMain::WriteIniInt(const std::string& Section, const std::string& Key,
                           const std::string& FileName, int Value) {
  // A failed write goes unnoticed: the close must go on.
  (void)WritePrivateProfileString(Section, Key, std::to_string(Value), FileName);
}

}  // namespace talvor::ui
