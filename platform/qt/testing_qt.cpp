// The test driver over Qt Test. Keys go to the focused widget of the
// control's window through QTest; mouse events go straight to the widget, or
// through the window system's path when QTEST_QPA_MOUSE_HANDLING is set in
// the environment (then grabs and the widget under the pointer matter).
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <stdexcept>

#include "platform/qt/qt_private.h"
#include "platform/testing.h"

namespace talvor::platform::testing {
namespace {

Qt::Key QtKey(Word key, bool keypad) {
  if (key >= 'A' && key <= 'Z') return static_cast<Qt::Key>(Qt::Key_A + (key - 'A'));
  if (key >= '0' && key <= '9') return static_cast<Qt::Key>(Qt::Key_0 + (key - '0'));
  if (key >= 0x70 && key <= 0x87) return static_cast<Qt::Key>(Qt::Key_F1 + (key - 0x70));
  switch (key) {
    case VK_RETURN:
      return keypad ? Qt::Key_Enter : Qt::Key_Return;
    case VK_ESCAPE:
      return Qt::Key_Escape;
    case VK_TAB:
      return Qt::Key_Tab;
    case VK_BACK:
      return Qt::Key_Backspace;
    case VK_SPACE:
      return Qt::Key_Space;
    case VK_DELETE:
      return Qt::Key_Delete;
    case VK_HOME:
      return Qt::Key_Home;
    case VK_END:
      return Qt::Key_End;
    case VK_LEFT:
      return Qt::Key_Left;
    case VK_UP:
      return Qt::Key_Up;
    case VK_RIGHT:
      return Qt::Key_Right;
    case VK_DOWN:
      return Qt::Key_Down;
    case VK_SHIFT:
      return Qt::Key_Shift;
    case VK_CONTROL:
      return Qt::Key_Control;
    case VK_MENU:
      return Qt::Key_Alt;
    default:
      throw std::invalid_argument("testing::KeyPress: no Qt key for virtual key " +
                                  std::to_string(key));
  }
}

Qt::KeyboardModifiers Modifiers(TShiftState shift, bool keypad) {
  Qt::KeyboardModifiers modifiers;
  if (shift.shift) modifiers |= Qt::ShiftModifier;
  if (shift.ctrl) modifiers |= Qt::ControlModifier;
  if (shift.alt) modifiers |= Qt::AltModifier;
  if (keypad) modifiers |= Qt::KeypadModifier;
  return modifiers;
}

QWidget* KeyTarget(TControl* control) {
  QWidget* widget = qt::WidgetOf(control);
  QWidget* focus = widget->window()->focusWidget();
  return focus ? focus : widget;
}

QWidget* MouseTarget(TControl* control) {
  return control->NativeImpl()->Client();
}

bool ThroughWindowSystem() {
  return qEnvironmentVariableIsSet("QTEST_QPA_MOUSE_HANDLING");
}

// What QTest does for a widget, without its habit of moving a press at the
// null point to the widget's centre: client (0, 0) is a point like any other.
void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint pos) {
  Qt::MouseButtons& buttons = QTestPrivate::qtestMouseButtons;
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
    buttons.setFlag(button, true);
  if (type == QEvent::MouseButtonRelease) buttons.setFlag(button, false);
  QTest::lastMouseTimestamp += 1;
  QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier,
                    QPointingDevice::primaryPointingDevice());
  event.setTimestamp(static_cast<quint64>(QTest::lastMouseTimestamp));
  QSpontaneKeyEvent::setSpontaneous(&event);
  QApplication::instance()->notify(widget, &event);
  // Keep the next press from pairing with this one.
  if (type == QEvent::MouseButtonRelease)
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
}

void Mouse(QTest::MouseAction action, TControl* control, TPoint client) {
  QWidget* widget = MouseTarget(control);
  const QPoint pos(client.x, client.y);
  const Qt::MouseButton button = action == QTest::MouseMove ? Qt::NoButton : Qt::LeftButton;
  if (ThroughWindowSystem()) {
    QWindow* window = widget->window()->windowHandle();
    if (!window) throw std::logic_error("testing: the control's window is not shown");
    QTest::mouseEvent(action, window, button, Qt::KeyboardModifiers(),
                      window->mapFromGlobal(widget->mapToGlobal(pos)));
    return;
  }
  switch (action) {
    case QTest::MousePress:
      SendMouse(widget, QEvent::MouseButtonPress, button, pos);
      break;
    case QTest::MouseRelease:
      SendMouse(widget, QEvent::MouseButtonRelease, button, pos);
      break;
    case QTest::MouseMove:
      SendMouse(widget, QEvent::MouseMove, button, pos);
      break;
    case QTest::MouseClick:
      SendMouse(widget, QEvent::MouseButtonPress, button, pos);
      SendMouse(widget, QEvent::MouseButtonRelease, button, pos);
      break;
    case QTest::MouseDClick:
      // As the window system delivers a double-click to a widget.
      SendMouse(widget, QEvent::MouseButtonPress, button, pos);
      SendMouse(widget, QEvent::MouseButtonRelease, button, pos);
      SendMouse(widget, QEvent::MouseButtonPress, button, pos);
      SendMouse(widget, QEvent::MouseButtonDblClick, button, pos);
      SendMouse(widget, QEvent::MouseButtonRelease, button, pos);
      break;
  }
  QCoreApplication::processEvents();
}

}  // namespace

std::unique_ptr<TApplication> CreateTestApplication() {
  // No display needed; a test may still choose another platform itself.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return std::make_unique<TApplication>();
}

void ProcessEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void KeyPress(TControl* control, Word key, TShiftState shift, bool keypad) {
  QTest::keyClick(KeyTarget(control), QtKey(key, keypad), Modifiers(shift, keypad));
}

void TypeText(TControl* control, const std::string& text) {
  QWidget* target = KeyTarget(control);
  for (const uint ch : qt::ToQString(text).toUcs4()) {
    const QString typed = QString::fromUcs4(reinterpret_cast<const char32_t*>(&ch), 1);
    Qt::Key key = Qt::Key_unknown;
    if (ch == '\n' || ch == '\r')
      key = Qt::Key_Return;
    else if (ch < 0x80)
      key = QTest::asciiToKey(static_cast<char>(ch));
    QTest::sendKeyEvent(QTest::Click, target, key, typed, Qt::NoModifier);
  }
}

void MousePress(TControl* control, TPoint client) {
  Mouse(QTest::MousePress, control, client);
}

void MouseMove(TControl* control, TPoint client) {
  Mouse(QTest::MouseMove, control, client);
}

void MouseRelease(TControl* control, TPoint client) {
  Mouse(QTest::MouseRelease, control, client);
}

void Click(TControl* control, TPoint client) {
  Mouse(QTest::MouseClick, control, client);
}

void DoubleClick(TControl* control, TPoint client) {
  Mouse(QTest::MouseDClick, control, client);
}

void CloseBox(TForm* form) {
  qt::WidgetOf(form)->close();
}

std::string ClipboardText() {
  return qt::ToStdString(QGuiApplication::clipboard()->text());
}

TPoint MinimumTrackSize(TForm* form) {
  const QSize minimum = qt::WidgetOf(form)->minimumSize();
  if (minimum.isNull()) return TPoint{};
  const QSize outer = minimum.grownBy(qt::FrameMargins(*form));
  return TPoint{outer.width(), outer.height()};
}

bool InputDisabled(TForm* form) {
  const QWidget* widget = qt::WidgetOf(form);
  const QWidget* modal = QApplication::activeModalWidget();
  return modal && modal != widget && !widget->isAncestorOf(modal);
}

}  // namespace talvor::platform::testing
