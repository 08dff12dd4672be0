// The Qt 6 Widgets backend of the class library, private to platform/qt/.
//
// Implements, over Qt Widgets:
//   - TControl and every control of platform/controls.h (one widget each,
//     its native state in TControl::Impl);
//   - TForm (a top-level QWidget: outer bounds, modal runs, close queries,
//     border styles, minimum tracking size, tab order, alignment);
//   - TApplication (QApplication, key preview, the list-box drag feed, font
//     substitution, the program icon) and the services of platform/backend.h;
//   - platform/testing.h over Qt Test (in the separate talvor_platform_testing).
// Nothing outside platform/qt/ includes this header: no Qt type leaves the
// backend.
#pragma once

#include <QFont>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/forms.h"

namespace talvor::platform {

// The native state of one control: its widget, and what the control's kind
// needs beside it. A control's widget is deleted with the control; QPointer
// notices a widget that Qt deleted first (with its parent).
struct TControl::Impl {
  Impl(TControl* control, QWidget* widget);
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  virtual ~Impl();

  // The widget whose coordinates are the control's client coordinates.
  virtual QWidget* Client() const { return widget; }

  TControl* control;
  QPointer<QWidget> widget;
  Qt::FocusPolicy focusPolicy;  // the widget's own policy, for a tab order >= 0
};

namespace qt {

QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);

// A control's widget; null for a null control.
QWidget* WidgetOf(const TControl* control);
// The control that a widget belongs to (a list's viewport belongs to the list).
TControl* ControlOf(const QWidget* widget);
// The form whose window this widget is, or lies in.
TForm* FormOf(const QWidget* widget);

// Windows virtual-key code of a Qt key; 0 for a key without one.
Word VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
TShiftState ShiftState(Qt::KeyboardModifiers modifiers);

QFont MakeFont(const TFontSpec& wanted);

// The frame around a form's client area: the window system's once the form
// has been shown, else the last frame seen on any form.
QMargins FrameMargins(const TForm& form);

// Called when a control's widget changes its size or place in its form.
void Realign(TControl* control);

// Focus chain of a form from the controls' tab orders; called before each show.
void ApplyTabOrder(TForm& form);

// The drag tracker's mouse feed; false when the event is none of its business.
bool FeedDragTracker(QObject* receiver, QEvent* event);
// Ends a drag from this form's lists, if one is under way: the form is going.
void CancelDrag(const TForm& form);

}  // namespace qt
}  // namespace talvor::platform
