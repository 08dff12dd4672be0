// List and sheet operations built on the backend's primitives.
#include "platform/controls.h"

namespace talvor::platform {

void TListBox::Add(const std::string& text) {
  Insert(-1, text);
}

void TListBox::Move(int from, int to) {
  if (from == to) return;
  const std::string text = Item(from);
  Delete(from);
  Insert(to, text);
}

void TRichEdit::InsertLine(int index, const std::string& text) {
  // As the rich edit's line list does it: the caret to the first character
  // of the line, and a line break typed there.
  const int lines = LineCount();
  if (index < 0 || index > lines) throw Exception("RichEdit での行の挿入ｴﾗｰ");
  if (index == lines && lines > 0) {
    const int end = TextLength();
    SetSel(end, end);
    ReplaceSel("\n" + text);
    return;
  }
  const int at = LineIndex(index);
  if (at < 0) throw Exception("RichEdit での行の挿入ｴﾗｰ");
  SetSel(at, at);
  ReplaceSel(text + "\n");
}

}  // namespace talvor::platform
