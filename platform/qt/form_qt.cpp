// TForm over a top-level QWidget.
//
// Bounds are outer bounds, frame included, as the layouts and the settings
// file give them; Qt places the frame itself and sizes the client area, so
// the frame's size is taken from the window system once known. A modal run
// is a nested loop that ends when ModalResult is set.
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/align.h"
#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

// The frame of the last form shown: the best guess for a form not shown yet.
QMargins g_lastFrame;

Qt::WindowFlags FlagsFor(TFormBorderStyle style, TBorderIcons icons);

// Before any form has been shown, a window made but never shown tells what
// frame the platform gives; a window manager's frame shows only once a
// window is mapped, and is corrected for then.
QMargins LastFrame() {
  static bool probed = false;
  if (!probed) {
    probed = true;
    QWidget probe(nullptr, FlagsFor(TFormBorderStyle::bsSizeable, TBorderIcons{}));
    probe.winId();
    if (g_lastFrame.isNull() && probe.windowHandle())
      g_lastFrame = probe.windowHandle()->frameMargins();
  }
  return g_lastFrame;
}

class FormWidget;

struct FormImpl : TControl::Impl {
  FormImpl(TForm* form, FormWidget* widget);
  TFormBorderStyle borderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons borderIcons;
  TPosition position = TPosition::poDesigned;
  bool shownOnce = false;
  bool inModal = false;
  // Outer size asked for while the frame was not known yet: corrected once it is.
  bool keepOuterSize = false;
  QSize outerSize;
  QMargins frameUsed;  // the frame that outerSize was converted with
  QMargins frameSeen;  // the frame when last looked at
};

void ApplySizeLimits(TForm& form);

FormImpl* FormImplOf(const TForm* form) {
  return static_cast<FormImpl*>(form->NativeImpl());
}

class FormWidget : public QWidget {
 public:
  explicit FormWidget(TForm* form) : QWidget(nullptr), m_form(form) {
    setAttribute(Qt::WA_DeleteOnClose, false);
  }
  // The form is going: events that arrive while the widget is destroyed are not its own.
  void Detach() { m_form = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The close box, Alt+F4 and QWidget::close() take the form's own path.
    event->ignore();
    TForm* form = m_form;
    if (!form) return;
    Application->Guard([form] { form->Close(); });
  }

  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (!m_form) return;
    FormImpl* impl = FormImplOf(m_form);
    if (impl && impl->keepOuterSize && event->spontaneous() &&
        event->size() != impl->outerSize.shrunkBy(impl->frameUsed))
      impl->keepOuterSize = false;  // the user has sized the window since
    AlignControls(*m_form);
  }

  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    CorrectForFrame();
  }

  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    CorrectForFrame();
  }

 private:
  // Window managers add the frame after the window is mapped. Sizes the
  // program gives are outer sizes: redo them once the frame is known.
  void CorrectForFrame() {
    if (!m_form) return;
    FormImpl* impl = FormImplOf(m_form);
    if (!impl || !isVisible() || !windowHandle()) return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame == impl->frameSeen) return;
    impl->frameSeen = frame;
    if (!frame.isNull()) g_lastFrame = frame;
    ApplySizeLimits(*m_form);
    if (impl->keepOuterSize && frame != impl->frameUsed) {
      impl->frameUsed = frame;
      resize(impl->outerSize.shrunkBy(frame));
    }
  }

  TForm* m_form;
};

FormImpl::FormImpl(TForm* form, FormWidget* widget) : Impl(form, widget) {}

