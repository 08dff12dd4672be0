// The list dialog: list operations, the item under a point, automatic drag
// mode through real mouse events, and modal runs.
#include <QWidget>
#include <memory>

#include "platform/backend.h"
#include "platform/drag.h"
#include "platform/qt/qt_private.h"
#include "tests/platform_qt/test_forms.h"

namespace talvor::platform::qt_test {
namespace {

using Items = std::vector<std::string>;

Items ItemsOf(const TListBox* list) {
  Items items;
  for (int i = 0; i < list->Count(); ++i) items.push_back(list->Item(i));
  return items;
}

// The middle of an item's row: items are 12 pixels high.
TPoint ItemPoint(int index) {
  return {30, index * 12 + 6};
}

class ListForm : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    m_form = std::make_unique<TListForm>(Application);
    m_form->Show();
    for (const char* item : {"[01] 1:00", "[02] 2:00", "[03] 3:00", "[04] 4:00"})
      m_form->ListBox1->Add(item);
    drive::ProcessEvents();
  }
  void TearDown() override {
    m_form.reset();
    FormTest::TearDown();
  }

  TListForm& F() { return *m_form; }
  std::unique_ptr<TListForm> m_form;
};

TEST_F(ListForm, InsertDeleteMoveAndClear) {
  TListBox* list = F().ListBox2;
  list->Add("a");
  list->Add("b");
  list->Insert(-1, "c");
  list->Insert(0, "z");
  list->Insert(4, "d");
  EXPECT_EQ(ItemsOf(list), (Items{"z", "a", "b", "c", "d"}));
  list->Delete(0);
  list->Move(0, 2);
  EXPECT_EQ(ItemsOf(list), (Items{"b", "c", "a", "d"}));
  list->Move(1, -1);
  EXPECT_EQ(ItemsOf(list), (Items{"b", "a", "d", "c"}));
  list->Move(2, 2);
  EXPECT_EQ(ItemsOf(list), (Items{"b", "a", "d", "c"}));
  EXPECT_THROW(list->Item(4), Exception);
  EXPECT_THROW(list->Insert(6, "x"), Exception);
  EXPECT_THROW(list->Delete(-1), Exception);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListForm, SelectionFollowsItsItemAndMinusOneSelectsNone) {
  TListBox* list = F().ListBox1;
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(2);
  EXPECT_EQ(list->ItemIndex(), 2);
  list->Delete(0);  // the selected entry moves up with its item
  EXPECT_EQ(list->ItemIndex(), 1);
  list->Insert(0, "[00] 0:00");
  EXPECT_EQ(list->ItemIndex(), 2);
  list->Delete(2);  // the selected item goes, and no other takes its place
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(0);
  list->SetItemIndex(-1);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Move(2, 0);
  list->SetItemIndex(0);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->Item(0), "[04] 4:00");
}

TEST_F(ListForm, ItemAtPosCountsExistingItemsOnly) {
  TListBox* list = F().ListBox1;
  EXPECT_EQ(list->ItemHeight(), 12);
  const struct {
    TPoint point;
    int item;
  } rows[] = {
      {{30, 1}, 0},   {{30, 11}, 0}, {{30, 12}, 1},  {{30, 47}, 3},
      {{30, 48}, -1},  // below the last item
      {{30, 90}, -1}, {{-1, 6}, -1}, {{30, -1}, -1}, {{list->ClientWidth(), 6}, -1},
  };
  for (const auto& row : rows)
    EXPECT_EQ(list->ItemAtPos(row.point), row.item) << row.point.x << "," << row.point.y;
}

