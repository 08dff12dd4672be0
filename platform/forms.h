// Forms, the hidden main menu, and the application object with its services.
//
// TForm: a top-level window built by a form class from its layout table;
// modal display, close with a close query, default/cancel buttons, a hidden
// menu whose shortcuts act from every control. TApplication: the message
// loop, the standard error display, and the services that tests replace
// (message box, opening a file, clipboard, executable path, screen size).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace talvor::platform {

class TMenuItem : public TComponent {
 public:
  TMenuItem(TComponent* owner, TMenuItem* parentItem);
  std::string Caption;
  TShortCut ShortCut = scNone;
  bool Visible = true;
  bool Enabled = true;
  TNotifyEvent OnClick = [](TObject*) {};

  TMenuItem* ParentItem() const { return m_parentItem; }
  const std::vector<TMenuItem*>& Items() const { return m_items; }

 private:
  TMenuItem* m_parentItem;
  std::vector<TMenuItem*> m_items;
};

// A main menu that may show nothing at all: its items are looked up by
// shortcut, visible or not; an item runs only when it and every item above
// it are enabled.
class TMainMenu : public TComponent {
 public:
  explicit TMainMenu(TComponent* owner);
  TMenuItem* AddItem(TMenuItem* parentItem, const std::string& name, const std::string& caption,
                     TShortCut shortCut, bool visible);
  const std::vector<TMenuItem*>& Items() const { return m_items; }
  TMenuItem* FindItem(TShortCut shortCut) const;
  // Runs the item for the shortcut, if any; true when the key was taken.
  bool IsShortCut(TShortCut shortCut);

 private:
  std::vector<TMenuItem*> m_items;
};

enum class TFormBorderStyle { bsSizeable, bsSingle, bsDialog };
enum class TPosition { poDesigned, poScreenCenter };
struct TBorderIcons {
  bool systemMenu = true, minimize = true, maximize = true;
};
struct TMinMaxInfo {
  TPoint ptMinTrackSize;  // 0 means no minimum
};

class TForm : public TControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  void SetCaption(const std::string& caption);
  std::string Caption() const;
  void SetBorderStyle(TFormBorderStyle style);
  void SetBorderIcons(TBorderIcons icons);
  void SetPosition(TPosition position);
  void SetClientSize(int width, int height);
  void SetIcon(const std::string& resourceName);
  TMainMenu* Menu = nullptr;

  // Outer bounds on the screen, frame and caption included.
  void SetBounds(int left, int top, int width, int height) override;
  TRect Bounds() const override;

  void Show();
  int ShowModal();  // runs a nested loop until ModalResult is set; the owner takes no input
  void Close();     // close query, then hide; a modal run ends with mrCancel
  bool Showing() const;
  int ModalResult = mrNone;
  TControl* ActiveControl() const;

  // Runs OnCreate; errors inside it are shown and creation goes on.
  void DoCreate();

  TNotifyEvent OnCreate = [](TObject*) {};
  TNotifyEvent OnShow = [](TObject*) {};
  TCloseQueryEvent OnCloseQuery = [](TObject*, bool&) {};

  // The minimum tracking size; a form overrides this to set it.
  virtual void WMGetMinMaxInfo(TMinMaxInfo& info);

  // Called by the backend for every key pressed in any control of the form,
  // before the control sees it: menu shortcuts, then Esc for the cancel
  // button and Enter for the default button (unless the focused control
  // takes Enter itself). True when the key was taken.
  bool PreviewKey(Word key, TShiftState shift);

  // The controls that have a tab order, in focus order: siblings by tab
  // order, each followed by its own children in the same way.
  std::vector<TControl*> TabChain() const;

  // Controls of this form, in creation order (the layout's order).
  const std::vector<TControl*>& Controls() const { return m_controls; }
  TControl* ControlAtScreen(TPoint screen) const;  // the topmost control there, or null
  void RegisterControl(TControl* control) { m_controls.push_back(control); }

 private:
  std::vector<TControl*> m_controls;
};

// What a test or an embedding replaces. Each is called instead of the
// platform's own service when set.
struct TApplicationHooks {
  std::function<int(TForm* owner, const std::string& text, const std::string& caption,
                    unsigned flags)>
      messageBox;
  std::function<bool(TForm* owner, const std::string& path)> shellOpen;
  std::function<std::string()> exeName;
  std::function<TPoint()> screenSize;
  std::function<void(TForm* form)> modalShown;  // runs once a modal loop has started
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  void SetTitle(const std::string& title);
  const std::string& Title() const { return m_title; }
  void SetIcon(const std::string& resourceName);

  // Creates a form owned by the application, stores it in ref, then runs its
  // OnCreate. An error thrown by the construction sets ref back to null and
  // goes on to the caller. The first form created is the main form.
  template <typename F>
  void CreateForm(F*& ref) {
    ref = nullptr;
    F* form = new F(this);
    ref = form;
    if (!MainForm()) SetMainForm(form);
    form->DoCreate();
  }
  // The first form created, while it lives.
  TForm* MainForm() const;

  void Run();        // shows the main form and dispatches messages until Terminate
  void Terminate();  // posts the quit message
  void ProcessMessages();
  bool Terminated() const { return m_terminated; }

  // The standard error display: a message box captioned with the title,
  // the error icon, the message followed by ".".
  void ShowException(const std::exception& error);
  // Runs fn, showing any std::exception it throws; backends call every
  // event handler through this.
  template <typename Fn>
  void Guard(Fn&& fn) {
    try {
      fn();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }

  // Services.
  int MessageBox(TForm* owner, const std::string& text, const std::string& caption, unsigned flags);
  bool ShellOpen(TForm* owner, const std::string& path);  // the file's default program, no shell
  std::string ClipboardText() const;
  std::string ExeName() const;  // the running executable's full path
  TPoint ScreenSize() const;    // the primary screen, in pixels

  TApplicationHooks Hooks;

  // Backends call this once a modal loop has started.
  void NotifyModalShown(TForm* form);

 private:
  void SetMainForm(TForm* form);

  std::string m_title;
  TForm* m_mainForm = nullptr;
  bool m_terminated = false;
};

// The application object, set by its constructor.
extern TApplication* Application;

}  // namespace talvor::platform
