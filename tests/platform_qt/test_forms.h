// Two small forms built from layout tables, shaped like the program's own:
// a sheet beside a right-aligned panel with a hidden shortcut menu, and a
// dialog of two drag-and-drop lists with default and cancel buttons. They
// record what reaches their handlers so tests can see what the backend did.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/layout.h"
#include "platform/testing.h"

namespace talvor::platform::qt_test {

namespace drive = talvor::platform::testing;

class TSheetForm : public TForm {
 public:
  explicit TSheetForm(TComponent* owner);

  TPanel* Panel1;
  TSpeedButton* sbtnClear;
  TEdit* edtAns;
  TButton* btnCalc;
  TButton* btnClose;
  TRichEdit* Memo1;
  TMainMenu* MainMenu1;

  std::vector<std::string> menuRuns;  // "clear", "run", "ins"
  std::vector<Word> keyDowns;         // OnKeyDown of the sheet, modifier keys left out
  std::vector<std::uintptr_t> chars;  // WM_CHAR through the sheet's WindowProc
  int calcClicks = 0;
  TMinMaxInfo minimum{};

  void WMGetMinMaxInfo(TMinMaxInfo& info) override { info = minimum; }
};

class TListForm : public TForm {
 public:
  explicit TListForm(TComponent* owner);

  TListBox* ListBox1;
  TListBox* ListBox2;
  TEdit* edtRst1;
  TButton* btnOk;
  TButton* btnClose;

  struct Drop {
    TObject* sender;
    TObject* source;
    int x, y;
    friend bool operator==(const Drop&, const Drop&) = default;
  };
  struct Over {
    TObject* sender;
    TObject* source;
    TDragState state;
  };
  std::vector<Drop> drops;
  std::vector<Over> overs;
  bool acceptDrops = true;
  int closeQueries = 0;
  bool allowClose = true;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned flags;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// Records message boxes and shell requests instead of showing them.
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::vector<ShownMessage> m_messages;
};

}  // namespace talvor::platform::qt_test
