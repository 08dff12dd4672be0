#include "platform/drag.h"

#include <cstdlib>

#include "platform/forms.h"

namespace talvor::platform {

DragTracker& TheDragTracker() {
  static DragTracker tracker;
  return tracker;
}

void DragTracker::Press(TListBox* source, TPoint client, TPoint screen) {
  const int item = source->ItemAtPos(client);
  if (item >= 0) source->SetItemIndex(item);
  if (!source->DragAutomatic) return;
  m_source = source;
  m_start = screen;
  m_dragging = false;
  m_over = nullptr;
}

TListBox* DragTracker::TargetAt(TPoint screen, TPoint& client) const {
  if (!m_source) return nullptr;
  TForm* form = m_source->ParentForm();
  auto* list = form ? dynamic_cast<TListBox*>(form->ControlAtScreen(screen)) : nullptr;
  if (!list || !list->OnDragOver) return nullptr;
  client = list->ScreenToClient(screen);
  return list;
}

void DragTracker::Move(TPoint screen) {
  if (!m_source) return;
  if (!m_dragging) {
    if (std::abs(screen.x - m_start.x) < kDragThreshold &&
        std::abs(screen.y - m_start.y) < kDragThreshold)
      return;
    m_dragging = true;
  }
  TPoint client;
  TListBox* over = TargetAt(screen, client);
  if (m_over && m_over != over) {
    bool accept = false;
    TListBox* left = m_over;
    Application->Guard([&] {
      left->OnDragOver(left, m_source, client.x, client.y, TDragState::dsDragLeave, accept);
    });
  }
  if (over) {
    bool accept = false;
    const TDragState state = over == m_over ? TDragState::dsDragMove : TDragState::dsDragEnter;
    Application->Guard(
        [&] { over->OnDragOver(over, m_source, client.x, client.y, state, accept); });
  }
  m_over = over;
}

bool DragTracker::WouldAccept(TPoint screen) const {
  TPoint client;
  TListBox* over = TargetAt(screen, client);
  if (!over || !m_dragging) return false;
  bool accept = false;
  over->OnDragOver(over, m_source, client.x, client.y, TDragState::dsDragMove, accept);
  return accept;
}

void DragTracker::Release(TPoint screen) {
  if (!m_source) return;
  TListBox* source = m_source;
  const bool dragging = m_dragging;
  Cancel();
  if (!dragging) return;  // a plain click: it selected on the press, and drops nothing
  TPoint client;
  m_source = source;  // TargetAt looks up the source's form
  TListBox* target = TargetAt(screen, client);
  m_source = nullptr;
  if (!target) return;
  bool accept = false;
  Application->Guard([&] {
    target->OnDragOver(target, source, client.x, client.y, TDragState::dsDragMove, accept);
  });
  if (!accept) return;
  Application->Guard([&] { target->OnDragDrop(target, source, client.x, client.y); });
}

void DragTracker::Cancel() {
  m_source = nullptr;
  m_dragging = false;
  m_over = nullptr;
}

}  // namespace talvor::platform
