// The toolkit-free half of controls, forms and the application object.
#include <algorithm>

#include "platform/backend.h"
#include "platform/forms.h"

namespace talvor::platform {

TApplication* Application = nullptr;

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

TForm* TApplication::MainForm() const {
  return detail::g_mainFormComponent ? m_mainForm : nullptr;
}

void TApplication::SetMainForm(TForm* form) {
  m_mainForm = form;
  detail::g_mainFormComponent = form;
  // A new main form starts a new run: a quit asked for by the one before it
  // (in a test program that makes several) must not end this one's loops.
  m_terminated = false;
}

void TForm::DoCreate() {
  Application->Guard([&] { OnCreate(this); });
}

void TForm::WMGetMinMaxInfo(TMinMaxInfo&) {}

bool TForm::PreviewKey(Word key, TShiftState shift) {
  if (Menu && Menu->IsShortCut(ShortCut(key, shift))) return true;
  if (shift.ctrl || shift.alt) return false;
  TControl* focused = ActiveControl();
  if (key == VK_ESCAPE) {
    for (TControl* control : m_controls) {
      auto* button = dynamic_cast<TButton*>(control);
      if (button && button->Cancel && button->Visible() && button->Enabled()) {
        button->Click();
        return true;
      }
    }
    return false;
  }
  if (key != VK_RETURN || dynamic_cast<TRichEdit*>(focused)) return false;
  // Enter presses the focused button, else the default button.
  if (auto* button = dynamic_cast<TButton*>(focused)) {
    button->Click();
    return true;
  }
  for (TControl* control : m_controls) {
    auto* button = dynamic_cast<TButton*>(control);
    if (button && button->Default && button->Visible() && button->Enabled()) {
      button->Click();
      return true;
    }
  }
  return false;
}

namespace {

void AppendTabChain(const std::vector<TControl*>& controls, const TControl* container,
                    std::vector<TControl*>& chain) {
  std::vector<TControl*> children;
  for (TControl* control : controls)
    if (control->Parent() == container && control->TabOrder() >= 0) children.push_back(control);
  std::stable_sort(children.begin(), children.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TControl* child : children) {
    chain.push_back(child);
    AppendTabChain(controls, child, chain);
  }
}

}  // namespace

std::vector<TControl*> TForm::TabChain() const {
  std::vector<TControl*> chain;
  AppendTabChain(m_controls, this, chain);
  return chain;
}

TControl* TForm::ControlAtScreen(TPoint screen) const {
  // Later controls lie above earlier ones; children above their parents.
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
    TControl* control = *it;
    if (!control->Visible()) continue;
    const TPoint p = control->ScreenToClient(screen);
    if (p.x >= 0 && p.y >= 0 && p.x < control->Width() && p.y < control->Height()) return control;
  }
  return nullptr;
}

void TButton::Click() {
  Application->Guard([&] { OnClick(this); });
}

void TSpeedButton::Click() {
  Application->Guard([&] { OnClick(this); });
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = error.what();
  // The display ends the message with a full stop, unless it has one.
  if (text.empty() || text.back() != '.') text += '.';
  MessageBox(MainForm(), text, m_title, MB_ICONERROR);
}

int TApplication::MessageBox(TForm* owner, const std::string& text, const std::string& caption,
                             unsigned flags) {
  if (Hooks.messageBox) return Hooks.messageBox(owner, text, caption, flags);
  return backend::MessageBox(owner, text, caption, flags);
}

bool TApplication::ShellOpen(TForm* owner, const std::string& path) {
  if (Hooks.shellOpen) return Hooks.shellOpen(owner, path);
  return backend::ShellOpen(owner, path);
}

std::string TApplication::ClipboardText() const {
  return backend::ClipboardText();
}

std::string TApplication::ExeName() const {
  return Hooks.exeName ? Hooks.exeName() : backend::ExeName();
}

TPoint TApplication::ScreenSize() const {
  return Hooks.screenSize ? Hooks.screenSize() : backend::ScreenSize();
}

void TApplication::NotifyModalShown(TForm* form) {
  // A copy: the hook may replace or clear itself while it runs.
  const auto hook = Hooks.modalShown;
  if (hook) Guard([&] { hook(form); });
}

}  // namespace talvor::platform
