#include "ui/split/timesep.h"

#include <cstdint>

#include "core/time_entry.h"
#include "core/total_format.h"
#include "platform/file_write.h"
#include "platform/layout.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "ui/main/main.h"

namespace talvor::ui {

TfrmTCalc* frmTCalc = nullptr;

namespace {

const TFormLayout kFormLayout{
    .name = "frmTCalc",
    .caption = "時間振り分け",
    .bounds = {0, 0, 0, 0},
    .clientWidth = 345,
    .clientHeight = 247,
    .borderStyle = TFormBorderStyle::bsSingle,
    .borderIcons = {.systemMenu = true, .minimize = false, .maximize = false},
    .position = TPosition::poScreenCenter,
    .font = kFontGothic,
};

constexpr unsigned kTotalField = lfReadOnly | lfParentColor | lfShowHint;

const TLayoutItem kLayout[] = {
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
    {.kind = TControlKind::Label,
     .name = "Label1",
     .bounds = {260, 8, 39, 12},
     .text = "SIDE-A",
     .font = kFontPGothic},
    {.kind = TControlKind::Edit,
     .name = "edtRst1",
     .bounds = {260, 24, 80, 20},
     .tabOrder = 4,
     .flags = kTotalField},
    {.kind = TControlKind::Edit,
     .name = "edtRst1a",
     .bounds = {260, 52, 80, 20},
     .tabOrder = 5,
     .flags = kTotalField},
    {.kind = TControlKind::Label,
     .name = "Label2",
     .bounds = {260, 112, 39, 12},
     .text = "SIDE-B",
     .font = kFontPGothic},
    {.kind = TControlKind::Edit,
     .name = "edtRst2",
     .bounds = {260, 128, 80, 20},
     .tabOrder = 6,
     .flags = kTotalField},
    {.kind = TControlKind::Edit,
     .name = "edtRst2a",
     .bounds = {260, 156, 80, 20},
     .tabOrder = 7,
     .flags = kTotalField},
    {.kind = TControlKind::Button,
     .name = "btnDisp",
     .bounds = {8, 217, 61, 25},
     .text = "表示(&D)",
     .font = kFontPGothic,
     .hint = "結果をｴﾃﾞｨﾀで開く",
     .tabOrder = 2},
    {.kind = TControlKind::Button,
     .name = "btnReset",
     .bounds = {76, 217, 81, 25},
     .text = "元に戻す(&R)",
     .font = kFontPGothic,
     .hint = "やり直し",
     .tabOrder = 3},
    {.kind = TControlKind::Button,
     .name = "btnClose",
     .bounds = {279, 217, 61, 25},
     .text = "閉じる",
     .font = kFontPGothic,
     .tabOrder = 8,
     .flags = lfCancel},
};

constexpr const char* kSecondsHint = "結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ";
constexpr const char* kMinSecHint = "結果(分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ";
constexpr const char* kReportFailed =
    "ﾃﾝﾎﾟﾗﾘﾌｧｲﾙ作成ｴﾗｰ\n振り分け結果を表示している場合は、これを閉じて下さい。";

void CopyField(TEdit* field) {
  field->SelectAll();
  field->CopyToClipboard();
}

// The field's text without the bytes up to 0x20 around it: the sign
// column's blank goes, a minus stays.
std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

void AppendSide(std::string& out, const TListBox* list) {
  for (int i = 0; i < list->Count(); ++i) {
    out += ' ';
    out += list->Item(i);
    out += '\n';
  }
}

// LF to CR LF; CP932 trail bytes are never 0x0A, so this is safe on the bytes.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string ItemLabel(int number, const std::string& line) {
  std::string label = "[";
  if (number >= 0 && number < 10) label += '0';
  label += std::to_string(number);
  label += "] ";
  label += line;
  return label;
}

std::string LabelEntry(const std::string& label) {
  const auto close = label.find("] ");
  return close == std::string::npos ? label : label.substr(close + 2);
}

TfrmTCalc::TfrmTCalc(TComponent* owner) : TForm(owner) {
  BuildForm(*this, kFormLayout, kLayout);
  ListBox1 = FindControl<TListBox>(*this, "ListBox1");
  ListBox2 = FindControl<TListBox>(*this, "ListBox2");
  Label1 = FindControl<TLabel>(*this, "Label1");
  edtRst1 = FindControl<TEdit>(*this, "edtRst1");
  edtRst1a = FindControl<TEdit>(*this, "edtRst1a");
  Label2 = FindControl<TLabel>(*this, "Label2");
  edtRst2 = FindControl<TEdit>(*this, "edtRst2");
  edtRst2a = FindControl<TEdit>(*this, "edtRst2a");
  btnDisp = FindControl<TButton>(*this, "btnDisp");
  btnReset = FindControl<TButton>(*this, "btnReset");
  btnClose = FindControl<TButton>(*this, "btnClose");

  OnShow = [this](TObject* s) { FormShow(s); };
  ListBox1->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    ListBox1DragOver(s, src, x, y, st, a);
  };
  ListBox2->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    ListBox2DragOver(s, src, x, y, st, a);
  };
  ListBox1->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
    ListBox1DragDrop(s, src, x, y);
  };
  ListBox2->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
    ListBox2DragDrop(s, src, x, y);
  };
  edtRst1->OnDblClick = [this](TObject* s) { edtRst1DblClick(s); };
  edtRst1a->OnDblClick = [this](TObject* s) { edtRst1aDblClick(s); };
  edtRst2->OnDblClick = [this](TObject* s) { edtRst2DblClick(s); };
  edtRst2a->OnDblClick = [this](TObject* s) { edtRst2aDblClick(s); };
  btnDisp->OnClick = [this](TObject* s) { btnDispClick(s); };
  btnReset->OnClick = [this](TObject* s) { btnResetClick(s); };
  btnClose->OnClick = [this](TObject* s) { btnCloseClick(s); };
}