TEST_F(ListForm, ItemAtPosCountsFromTheTopmostVisibleItem) {
  TListBox* list = F().ListBox1;
  for (int i = 5; i <= 30; ++i) list->Add("[" + std::to_string(i) + "]");
  list->SetItemIndex(29);  // scrolls the last item into view
  drive::ProcessEvents();
  const int top = list->ItemAtPos({30, 1});
  EXPECT_GT(top, 0);
  EXPECT_EQ(list->ItemAtPos({30, 13}), top + 1);
  EXPECT_EQ(list->ItemAtPos({30, 1 + 12 * (29 - top)}), 29);
}

// --- automatic drag mode, driven with the mouse ---

using ListBoxMouse = ListForm;

TEST_F(ListBoxMouse, FourPixelsIsAClickAndFiveADrag) {
  TListBox* a = F().ListBox1;
  TListBox* b = F().ListBox2;
  drive::MousePress(a, ItemPoint(1));
  EXPECT_EQ(a->ItemIndex(), 1);  // the press selects
  drive::MouseMove(a, {30, ItemPoint(1).y + 4});
  drive::MouseRelease(a, {30, ItemPoint(1).y + 4});
  EXPECT_TRUE(F().drops.empty());
  EXPECT_TRUE(F().overs.empty());
  EXPECT_EQ(a->ItemIndex(), 1);

  drive::MousePress(a, ItemPoint(0));
  drive::MouseMove(a, {30, ItemPoint(0).y + 5});
  drive::MouseMove(b, {40, 20});
  drive::MouseRelease(b, {40, 20});
  EXPECT_EQ(a->ItemIndex(), 0);
  EXPECT_EQ(F().drops, (std::vector<TListForm::Drop>{{b, a, 40, 20}}));
  ASSERT_FALSE(F().overs.empty());
  EXPECT_EQ(F().overs.front().sender, a);  // the drag started over its own list
  EXPECT_EQ(F().overs.front().state, TDragState::dsDragEnter);
  bool enteredB = false;
  for (const auto& over : F().overs)
    if (over.sender == b && over.source == a && over.state == TDragState::dsDragEnter)
      enteredB = true;
  EXPECT_TRUE(enteredB);
  EXPECT_FALSE(TheDragTracker().Armed());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ListBoxMouse, DragWithinOneListDropsOnThePointInThatList) {
  TListBox* a = F().ListBox1;
  drive::MousePress(a, ItemPoint(0));
  drive::MouseMove(a, ItemPoint(1));
  drive::MouseMove(a, ItemPoint(2));
  drive::MouseRelease(a, ItemPoint(2));
  EXPECT_EQ(F().drops, (std::vector<TListForm::Drop>{{a, a, ItemPoint(2).x, ItemPoint(2).y}}));
  EXPECT_EQ(a->ItemAtPos({F().drops[0].x, F().drops[0].y}), 2);
}

TEST_F(ListBoxMouse, ADropOnAControlWithoutDragOverDoesNothing) {
  TListBox* a = F().ListBox1;
  drive::MousePress(a, ItemPoint(0));
  drive::MouseMove(a, {30, 40});
  drive::MouseMove(F().edtRst1, {10, 10});
  drive::MouseRelease(F().edtRst1, {10, 10});
  EXPECT_TRUE(F().drops.empty());
  EXPECT_FALSE(TheDragTracker().Armed());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  // The next press starts afresh.
  drive::Click(a, ItemPoint(3));
  EXPECT_EQ(a->ItemIndex(), 3);
  EXPECT_TRUE(F().drops.empty());
}

TEST_F(ListBoxMouse, ARefusedDropDoesNothing) {
  F().acceptDrops = false;
  drive::MousePress(F().ListBox1, ItemPoint(0));
  drive::MouseMove(F().ListBox1, {30, 30});
  drive::MouseMove(F().ListBox2, {30, 30});
  drive::MouseRelease(F().ListBox2, {30, 30});
  EXPECT_FALSE(F().overs.empty());
  EXPECT_TRUE(F().drops.empty());
}

