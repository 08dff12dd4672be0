// TfrmTCalc: spreads the sheet's entries over Side A and Side B by drag and
// drop, keeps a total per side, and writes the split to a text report.
//
// The two lists are the only store of the split: every total is read again
// from the labels. Not responsible for: the sheet (it only reads frmMain's).
#pragma once

#include <string>

#include "platform/forms.h"

namespace talvor::ui {

using namespace talvor::platform;

class TfrmTCalc : public TForm {
 public:
  explicit TfrmTCalc(TComponent* owner);

  TListBox* ListBox1;
  TListBox* ListBox2;
  TLabel* Label1;
  TEdit* edtRst1;
  TEdit* edtRst1a;
  TLabel* Label2;
  TEdit* edtRst2;
  TEdit* edtRst2a;
  TButton* btnDisp;
  TButton* btnReset;
  TButton* btnClose;

  void FormShow(TObject* Sender);
  void btnResetClick(TObject* Sender);
  void ListBox1DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                        bool& Accept);
  void ListBox2DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                        bool& Accept);
  void ListBox1DragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void ListBox2DragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void MoveListItem(TListBox* Source, TListBox* Target, int X, int Y);
  void UpdateSideTotals(TListBox* List, TEdit* SecondsField, TEdit* MinSecField);
  void edtRst1DblClick(TObject* Sender);
  void edtRst1aDblClick(TObject* Sender);
  void edtRst2DblClick(TObject* Sender);
  void edtRst2aDblClick(TObject* Sender);
  void btnCloseClick(TObject* Sender);
  void btnDispClick(TObject* Sender);

  // The report as it would be written: CP932 bytes with CR LF line breaks.
  std::string ReportText() const;
};

// The split dialog while it runs.
extern TfrmTCalc* frmTCalc;

// "[%02d] %s": the running number and the sheet line, UTF-8.
std::string ItemLabel(int number, const std::string& line);
// The entry behind a label's "[nn] " prefix.
std::string LabelEntry(const std::string& label);

}  // namespace talvor::ui
