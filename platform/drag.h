// Automatic drag mode of list boxes, toolkit-free: backends feed it raw
// mouse events and it decides what is a click and what is a drop.
//
// A left press on a list selects the item under the pointer and arms a drag;
// the drag starts once the pointer has moved 5 pixels or more either way with
// the button held; a release before that is a plain click. While dragging,
// the list under the pointer is asked through its OnDragOver; a release over
// an accepting list runs its OnDragDrop with the source list and the point in
// the receiving list's client coordinates. Controls without OnDragOver refuse.
#pragma once

#include "platform/controls.h"

namespace talvor::platform {

inline constexpr int kDragThreshold = 5;

class DragTracker {
 public:
  // screen: the pointer in screen coordinates. The backend grabs the mouse
  // for the list on a press and releases the grab on Release or Cancel.
  void Press(TListBox* source, TPoint client, TPoint screen);
  void Move(TPoint screen);
  void Release(TPoint screen);
  void Cancel();

  bool Armed() const { return m_source != nullptr; }
  bool Dragging() const { return m_dragging; }
  TListBox* Source() const { return m_source; }
  // Whether a drop at this point would be accepted (for the pointer shape).
  bool WouldAccept(TPoint screen) const;

 private:
  TListBox* TargetAt(TPoint screen, TPoint& client) const;

  TListBox* m_source = nullptr;
  TPoint m_start;
  bool m_dragging = false;
  TListBox* m_over = nullptr;
};

// One tracker per process: only one mouse button is ever held.
DragTracker& TheDragTracker();

}  // namespace talvor::platform
