// TApplication over QApplication, the key preview and mouse feed that every
// form's events pass through, key codes, and the services of backend.h.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSessionManager>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

#if defined(Q_OS_LINUX)
#include <unistd.h>

#include <climits>
#endif

#include "platform/backend.h"
#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

enum : unsigned { kIconMask = 0xF0, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInfo = 0x40 };

std::unique_ptr<QApplication> g_ownedApp;
bool g_running = false;  // inside Run's event loop

std::string ExecutablePath() {
#if defined(Q_OS_LINUX)
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length > 0) return std::string(path, static_cast<std::size_t>(length));
#endif
  return "talvor";
}

// Without a display Qt would abort; say what to do instead.
void RequireDisplay(const std::string& exe) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const auto isSet = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM")) return;
  std::fprintf(
      stderr, "%s: no display (DISPLAY and WAYLAND_DISPLAY are unset); run it as: xvfb-run -a %s\n",
      exe.c_str(), exe.c_str());
  std::exit(1);
#else
  (void)exe;
#endif
}

// The layouts name the Windows fonts; the IPA fonts stand in where they are missing.
void SubstituteFonts() {
  const QStringList families = QFontDatabase::families();
  const auto substitute = [&](const char* name, const char* replacement) {
    const QString family = QString::fromUtf8(name);
    if (!families.contains(family))
      QFont::insertSubstitution(family, QString::fromUtf8(replacement));
  };
  substitute(kFontGothic, "IPAGothic");
  substitute(kFontPGothic, "IPAPGothic");
}

// Keys first go to the form of the focused control (menu shortcuts, default
// and cancel buttons); mouse events feed the list boxes' drag tracker.
class EventPreview : public QObject {
 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::MouseButtonRelease:
        return qt::FeedDragTracker(receiver, event);
      case QEvent::KeyPress:
        if (qt::FeedDragTracker(receiver, event)) return true;
        return PreviewKey(receiver, static_cast<QKeyEvent*>(event));
      default:
        return false;
    }
  }

 private:
  static bool PreviewKey(QObject* receiver, QKeyEvent* event) {
    if (!Application || !receiver->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(receiver);
    QWidget* window = widget->window();
    // A key that the focused widget ignores travels on to its parents: look once.
    const bool first =
        widget == window->focusWidget() || (widget == window && !window->focusWidget());
    if (!first) return false;
    TForm* form = qt::FormOf(widget);
    if (!form) return false;
    const Word key = qt::VirtualKey(event->key(), event->modifiers());
    if (key == 0) return false;
    bool taken = false;
    try {
      taken = form->PreviewKey(key, qt::ShiftState(event->modifiers()));
    } catch (const std::exception& error) {
      Application->ShowException(error);
      taken = true;
    }
    if (taken) event->accept();
    return taken;
  }
};

std::unique_ptr<EventPreview> g_preview;

}  // namespace

namespace qt {

Word VirtualKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<Word>(key);  // same codes
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<Word>(keypad ? 0x60 + (key - Qt::Key_0) : key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<Word>(0x70 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Menu:
      return 0x5D;
    // Keys that carry punctuation, as on a US keyboard; the keypad's own codes.
    case Qt::Key_Asterisk:
      return keypad ? 0x6A : '8';
    case Qt::Key_Plus:
      return keypad ? 0x6B : 0xBB;
    case Qt::Key_Minus:
      return keypad ? 0x6D : 0xBD;
    case Qt::Key_Period:
      return keypad ? 0x6E : 0xBE;
    case Qt::Key_Slash:
      return keypad ? 0x6F : 0xBF;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 0xBA;
    case Qt::Key_Equal:
      return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 0xBC;
    case Qt::Key_Underscore:
      return 0xBD;
    case Qt::Key_Greater:
      return 0xBE;
    case Qt::Key_Question:
      return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
      return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 0xDE;
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_At:
      return '2';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_AsciiCircum:
      return '6';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_ParenLeft:
      return '9';
    case Qt::Key_ParenRight:
      return '0';
    default:
      return 0;
  }
}

}  // namespace qt

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  if (!QCoreApplication::instance()) {
    static std::string exe = ExecutablePath();
    RequireDisplay(exe);
    static int argc = 1;
    static char* argv[] = {exe.data(), nullptr};
    g_ownedApp = std::make_unique<QApplication>(argc, argv);
  }
  // Closing a window ends nothing by itself: only closing the main form does.
  QApplication::setQuitOnLastWindowClosed(false);
  SubstituteFonts();
  if (QFile::exists(QStringLiteral(":/MAINICON")))
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
  g_preview = std::make_unique<EventPreview>();
  qApp->installEventFilter(g_preview.get());
  // The session ending asks whether the program may end: only the main
  // form's close query runs (it stores the placement), and the answer is yes.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager&) {
    if (TForm* form = Application ? Application->MainForm() : nullptr) {
      bool canClose = true;
      Application->Guard([&] { form->OnCloseQuery(form, canClose); });
    }
  });
}

TApplication::~TApplication() {
  // Forms go while the QApplication that their windows need still exists.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  if (g_preview) {
    if (qApp) qApp->removeEventFilter(g_preview.get());
    g_preview.reset();
  }
  if (Application == this) Application = nullptr;
  g_ownedApp.reset();
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const std::string& title) {
  m_title = title;
}

void TApplication::SetIcon(const std::string& resourceName) {
  const QString path = QStringLiteral(":/") + qt::ToQString(resourceName);
  if (QFile::exists(path)) QApplication::setWindowIcon(QIcon(path));
}

void TApplication::Run() {
  TForm* mainForm = MainForm();
  if (!mainForm || m_terminated) return;
  mainForm->Show();
  // A quit asked for before the loop runs would be lost by exec().
  if (m_terminated) return;
  g_running = true;
  QApplication::exec();
  g_running = false;
}

void TApplication::Terminate() {
  m_terminated = true;
  // Outside Run there is no loop to end, and an exit() asked for then would
  // make the next event loop (a message box's) return at once.
  if (g_running) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace backend {

int MessageBox(TForm* owner, const std::string& text, const std::string& caption, unsigned flags) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (flags & kIconMask) {
    case MB_ICONERROR:
      icon = QMessageBox::Critical;
      break;
    case kIconQuestion:
      icon = QMessageBox::Question;
      break;
    case kIconWarning:
      icon = QMessageBox::Warning;
      break;
    case kIconInfo:
      icon = QMessageBox::Information;
      break;
    default:
      break;
  }
  QMessageBox box(icon, qt::ToQString(caption), qt::ToQString(text), QMessageBox::Ok,
                  owner ? qt::WidgetOf(owner) : nullptr);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return IDOK;
}

bool ShellOpen(TForm*, const std::string& path) {
  // Never through a shell: the path is one argument, whatever it holds.
  return QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{qt::ToQString(path)});
}

std::string ClipboardText() {
  return qt::ToStdString(QGuiApplication::clipboard()->text());
}

std::string ExeName() {
  return qt::ToStdString(QCoreApplication::applicationFilePath());
}

TPoint ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return TPoint{};
  return TPoint{screen->size().width(), screen->size().height()};
}

}  // namespace backend
}  // namespace talvor::platform
