// TButton over QPushButton, TSpeedButton over QToolButton.
#include <QFile>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>

#include "platform/qt/qt_private.h"

namespace talvor::platform {

TButton::TButton(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* button = new QPushButton(qt::WidgetOf(parent));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] { Click(); });
  m_impl = std::make_unique<Impl>(this, button);
}

void TButton::SetCaption(const std::string& caption) {
  static_cast<QPushButton*>(m_impl->widget.data())->setText(qt::ToQString(caption));
}

std::string TButton::Caption() const {
  return qt::ToStdString(static_cast<QPushButton*>(m_impl->widget.data())->text());
}

TSpeedButton::TSpeedButton(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* button = new QToolButton(qt::WidgetOf(parent));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setIconSize(QSize(17, 16));
  QObject::connect(button, &QToolButton::clicked, button, [this] { Click(); });
  m_impl = std::make_unique<Impl>(this, button);
}

void TSpeedButton::SetGlyph(const std::string& resourceName) {
  const QString path = QStringLiteral(":/") + qt::ToQString(resourceName);
  auto* button = static_cast<QToolButton*>(m_impl->widget.data());
  if (QFile::exists(path))
    button->setIcon(QIcon(path));
  else
    button->setText(qt::ToQString(resourceName));  // still usable without its picture
}

}  // namespace talvor::platform