TEST_F(ListBoxMouse, APressBelowTheItemsSelectsNothingNew) {
  F().ListBox1->SetItemIndex(2);
  drive::Click(F().ListBox1, {30, 80});
  EXPECT_EQ(F().ListBox1->ItemIndex(), 2);
}

// --- modal runs ---

class ListFormModal : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    m_owner = std::make_unique<TSheetForm>(Application);
    m_owner->Show();
    m_dialog = std::make_unique<TListForm>(Application);
  }
  void TearDown() override {
    m_dialog.reset();
    m_owner.reset();
    FormTest::TearDown();
  }
  // Runs fn once the modal loop has started, then the run's result.
  int RunModal(const std::function<void(TForm*)>& fn) {
    int calls = 0;
    Application->Hooks.modalShown = [&](TForm* form) {
      ++calls;
      EXPECT_EQ(form, m_dialog.get());
      EXPECT_TRUE(form->Showing());
      EXPECT_TRUE(drive::InputDisabled(m_owner.get()));
      EXPECT_FALSE(drive::InputDisabled(m_dialog.get()));
      fn(form);
    };
    const int result = m_dialog->ShowModal();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(m_dialog->Showing());
    EXPECT_FALSE(drive::InputDisabled(m_owner.get()));
    return result;
  }

  std::unique_ptr<TSheetForm> m_owner;
  std::unique_ptr<TListForm> m_dialog;
};

TEST_F(ListFormModal, EscPressesTheCancelButtonWhichClosesWithCancel) {
  EXPECT_EQ(RunModal([&](TForm*) { drive::KeyPress(m_dialog->ListBox1, VK_ESCAPE); }), mrCancel);
  EXPECT_EQ(m_dialog->closeQueries, 1);
}

TEST_F(ListFormModal, EnterPressesTheDefaultButton) {
  EXPECT_EQ(RunModal([&](TForm*) {
              m_dialog->ListBox1->SetFocus();
              drive::KeyPress(m_dialog->ListBox1, VK_RETURN);
            }),
            mrOk);
}

TEST_F(ListFormModal, CloseBoxEndsTheRunWithCancelOnceTheQueryAllowsIt) {
  m_dialog->allowClose = false;
  EXPECT_EQ(RunModal([&](TForm* form) {
              drive::CloseBox(m_dialog.get());
              EXPECT_TRUE(form->Showing());
              m_dialog->allowClose = true;
              drive::CloseBox(m_dialog.get());
            }),
            mrCancel);
  EXPECT_EQ(m_dialog->closeQueries, 2);
}

TEST_F(ListFormModal, ShownCentredOnTheScreenAtItsFixedClientSize) {
  RunModal([&](TForm* form) {
    EXPECT_EQ(form->ClientWidth(), 345);
    EXPECT_EQ(form->ClientHeight(), 247);
    const TPoint screen = backend::ScreenSize();
    const TRect bounds = form->Bounds();
    EXPECT_NEAR(bounds.left, (screen.x - bounds.width) / 2, 1);
    EXPECT_NEAR(bounds.top, (screen.y - bounds.height) / 2, 1);
    // Fixed size: the smallest size is the size itself.
    EXPECT_EQ(drive::MinimumTrackSize(m_dialog.get()), (TPoint{bounds.width, bounds.height}));
    form->Close();
  });
}

TEST_F(ListFormModal, TheFirstControlInTabOrderHasTheFocus) {
  RunModal([&](TForm* form) {
    EXPECT_TRUE(m_dialog->ListBox1->Focused());
    EXPECT_EQ(form->ActiveControl(), m_dialog->ListBox1);
    form->Close();
  });
}

TEST_F(ListFormModal, AnotherRunStartsAfresh) {
  EXPECT_EQ(RunModal([](TForm* form) { form->Close(); }), mrCancel);
  EXPECT_EQ(RunModal([&](TForm*) { m_dialog->btnOk->Click(); }), mrOk);
}

}  // namespace
}  // namespace talvor::platform::qt_test
