// TfrmMain: the working surface. The sheet on the left, the result fields
// and commands on the right; runs the Add command from its five triggers,
// gives the sheet its own Enter key, and remembers where the window stood.
//
// Not responsible for: the arithmetic (core/) or how controls are drawn
// (platform/). The sheet's text is never stored.
#pragma once

#include <string>

#include "platform/forms.h"

namespace talvor::ui {

using namespace talvor::platform;

class TfrmMain : public TForm {
 public:
  explicit TfrmMain(TComponent* owner);

  TPanel* Panel1;
  TButton* btnCalc;
  TEdit* edtAns;
  TEdit* edtAnsT1;
  TEdit* edtAnsT2;
  TMainMenu* MainMenu1;
  TMenuItem* run1;
  TMenuItem* clear1;
  TSpeedButton* sbtnClear;
  TButton* btnClose;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton2;
  TMenuItem* sc1;
  TMenuItem* Ins1;
  TRichEdit* Memo1;

  void btnCalcClick(TObject* Sender);
  void Memo1KeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void clear1Click(TObject* Sender);
  void Ins1Click(TObject* Sender);
  void FormShow(TObject* Sender);
  void MemoWndProc(TMessage& Message);
  void WMGetMinMaxInfo(TMinMaxInfo& Info) override;
  void edtAnsDblClick(TObject* Sender);
  void edtAnsT1DblClick(TObject* Sender);
  void edtAnsT2DblClick(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void btnCloseClick(TObject* Sender);
  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  void WriteIniInt(const std::string& Section, const std::string& Key, const std::string& FileName,
                   int Value);

  // The sheet as code page 932 text, its lines separated by LF.
  std::string SheetText() const;
};

// The main window, set when the application creates it.
extern TfrmMain* frmMain;
// The sheet's handling before MemoWndProc was put in front of it.
extern TWndMethod OldMemoWndProc;

}  // namespace talvor::ui
