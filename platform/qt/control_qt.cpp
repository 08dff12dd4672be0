// TControl over QWidget, and the controls that are only a look: panel,
// label, bevel and image.
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVariant>

#include "platform/align.h"
#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

constexpr const char* kControlProperty = "talvorControl";

QColor ToQColor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// Plain text shows its line feeds as line breaks; text that Qt would take
// for markup is escaped so that it shows as typed.
QString ToolTipText(const std::string& hint) {
  const QString text = qt::ToQString(hint);
  if (!Qt::mightBeRichText(text)) return text;
  return QStringLiteral("<p style='white-space:pre'>") +
         text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
         QStringLiteral("</p>");
}

// A lowered bevel, drawn as the layouts expect it: a one-pixel box with the
// shadow at the top and left, or only the top line.
class BevelWidget : public QWidget {
 public:
  explicit BevelWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }
  TBevelShape shape = TBevelShape::bsBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int right = width() - 1;
    const int bottom = height() - 1;
    if (shape == TBevelShape::bsTopLine) {
      painter.setPen(shadow);
      painter.drawLine(0, 0, right, 0);
      painter.setPen(light);
      painter.drawLine(0, 1, right, 1);
      return;
    }
    painter.setPen(shadow);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
    painter.setPen(light);
    painter.drawLine(0, bottom, right, bottom);
    painter.drawLine(right, 0, right, bottom);
  }
};

}  // namespace

namespace qt {

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStdString(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QWidget* WidgetOf(const TControl* control) {
  if (!control || !control->NativeImpl()) return nullptr;
  return control->NativeImpl()->widget;
}

TControl* ControlOf(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant value = w->property(kControlProperty);
    if (value.isValid()) return reinterpret_cast<TControl*>(value.value<quintptr>());
    if (w->isWindow()) break;
  }
  return nullptr;
}

TForm* FormOf(const QWidget* widget) {
  if (!widget) return nullptr;
  return dynamic_cast<TForm*>(ControlOf(widget->window()));
}

TShiftState ShiftState(Qt::KeyboardModifiers modifiers) {
  return TShiftState{(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0,
                     (modifiers & Qt::AltModifier) != 0};
}

QFont MakeFont(const TFontSpec& wanted) {
  QFont font(ToQString(wanted.name));
  const int pixels = wanted.height < 0 ? -wanted.height : wanted.height;
  if (pixels > 0) font.setPixelSize(pixels);
  return font;
}

void Realign(TControl* control) {
  if (TForm* form = control->ParentForm()) AlignControls(*form);
}

}  // namespace qt

TControl::Impl::Impl(TControl* owner, QWidget* w)
    : control(owner), widget(w), focusPolicy(w->focusPolicy()) {
  w->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(owner)));
  // A child is shown with its window unless it is hidden on purpose.
  if (!w->isWindow()) w->show();
}

TControl::Impl::~Impl() {
  if (widget) delete widget.data();
}

TControl::TControl(TComponent* owner, TControl* parent) : TComponent(owner), m_parent(parent) {}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
  m_impl->widget->setGeometry(left, top, std::max(0, width), std::max(0, height));
  qt::Realign(this);
}

TRect TControl::Bounds() const {
  const QRect r = m_impl->widget->geometry();
  return TRect{r.x(), r.y(), r.width(), r.height()};
}

int TControl::ClientWidth() const {
  return m_impl->Client()->width();
}

int TControl::ClientHeight() const {
  return m_impl->Client()->height();
}

void TControl::SetAlign(TAlign align) {
  m_align = align;
  qt::Realign(this);
}

void TControl::SetVisible(bool visible) {
  if (auto* form = dynamic_cast<TForm*>(this)) {
    if (visible)
      form->Show();
    else
      m_impl->widget->hide();
    return;
  }
  m_impl->widget->setVisible(visible);
  qt::Realign(this);
}

bool TControl::Visible() const {
  return !m_impl->widget->isHidden();
}

void TControl::SetEnabled(bool enabled) {
  m_impl->widget->setEnabled(enabled);
}

bool TControl::Enabled() const {
  return m_impl->widget->isEnabled();
}

void TControl::SetHint(const std::string& hint) {
  m_hint = hint;
  m_impl->widget->setToolTip(m_showHint ? ToolTipText(m_hint) : QString());
}