Qt::WindowFlags FlagsFor(TFormBorderStyle style, TBorderIcons icons) {
  Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  flags |= style == TFormBorderStyle::bsDialog ? Qt::Dialog : Qt::Window;
  if (icons.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style != TFormBorderStyle::bsDialog && icons.minimize) flags |= Qt::WindowMinimizeButtonHint;
  // A fixed-size window has nothing to maximise to.
  if (style == TFormBorderStyle::bsSizeable && icons.maximize)
    flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

bool FixedSize(const FormImpl* impl) {
  return impl->borderStyle != TFormBorderStyle::bsSizeable;
}

void ApplySizeLimits(TForm& form) {
  FormImpl* impl = FormImplOf(&form);
  QWidget* w = impl->widget;
  if (FixedSize(impl)) {
    w->setFixedSize(w->size());
    return;
  }
  TMinMaxInfo info;
  form.WMGetMinMaxInfo(info);
  const QMargins frame = qt::FrameMargins(form);
  const int frameWidth = frame.left() + frame.right();
  const int frameHeight = frame.top() + frame.bottom();
  w->setMinimumSize(
      info.ptMinTrackSize.x > 0 ? std::max(0, info.ptMinTrackSize.x - frameWidth) : 0,
      info.ptMinTrackSize.y > 0 ? std::max(0, info.ptMinTrackSize.y - frameHeight) : 0);
}

void CenterOnScreen(TForm& form) {
  QWidget* w = FormImplOf(&form)->widget;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const QSize outer = w->size().grownBy(qt::FrameMargins(form));
  w->move(area.x() + (area.width() - outer.width()) / 2,
          area.y() + (area.height() - outer.height()) / 2);
}

void FocusFirstControl(TForm& form) {
  QWidget* w = FormImplOf(&form)->widget;
  if (w->focusWidget()) return;
  for (QWidget* next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus && next->isEnabled() && next->isVisibleTo(w)) {
      next->setFocus(Qt::ActiveWindowFocusReason);
      return;
    }
  }
}

}  // namespace

