// The program's entry point: the application object, its title, the main
// window, and the message loop. It reads no arguments.
#include "platform/forms.h"
#include "ui/main/main.h"

int main() {
  using namespace talvor::platform;
  TApplication application;
  try {
    Application->Initialize();
    Application->SetTitle("TALVOR");
    Application->CreateForm(talvor::ui::frmMain);
    Application->Run();
  } catch (const Exception& error) {
    Application->ShowException(error);
  }
  return 0;
}
