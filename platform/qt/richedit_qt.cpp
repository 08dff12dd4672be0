// TRichEdit over QPlainTextEdit: the sheet.
//
// Positions are QTextCursor positions; lines are the document's blocks. A key
// press goes to OnKeyDown first; what it types then passes through
// WindowProc as WM_CHAR, whose initial value types it.
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

// Line breaks in the contract are "\n"; a CR LF or a lone CR is one break.
QString ToSheetText(const std::string& text) {
  QString result = qt::ToQString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

bool TypesCarriageReturn(const QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (modifiers & Qt::AltModifier) return false;  // Alt+key types no character on Windows
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return true;
  return event->key() == Qt::Key_M && (modifiers & Qt::ControlModifier);
}

// Characters that the key types as text: not with Ctrl or Alt alone (those
// are commands), but with both, as AltGr gives them on Windows.
bool TypesText(const QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool alt = event->modifiers() & Qt::AltModifier;
  if (ctrl != alt) return false;
  const QString text = event->text();
  if (text.isEmpty()) return false;
  for (const QChar ch : text)
    if (!ch.isPrint() && ch != QLatin1Char('\t') && !ch.isSurrogate()) return false;
  return true;
}

class SheetEdit : public QPlainTextEdit {
 public:
  SheetEdit(TRichEdit* sheet, QWidget* parent) : QPlainTextEdit(parent), m_sheet(sheet) {}

  // The control's own handling of a window message.
  void DefaultWindowProc(TMessage& message) {
    if (message.Msg != WM_CHAR) return;
    const auto ch = static_cast<char32_t>(message.WParam);
    QTextCursor cursor = textCursor();
    if (ch == 13)
      cursor.insertBlock();
    else
      cursor.insertText(QString::fromUcs4(&ch, 1));
    setTextCursor(cursor);
    ensureCursorVisible();
    message.Result = 0;
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    TRichEdit* sheet = m_sheet;
    Word key = qt::VirtualKey(event->key(), event->modifiers());
    if (key != 0) {
      const TShiftState shift = qt::ShiftState(event->modifiers());
      Application->Guard([&] { sheet->OnKeyDown(sheet, key, shift); });
      if (key == 0) {
        event->accept();
        return;
      }
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        TypesCarriageReturn(event)) {
      // The edit's own Enter handling never runs: a line break comes only from WindowProc.
      event->accept();
      if (TypesCarriageReturn(event)) SendChar(13);
      return;
    }
    if (TypesText(event)) {
      event->accept();
      const QList<uint> chars = event->text().toUcs4();
      for (const uint ch : chars) SendChar(ch);
      return;
    }
    QPlainTextEdit::keyPressEvent(event);
  }

 private:
  void SendChar(uint ch) {
    TRichEdit* sheet = m_sheet;
    TMessage message{WM_CHAR, ch, 0, 0};
    Application->Guard([&] { sheet->WindowProc(message); });
  }

  TRichEdit* m_sheet;
};

SheetEdit* SheetOf(const TControl::Impl* impl) {
  return static_cast<SheetEdit*>(impl->widget.data());
}

}  // namespace

TRichEdit::TRichEdit(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* edit = new SheetEdit(this, qt::WidgetOf(parent));
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setWordWrapMode(QTextOption::NoWrap);
  edit->setTabChangesFocus(false);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  edit->document()->setUndoRedoEnabled(true);
  m_impl = std::make_unique<Impl>(this, edit);
  WindowProc = [edit](TMessage& message) { edit->DefaultWindowProc(message); };
}

int TRichEdit::LineCount() const {
  const QTextDocument* doc = SheetOf(m_impl.get())->document();
  // An empty sheet has no lines, as the rich edit's line list counts them.
  if (doc->characterCount() <= 1) return 0;
  return doc->blockCount();
}

std::string TRichEdit::Line(int index) const {
  const QTextBlock block = SheetOf(m_impl.get())->document()->findBlockByNumber(index);
  if (index < 0 || !block.isValid()) return std::string();
  return qt::ToStdString(block.text());
}

void TRichEdit::ClearLines() {
  SheetOf(m_impl.get())->clear();
}

std::string TRichEdit::Text() const {
  QString text = SheetOf(m_impl.get())->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return qt::ToStdString(text);
}

void TRichEdit::SetText(const std::string& text) {
  SheetOf(m_impl.get())->setPlainText(ToSheetText(text));
}

int TRichEdit::SelStart() const {
  return SheetOf(m_impl.get())->textCursor().selectionStart();
}

int TRichEdit::SelLength() const {
  const QTextCursor cursor = SheetOf(m_impl.get())->textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void TRichEdit::SetSel(int start, int end) {
  SheetEdit* edit = SheetOf(m_impl.get());
  QTextCursor cursor = edit->textCursor();
  if (start < 0) {
    cursor.clearSelection();  // -1 drops the selection and leaves the caret
  } else {
    const int length = TextLength();
    const int anchor = std::min(start, length);
    const int position = end < 0 ? length : std::min(end, length);
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
  }
  edit->setTextCursor(cursor);
}

int TRichEdit::LineFromChar(int position) const {
  const QTextDocument* doc = SheetOf(m_impl.get())->document();
  if (position < 0) position = SelStart();  // -1: the line of the selection's start
  position = std::min(position, doc->characterCount() - 1);
  return doc->findBlock(position).blockNumber();
}

int TRichEdit::LineIndex(int line) const {
  const SheetEdit* edit = SheetOf(m_impl.get());
  if (line < 0) return edit->textCursor().block().position();  // -1: the caret's line
  const QTextBlock block = edit->document()->findBlockByNumber(line);
  return block.isValid() ? block.position() : -1;
}

int TRichEdit::TextLength() const {
  return SheetOf(m_impl.get())->document()->characterCount() - 1;
}

void TRichEdit::ReplaceSel(const std::string& text) {
  SheetEdit* edit = SheetOf(m_impl.get());
  QTextCursor cursor = edit->textCursor();
  cursor.insertText(ToSheetText(text));
  edit->setTextCursor(cursor);
  edit->ensureCursorVisible();
}

}  // namespace talvor::platform