void TfrmTCalc::FormShow(TObject* Sender) {
  btnResetClick(Sender);
  edtRst1->SetHint(kSecondsHint);
  edtRst2->SetHint(kSecondsHint);
  edtRst1a->SetHint(kMinSecHint);
  edtRst2a->SetHint(kMinSecHint);
}

void TfrmTCalc::btnResetClick(TObject*) {
  ListBox1->Clear();
  ListBox2->Clear();
  const std::string sheet = frmMain->Memo1->Text();
  std::string line8, line932;
  int count = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t nl = sheet.find('\n', start);
    line8.assign(sheet, start, nl == std::string::npos ? std::string::npos : nl - start);
    line932.clear();
    platform::AppendUtf8AsCp932(line8, line932);
    if (ParseTimeEntry(line932).status != kParseNotRead && !line8.empty())
      ListBox1->Add(ItemLabel(++count, line8));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  if (count > 0) ListBox1->SetItemIndex(0);
  UpdateSideTotals(ListBox1, edtRst1, edtRst1a);
  UpdateSideTotals(ListBox2, edtRst2, edtRst2a);
}

void TfrmTCalc::ListBox1DragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) {
  Accept = true;
}

void TfrmTCalc::ListBox2DragOver(TObject*, TObject*, int, int, TDragState, bool& Accept) {
  Accept = true;
}

void TfrmTCalc::ListBox1DragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  MoveListItem(dynamic_cast<TListBox*>(Source), dynamic_cast<TListBox*>(Sender), X, Y);
  UpdateSideTotals(ListBox1, edtRst1, edtRst1a);
  UpdateSideTotals(ListBox2, edtRst2, edtRst2a);
}

void TfrmTCalc::ListBox2DragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  MoveListItem(dynamic_cast<TListBox*>(Source), dynamic_cast<TListBox*>(Sender), X, Y);
  UpdateSideTotals(ListBox1, edtRst1, edtRst1a);
  UpdateSideTotals(ListBox2, edtRst2, edtRst2a);
}

void TfrmTCalc::MoveListItem(TListBox* Source, TListBox* Target, int X, int Y) {
  if (!Source || !Target) return;
  const int i = Source->ItemIndex();
  if (i < 0) return;
  const int j = Target->ItemAtPos({X, Y});
  if (Source == Target) {
    Source->Move(i, j);
    Source->SetItemIndex(j);
    return;
  }
  Target->Insert(j, Source->Item(i));
  Target->SetItemIndex(j >= 0 ? j : Target->Count() - 1);
  Source->Delete(i);
  if (Source->Count() == 0) return;
  Source->SetItemIndex(i < Source->Count() ? i : Source->Count() - 1);
}

void TfrmTCalc::UpdateSideTotals(TListBox* List, TEdit* SecondsField, TEdit* MinSecField) {
  std::uint32_t sum = 0;  // unsigned, so that the wrap is defined
  std::string entry;
  for (int i = 0; i < List->Count(); ++i) {
    entry.clear();
    platform::AppendUtf8AsCp932(LabelEntry(List->Item(i)), entry);
    const ParseResult parsed = ParseTimeEntry(entry);
    if (parsed.status == kParseNotRead) {
      SecondsField->SetText("Error");
      MinSecField->SetText("Error");
      return;
    }
    sum += static_cast<std::uint32_t>(parsed.seconds);
  }
  SecondsField->SetText(FormatTotalSeconds(static_cast<Seconds>(sum)));
  MinSecField->SetText(FormatTotalMinSec(static_cast<Seconds>(sum)));
}

void TfrmTCalc::edtRst1DblClick(TObject*) {
  CopyField(frmTCalc->edtRst1);
}
void TfrmTCalc::edtRst1aDblClick(TObject*) {
  CopyField(frmTCalc->edtRst1a);
}
void TfrmTCalc::edtRst2DblClick(TObject*) {
  CopyField(frmTCalc->edtRst2);
}
void TfrmTCalc::edtRst2aDblClick(TObject*) {
  CopyField(frmTCalc->edtRst2a);
}

void TfrmTCalc::btnCloseClick(TObject*) {
  Close();
}

std::string TfrmTCalc::ReportText() const {
  // Labels and field texts are appended as they stand: a "%" in a label is
  // just a character.
  std::string text = "振り分け結果\n\nSide-A\n￣￣￣\n";
  AppendSide(text, ListBox1);
  text += "\n 計 " + Trimmed(edtRst1->Text()) + " (" + Trimmed(edtRst1a->Text()) +
          ")\n\n\nSide-B\n￣￣￣\n";
  AppendSide(text, ListBox2);
  text += "\n 計 " + Trimmed(edtRst2->Text()) + " (" + Trimmed(edtRst2a->Text()) + ")\n";
  return WithCrLf(platform::Utf8ToCp932(text));
}

void TfrmTCalc::btnDispClick(TObject*) {
  const std::string path = ProgramFilePath("tlvortmp.txt", TFileRole::Report);
  // A report that could not be written whole is never handed on.
  if (!WriteFileBytes(path, ReportText())) {
    Application->MessageBox(this, kReportFailed, "TALVOR", MB_ICONERROR);
    return;
  }
  Application->ShellOpen(this, path);
}

}  // namespace talvor::ui
