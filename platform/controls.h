// The controls of our class library: what the forms place and talk to.
//
// Each control holds one private struct of native state (Impl), defined by
// exactly one backend. Text is UTF-8 everywhere in this contract. Positions
// and sizes are pixels at 96 dpi, relative to the parent's client area.
// Behaviour that is not a toolkit call (list moves, line insertion, the drag
// tracker, shortcut lookup) is implemented once, in platform/*.cpp.
#pragma once

#include <memory>
#include <string>

#include "platform/classes.h"

namespace talvor::platform {

class TForm;

enum class TAlign { alNone, alClient, alRight };
enum class TCursor { crDefault, crArrow };
enum class TAlignment { taLeftJustify, taCenter };

class TControl : public TComponent {
 public:
  ~TControl() override;

  TControl* Parent() const { return m_parent; }
  TForm* ParentForm() const;  // the form this control sits on (itself for a form)

  // Bounds relative to the parent's client area; for a form, its outer
  // bounds on the screen, frame included.
  virtual void SetBounds(int left, int top, int width, int height);
  virtual TRect Bounds() const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const { return Bounds().width; }
  int Height() const { return Bounds().height; }
  int ClientWidth() const;
  int ClientHeight() const;

  void SetAlign(TAlign align);
  TAlign Align() const { return m_align; }

  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;

  void SetHint(const std::string& hint);
  const std::string& Hint() const { return m_hint; }
  void SetShowHint(bool show);
  bool ShowHint() const { return m_showHint; }

  void SetFont(const TFontSpec& font);
  const TFontSpec& Font() const { return m_font; }
  void SetCursor(TCursor cursor);
  void SetParentColor(bool parentColor);

  // Focus order among the siblings; -1 for a control that takes no focus.
  void SetTabOrder(int order);
  int TabOrder() const { return m_tabOrder; }
  virtual bool CanFocus() const;
  void SetFocus();
  bool Focused() const;

  TPoint ScreenToClient(TPoint screen) const;
  TPoint ClientToScreen(TPoint client) const;

  struct Impl;
  Impl* NativeImpl() const { return m_impl.get(); }

 protected:
  TControl(TComponent* owner, TControl* parent);
  std::unique_ptr<Impl> m_impl;

 private:
  TControl* m_parent;
  TAlign m_align = TAlign::alNone;
  std::string m_hint;
  bool m_showHint = false;
  TFontSpec m_font;
  int m_tabOrder = -1;
};

class TPanel : public TControl {
 public:
  TPanel(TComponent* owner, TControl* parent);
};

class TLabel : public TControl {
 public:
  TLabel(TComponent* owner, TControl* parent);
  void SetCaption(const std::string& caption);
  std::string Caption() const;
  void SetAlignment(TAlignment alignment);
};

enum class TBevelShape { bsBox, bsTopLine };
class TBevel : public TControl {
 public:
  TBevel(TComponent* owner, TControl* parent);
  void SetShape(TBevelShape shape);  // always lowered
};

// A picture from the program's resources, by name ("MAINICON").
class TImage : public TControl {
 public:
  TImage(TComponent* owner, TControl* parent);
  void SetPicture(const std::string& resourceName);
};

class TButton : public TControl {
 public:
  TButton(TComponent* owner, TControl* parent);
  void SetCaption(const std::string& caption);  // "&" marks the access key
  std::string Caption() const;
  bool Default = false;  // Enter on a control that does not take Enter presses it
  bool Cancel = false;   // Esc anywhere on the form presses it
  void Click();          // as a press of the button: runs OnClick
  TNotifyEvent OnClick = [](TObject*) {};
};

// A flat tool button with a 17x16 glyph from the resources; takes no focus.
class TSpeedButton : public TControl {
 public:
  TSpeedButton(TComponent* owner, TControl* parent);
  void SetGlyph(const std::string& resourceName);
  bool CanFocus() const override { return false; }
  void Click();
  TNotifyEvent OnClick = [](TObject*) {};
};

// A single-line edit. The program uses it read-only, as a result field.
class TEdit : public TControl {
 public:
  TEdit(TComponent* owner, TControl* parent);
  void SetText(const std::string& text);
  std::string Text() const;
  void SetReadOnly(bool readOnly);
  void SelectAll();
  std::string SelText() const;
  void CopyToClipboard();  // the selection, as the control's own copy does
  TNotifyEvent OnDblClick = [](TObject*) {};
};

// The sheet: a plain-text multi-line editor without wrapping, both scroll
// bars, Tab typing a tab. Character positions are the control's own units;
// callers only hand them back to the control.
class TRichEdit : public TControl {
 public:
  TRichEdit(TComponent* owner, TControl* parent);

  // The line list.
  int LineCount() const;
  std::string Line(int index) const;
  void ClearLines();                                    // the text becomes empty
  void InsertLine(int index, const std::string& text);  // throws Exception when refused
  std::string Text() const;                             // lines joined by "\n"
  void SetText(const std::string& text);

  // Selection and positions (EM_GETSEL, EM_SETSEL, EM_LINEFROMCHAR,
  // EM_LINEINDEX, EM_REPLACESEL).
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int end);  // a position past the end stands for the end
  int LineFromChar(int position) const;
  int LineIndex(int line) const;  // -1 when there is no such line
  int TextLength() const;         // the position of the end of the text
  void ReplaceSel(const std::string& text);

  // Every typed character passes through WindowProc as WM_CHAR before the
  // control acts on it. A handler that replaces WindowProc keeps the old
  // value and passes on what it does not handle; the initial value is the
  // control's own handling (for a carriage return: a line break at the
  // selection). Enter, keypad Enter, Shift+Enter and Ctrl+M all type a
  // carriage return (13); only the first three are key code 13 in OnKeyDown.
  TWndMethod WindowProc;
  TKeyEvent OnKeyDown = [](TObject*, Word&, TShiftState) {};

  bool WantReturns() const { return true; }
};

// A single-selection, unsorted list of text items.
class TListBox : public TControl {
 public:
  TListBox(TComponent* owner, TControl* parent);

  int Count() const;
  std::string Item(int index) const;
  void Add(const std::string& text);
  void Insert(int index, const std::string& text);  // -1 appends
  void Delete(int index);
  void Clear();
  void Move(int from, int to);   // delete + insert (-1 appends); nothing when equal
  int ItemIndex() const;         // -1 when none is selected
  void SetItemIndex(int index);  // -1 selects none; the selected index again does nothing
  // The item whose rectangle holds the client point, searched from the
  // topmost visible one; -1 outside the client area or below the last item.
  int ItemAtPos(TPoint client) const;
  void SetItemHeight(int height);
  int ItemHeight() const;

  // Automatic drag mode: a left press selects and arms, 5 pixels of movement
  // start the drag, a release drops on the list under the pointer.
  bool DragAutomatic = false;
  TDragOverEvent OnDragOver;  // empty: the list refuses drops
  TDragDropEvent OnDragDrop = [](TObject*, TObject*, int, int) {};
};

}  // namespace talvor::platform
