// TEdit over QLineEdit.
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

class LineEdit : public QLineEdit {
 public:
  LineEdit(TEdit* edit, QWidget* parent) : QLineEdit(parent), m_edit(edit) {}

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    // The line edit selects a word first, so that a handler that selects
    // everything has the last word.
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    TEdit* edit = m_edit;
    Application->Guard([edit] { edit->OnDblClick(edit); });
  }

 private:
  TEdit* m_edit;
};

QLineEdit* LineEditOf(const TControl::Impl* impl) {
  return static_cast<QLineEdit*>(impl->widget.data());
}

}  // namespace

TEdit::TEdit(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  m_impl = std::make_unique<Impl>(this, new LineEdit(this, qt::WidgetOf(parent)));
}

void TEdit::SetText(const std::string& text) {
  QLineEdit* edit = LineEditOf(m_impl.get());
  edit->setText(qt::ToQString(text));
  // Show the start of the text, as a result field does, not its end.
  edit->setCursorPosition(0);
}

std::string TEdit::Text() const {
  return qt::ToStdString(LineEditOf(m_impl.get())->text());
}

void TEdit::SetReadOnly(bool readOnly) {
  LineEditOf(m_impl.get())->setReadOnly(readOnly);
}

void TEdit::SelectAll() {
  LineEditOf(m_impl.get())->selectAll();
}

std::string TEdit::SelText() const {
  return qt::ToStdString(LineEditOf(m_impl.get())->selectedText());
}

void TEdit::CopyToClipboard() {
  LineEditOf(m_impl.get())->copy();
}

}  // namespace talvor::platform