void TControl::SetShowHint(bool show) {
  m_showHint = show;
  m_impl->widget->setToolTip(m_showHint ? ToolTipText(m_hint) : QString());
}

void TControl::SetFont(const TFontSpec& font) {
  m_font = font;
  QWidget* w = m_impl->widget;
  w->setFont(qt::MakeFont(font));
  QPalette palette = w->palette();
  const QColor color = ToQColor(font.color);
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::Text, color);
  palette.setColor(QPalette::ButtonText, color);
  w->setPalette(palette);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == TCursor::crArrow)
    m_impl->widget->setCursor(Qt::ArrowCursor);
  else
    m_impl->widget->unsetCursor();
}

void TControl::SetParentColor(bool parentColor) {
  QWidget* w = m_impl->widget;
  QPalette palette = w->palette();
  const QWidget* parent = w->parentWidget();
  const QPalette& source = parentColor && parent ? parent->palette() : QPalette();
  // Edits paint their face with Base: the parent's face makes them read like labels.
  palette.setColor(QPalette::Base,
                   parentColor ? source.color(QPalette::Window) : source.color(QPalette::Base));
  w->setPalette(palette);
}

void TControl::SetTabOrder(int order) {
  m_tabOrder = order;
  m_impl->widget->setFocusPolicy(order < 0 ? Qt::NoFocus : m_impl->focusPolicy);
}

bool TControl::CanFocus() const {
  const QWidget* w = m_impl->widget;
  return w->focusPolicy() != Qt::NoFocus && w->isEnabled() && w->window()->isVisible() &&
         w->isVisibleTo(w->window());
}

void TControl::SetFocus() {
  QWidget* w = m_impl->widget;
  if (w->isWindow())
    w->activateWindow();
  else
    w->setFocus(Qt::OtherFocusReason);
}

bool TControl::Focused() const {
  const QWidget* w = m_impl->widget;
  if (w->isWindow()) return w->isActiveWindow();
  return w->window()->focusWidget() == w;
}

TPoint TControl::ScreenToClient(TPoint screen) const {
  const QPoint p = m_impl->Client()->mapFromGlobal(QPoint(screen.x, screen.y));
  return TPoint{p.x(), p.y()};
}

TPoint TControl::ClientToScreen(TPoint client) const {
  const QPoint p = m_impl->Client()->mapToGlobal(QPoint(client.x, client.y));
  return TPoint{p.x(), p.y()};
}

// --- TPanel ---

TPanel::TPanel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* frame = new QFrame(qt::WidgetOf(parent));
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setLineWidth(1);
  frame->setAutoFillBackground(true);
  frame->setFocusPolicy(Qt::NoFocus);
  m_impl = std::make_unique<Impl>(this, frame);
}

// --- TLabel ---

TLabel::TLabel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* label = new QLabel(qt::WidgetOf(parent));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  m_impl = std::make_unique<Impl>(this, label);
}

void TLabel::SetCaption(const std::string& caption) {
  static_cast<QLabel*>(m_impl->widget.data())->setText(qt::ToQString(caption));
}

std::string TLabel::Caption() const {
  return qt::ToStdString(static_cast<QLabel*>(m_impl->widget.data())->text());
}

void TLabel::SetAlignment(TAlignment alignment) {
  static_cast<QLabel*>(m_impl->widget.data())
      ->setAlignment((alignment == TAlignment::taCenter ? Qt::AlignHCenter : Qt::AlignLeft) |
                     Qt::AlignTop);
}

// --- TBevel ---

TBevel::TBevel(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl = std::make_unique<Impl>(this, new BevelWidget(qt::WidgetOf(parent)));
}

void TBevel::SetShape(TBevelShape shape) {
  auto* bevel = static_cast<BevelWidget*>(m_impl->widget.data());
  bevel->shape = shape;
  bevel->update();
}

// --- TImage ---

TImage::TImage(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* label = new QLabel(qt::WidgetOf(parent));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  m_impl = std::make_unique<Impl>(this, label);
}

void TImage::SetPicture(const std::string& resourceName) {
  const QString path = QStringLiteral(":/") + qt::ToQString(resourceName);
  auto* label = static_cast<QLabel*>(m_impl->widget.data());
  // A missing picture leaves the image empty, as the program can run without it.
  if (QFile::exists(path)) label->setPixmap(QPixmap(path));
}

}  // namespace talvor::platform
