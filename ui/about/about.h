// TfrmAbout: the program's name, version, credit line, where its source and
// issue tracker live, and its icon. Closes on OK or the close box; has no
// logic of its own.
#pragma once

#include "platform/forms.h"

namespace talvor::ui {

using namespace talvor::platform;

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TComponent* owner);

  TButton* Button1;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TLabel* Label4;
  TBevel* Bevel1;
  TBevel* Bevel2;
  TImage* Image1;

  void Button1Click(TObject* Sender);
};

// The About dialog while it runs.
extern TfrmAbout* frmAbout;

}  // namespace talvor::ui
