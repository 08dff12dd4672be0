#include "tests/ui/ui_fixture.h"
#include "ui/about/about.h"

namespace talvor::ui::testing {
namespace {

class AboutDialog : public UiTest {
 protected:
  void OpenAbout(const std::function<void(TfrmAbout*)>& fn) {
    if (!frmMain) Start();
    bool ran = false;
    OnNextModal([&](TForm* form) {
      ran = true;
      auto* dialog = dynamic_cast<TfrmAbout*>(form);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog, frmAbout);
      fn(dialog);
    });
    drive::Click(frmMain->SpeedButton1, {11, 11});
    EXPECT_TRUE(ran);
  }
};

TEST_F(AboutDialog, ShowsNameVersionAndFocusOnOk) {
  OpenAbout([](TfrmAbout* d) {
    EXPECT_EQ(d->Caption(), "TALVORについて");
    EXPECT_EQ(d->Label1->Caption(), "簡単加算電卓 TALVOR V1.01");
    EXPECT_EQ(d->ClientWidth(), 276);
    EXPECT_EQ(d->ClientHeight(), 130);
    EXPECT_TRUE(d->Button1->Focused());
  });
}

TEST_F(AboutDialog, EscDoesNothingEnterClosesWithCancel) {
  OpenAbout([](TfrmAbout* d) {
    drive::KeyPress(d->Button1, VK_ESCAPE);
    EXPECT_TRUE(d->Showing());
    drive::KeyPress(d->Button1, VK_RETURN);
    EXPECT_FALSE(d->Showing());
    EXPECT_EQ(d->ModalResult, mrCancel);
  });
}

TEST_F(AboutDialog, CloseBoxEndsTheRunLikeOk) {
  OpenAbout([](TfrmAbout* d) {
    drive::CloseBox(d);
    EXPECT_FALSE(d->Showing());
    EXPECT_EQ(d->ModalResult, mrCancel);
  });
  OpenAbout([](TfrmAbout* d) {
    drive::Click(d->Button1, {10, 10});
    EXPECT_FALSE(d->Showing());
  });
  EXPECT_EQ(frmAbout, nullptr);
  EXPECT_TRUE(frmMain->Showing());
}

}  // namespace
}  // namespace talvor::ui::testing
