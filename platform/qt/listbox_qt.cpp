// TListBox over QListWidget, and the mouse feed of the drag tracker.
//
// Qt's own drag and drop is not used: a press on a list's viewport goes to
// the shared DragTracker, which selects, arms and decides between a click
// and a drop; moves and the release follow it wherever the pointer goes.
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "platform/drag.h"
#include "platform/qt/qt_private.h"

namespace talvor::platform {
namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  int height = 0;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (height > 0) size.setHeight(height);
    return size;
  }
};

struct ListImpl : TControl::Impl {
  ListImpl(TControl* control, QListWidget* list, FixedHeightDelegate* delegate)
      : Impl(control, list), delegate(delegate) {}
  QWidget* Client() const override { return List()->viewport(); }
  QListWidget* List() const { return static_cast<QListWidget*>(widget.data()); }
  FixedHeightDelegate* delegate;
};

const ListImpl* ListOf(const TControl::Impl* impl) {
  return static_cast<const ListImpl*>(impl);
}

[[noreturn]] void ThrowIndexError(int index) {
  throw Exception("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

TListBox* ListOfViewport(QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  auto* list = qobject_cast<QListWidget*>(widget->parentWidget());
  if (!list || list->viewport() != widget) return nullptr;
  return dynamic_cast<TListBox*>(qt::ControlOf(list));
}

TPoint ScreenPoint(const QMouseEvent* event) {
  const QPoint p = event->globalPosition().toPoint();
  return TPoint{p.x(), p.y()};
}

bool g_dragCursor = false;

void ShowDragCursor(TPoint screen) {
  bool accept = false;
  try {
    accept = TheDragTracker().WouldAccept(screen);
  } catch (...) {
    accept = false;  // the pointer's shape is no reason to report an error
  }
  const QCursor cursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
  if (g_dragCursor) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    g_dragCursor = true;
  }
}

void EndDrag() {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (g_dragCursor) {
    QApplication::restoreOverrideCursor();
    g_dragCursor = false;
  }
}

}  // namespace

namespace qt {

bool FeedDragTracker(QObject* receiver, QEvent* event) {
  // Widgets only: their window passes each event on to them.
  if (!receiver->isWidgetType()) return false;
  DragTracker& tracker = TheDragTracker();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      TListBox* list = ListOfViewport(receiver);
      if (!list || mouse->button() != Qt::LeftButton) return false;
      // The item view's own handling would move the selection with the pointer.
      mouse->accept();
      QListWidget* widget = ListOf(list->NativeImpl())->List();
      if (widget->focusPolicy() != Qt::NoFocus) widget->setFocus(Qt::MouseFocusReason);
      const QPoint client = mouse->position().toPoint();
      Application->Guard([&] {
        tracker.Press(list, TPoint{client.x(), client.y()}, ScreenPoint(mouse));
      });
      if (tracker.Source() == list) widget->viewport()->grabMouse();
      return true;
    }
    case QEvent::MouseMove: {
      if (!tracker.Armed()) return false;
      auto* mouse = static_cast<QMouseEvent*>(event);
      mouse->accept();
      const TPoint screen = ScreenPoint(mouse);
      Application->Guard([&] { tracker.Move(screen); });
      if (tracker.Dragging()) ShowDragCursor(screen);
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      if (!tracker.Armed()) return ListOfViewport(receiver) != nullptr;
      mouse->accept();
      EndDrag();
      const TPoint screen = ScreenPoint(mouse);
      Application->Guard([&] { tracker.Release(screen); });
      return true;
    }
    case QEvent::KeyPress:
      if (tracker.Armed() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        tracker.Cancel();
        EndDrag();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void CancelDrag(const TForm& form) {
  DragTracker& tracker = TheDragTracker();
  if (!tracker.Source() || tracker.Source()->ParentForm() != &form) return;
  tracker.Cancel();
  EndDrag();
}

}  // namespace qt

TListBox::TListBox(TComponent* owner, TControl* parent) : TControl(owner, parent) {
  auto* list = new QListWidget(qt::WidgetOf(parent));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSortingEnabled(false);
  list->setDragEnabled(false);
  list->setDragDropMode(QAbstractItemView::NoDragDrop);
  list->setUniformItemSizes(true);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* delegate = new FixedHeightDelegate(list);
  list->setItemDelegate(delegate);
  m_impl = std::make_unique<ListImpl>(this, list, delegate);
}

int TListBox::Count() const {
  return ListOf(m_impl.get())->List()->count();
}

std::string TListBox::Item(int index) const {
  const QListWidgetItem* item = ListOf(m_impl.get())->List()->item(index);
  if (!item) ThrowIndexError(index);
  return qt::ToStdString(item->text());
}

void TListBox::Insert(int index, const std::string& text) {
  QListWidget* list = ListOf(m_impl.get())->List();
  if (index < -1 || index > list->count()) ThrowIndexError(index);
  list->insertItem(index < 0 ? list->count() : index, qt::ToQString(text));
}

void TListBox::Delete(int index) {
  QListWidget* list = ListOf(m_impl.get())->List();
  if (index < 0 || index >= list->count()) ThrowIndexError(index);
  const bool wasSelected = ItemIndex() == index;
  delete list->takeItem(index);
  // A list box keeps no selection when the selected item goes; the item view
  // would select a neighbour.
  if (wasSelected) SetItemIndex(-1);
}

void TListBox::Clear() {
  ListOf(m_impl.get())->List()->clear();
}

int TListBox::ItemIndex() const {
  const QListWidget* list = ListOf(m_impl.get())->List();
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void TListBox::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  QListWidget* list = ListOf(m_impl.get())->List();
  if (index < 0 || index >= list->count()) {
    list->clearSelection();
    list->setCurrentIndex(QModelIndex());
    return;
  }
  list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

int TListBox::ItemAtPos(TPoint client) const {
  const QListWidget* list = ListOf(m_impl.get())->List();
  const QPoint point(client.x, client.y);
  if (!list->viewport()->rect().contains(point)) return -1;
  const QModelIndex index = list->indexAt(point);
  return index.isValid() ? index.row() : -1;
}

void TListBox::SetItemHeight(int height) {
  const ListImpl* impl = ListOf(m_impl.get());
  impl->delegate->height = height;
  impl->List()->doItemsLayout();
}

int TListBox::ItemHeight() const {
  const ListImpl* impl = ListOf(m_impl.get());
  if (impl->delegate->height > 0) return impl->delegate->height;
  return impl->List()->fontMetrics().height();
}

}  // namespace talvor::platform
