#include "ui/about/about.h"

#include "platform/layout.h"

namespace talvor::ui {

TfrmAbout* frmAbout = nullptr;

namespace {

const TFormLayout kFormLayout{
    .name = "frmAbout",
    .caption = "TALVORについて",
    .bounds = {0, 0, 0, 0},
    .clientWidth = 276,
    .clientHeight = 130,
    .borderStyle = TFormBorderStyle::bsDialog,
    .borderIcons = {.systemMenu = true, .minimize = false, .maximize = false},
    .position = TPosition::poScreenCenter,
    .font = kFontPGothic,
};

// Back to front.
const TLayoutItem kLayout[] = {
    {.kind = TControlKind::Bevel, .name = "Bevel2", .bounds = {8, 8, 261, 85}},
    {.kind = TControlKind::Label,
     .name = "Label1",
     .bounds = {20, 16, 233, 12},
     .text = "簡単加算電卓 TALVOR V1.01",
     .flags = lfCenter},
    {.kind = TControlKind::Label,
     .name = "Label2",
     .bounds = {76, 40, 180, 12},
     .text = "(C) TALVOR プロジェクト",
     .flags = lfCenter},
    {.kind = TControlKind::Label,
     .name = "Label3",
     .bounds = {76, 56, 180, 12},
     .text = "ソース: TALVOR リポジトリ",
     .flags = lfCenter},
    {.kind = TControlKind::Label,
     .name = "Label4",
     .bounds = {76, 72, 180, 12},
     .text = "ご意見: リポジトリの issues へ",
     .flags = lfCenter},
    {.kind = TControlKind::Bevel, .name = "Bevel1", .bounds = {16, 31, 245, 5}, .flags = lfTopLine},
    {.kind = TControlKind::Image, .name = "Image1", .bounds = {24, 48, 32, 32}, .text = "MAINICON"},
    {.kind = TControlKind::Button,
     .name = "Button1",
     .bounds = {104, 100, 75, 25},
     .text = "OK",
     .tabOrder = 0,
     .flags = lfDefault},
};

}  // namespace

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner) {
  BuildForm(*this, kFormLayout, kLayout);
  Button1 = FindControl<TButton>(*this, "Button1");
  Label1 = FindControl<TLabel>(*this, "Label1");
  Label2 = FindControl<TLabel>(*this, "Label2");
  Label3 = FindControl<TLabel>(*this, "Label3");
  Label4 = FindControl<TLabel>(*this, "Label4");
  Bevel1 = FindControl<TBevel>(*this, "Bevel1");
  Bevel2 = FindControl<TBevel>(*this, "Bevel2");
  Image1 = FindControl<TImage>(*this, "Image1");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

void TfrmAbout::Button1Click(TObject*) {
  Close();
}

}  // namespace talvor::ui