namespace qt {

QMargins FrameMargins(const TForm& form) {
  const FormImpl* impl = FormImplOf(&form);
  const QWidget* w = impl->widget;
  if (impl->shownOnce && w->windowHandle()) {
    const QMargins frame = w->windowHandle()->frameMargins();
    if (!frame.isNull() || !w->isVisible()) return frame;
  }
  return LastFrame();
}

void ApplyTabOrder(TForm& form) {
  std::vector<QWidget*> chain;
  for (TControl* control : form.TabChain()) {
    QWidget* widget = WidgetOf(control);
    if (widget->focusPolicy() != Qt::NoFocus) chain.push_back(widget);
  }
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace qt

TForm::TForm(TComponent* owner) : TControl(owner, nullptr) {
  auto* widget = new FormWidget(this);
  m_impl = std::make_unique<FormImpl>(this, widget);
  widget->setWindowFlags(FlagsFor(TFormBorderStyle::bsSizeable, TBorderIcons{}));
  if (QFile::exists(QStringLiteral(":/MAINICON")))
    widget->setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
}

TForm::~TForm() {
  qt::CancelDrag(*this);
  // The controls go first, while the window that holds them still exists.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  if (m_impl->widget) static_cast<FormWidget*>(m_impl->widget.data())->Detach();
}

void TForm::SetCaption(const std::string& caption) {
  m_impl->widget->setWindowTitle(qt::ToQString(caption));
}

std::string TForm::Caption() const {
  return qt::ToStdString(m_impl->widget->windowTitle());
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  FormImpl* impl = FormImplOf(this);
  impl->borderStyle = style;
  const bool visible = impl->widget->isVisible();
  impl->widget->setWindowFlags(FlagsFor(style, impl->borderIcons));
  if (FixedSize(impl)) {
    impl->widget->setFixedSize(impl->widget->size());
  } else {
    impl->widget->setMinimumSize(0, 0);
    impl->widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (visible) impl->widget->show();  // changing the flags hides a window
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  FormImpl* impl = FormImplOf(this);
  impl->borderIcons = icons;
  const bool visible = impl->widget->isVisible();
  impl->widget->setWindowFlags(FlagsFor(impl->borderStyle, icons));
  if (visible) impl->widget->show();
}

void TForm::SetPosition(TPosition position) {
  FormImplOf(this)->position = position;
}

void TForm::SetClientSize(int width, int height) {
  FormImpl* impl = FormImplOf(this);
  impl->keepOuterSize = false;
  const QSize size(std::max(0, width), std::max(0, height));
  if (FixedSize(impl))
    impl->widget->setFixedSize(size);
  else
    impl->widget->resize(size);
  AlignControls(*this);
}

void TForm::SetIcon(const std::string& resourceName) {
  const QString path = QStringLiteral(":/") + qt::ToQString(resourceName);
  if (QFile::exists(path)) m_impl->widget->setWindowIcon(QIcon(path));
}

void TForm::SetBounds(int left, int top, int width, int height) {
  FormImpl* impl = FormImplOf(this);
  QWidget* w = impl->widget;
  const QMargins frame = qt::FrameMargins(*this);
  const QSize outer(std::max(0, width), std::max(0, height));
  const QSize client = outer.shrunkBy(frame).expandedTo(QSize(0, 0));
  // A top-level widget's move() places its frame.
  w->move(left, top);
  if (FixedSize(impl))
    w->setFixedSize(client);
  else
    w->resize(client);
  impl->outerSize = outer;
  impl->frameUsed = frame;
  impl->keepOuterSize = true;
  AlignControls(*this);
}

TRect TForm::Bounds() const {
  const QWidget* w = m_impl->widget;
  const QSize outer = w->size().grownBy(qt::FrameMargins(*this));
  const QPoint position = w->pos();
  return TRect{position.x(), position.y(), outer.width(), outer.height()};
}

void TForm::Show() {
  FormImpl* impl = FormImplOf(this);
  QWidget* w = impl->widget;
  if (w->isVisible()) {
    w->raise();
    w->activateWindow();
    return;
  }
  qt::ApplyTabOrder(*this);
  ApplySizeLimits(*this);
  if (impl->position == TPosition::poScreenCenter) CenterOnScreen(*this);
  AlignControls(*this);
  w->show();
  impl->shownOnce = true;
  w->raise();
  w->activateWindow();
  FocusFirstControl(*this);
  Application->Guard([this] { OnShow(this); });
}

int TForm::ShowModal() {
  FormImpl* impl = FormImplOf(this);
  QWidget* w = impl->widget;
  if (impl->inModal || w->isVisible())
    throw Exception("表示されているウィンドウはモーダルにできません");
  const QPointer<QWidget> previous = QApplication::activeWindow();
  ModalResult = mrNone;
  w->setWindowModality(Qt::ApplicationModal);
  impl->inModal = true;
  struct EndRun {
    FormImpl* impl;
    QPointer<QWidget> previous;
    ~EndRun() {
      impl->inModal = false;
      if (impl->widget) {
        impl->widget->hide();
        impl->widget->setWindowModality(Qt::NonModal);
      }
      if (previous) previous->activateWindow();
    }
  } endRun{impl, previous};

  Show();
  // Told once the loop below has started, not before.
  QTimer started;
  started.setSingleShot(true);
  QObject::connect(&started, &QTimer::timeout, [this] { Application->NotifyModalShown(this); });
  started.start(0);
  while (ModalResult == mrNone && !Application->Terminated()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // A modal form hidden by other means ends its run as a cancel.
    if (ModalResult == mrNone && !w->isVisible()) ModalResult = mrCancel;
  }
  if (ModalResult == mrNone) ModalResult = mrCancel;
  return ModalResult;
}

void TForm::Close() {
  bool canClose = true;
  try {
    OnCloseQuery(this, canClose);
  } catch (const std::exception& error) {
    // An error in the close query stops the close, as if it had said no.
    Application->ShowException(error);
    return;
  }
  if (!canClose) return;
  FormImpl* impl = FormImplOf(this);
  if (impl->inModal) ModalResult = mrCancel;
  impl->widget->hide();
  if (Application && Application->MainForm() == this) Application->Terminate();
}

bool TForm::Showing() const {
  return m_impl->widget->isVisible();
}

TControl* TForm::ActiveControl() const {
  QWidget* focus = m_impl->widget->focusWidget();
  if (!focus) return nullptr;
  TControl* control = qt::ControlOf(focus);
  return control == this ? nullptr : control;
}

}  // namespace talvor::platform
