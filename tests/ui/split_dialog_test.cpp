// The split dialog opened from a real main window, driven with the mouse.
#include "platform/text.h"
#include "tests/ui/ui_fixture.h"
#include "ui/split/timesep.h"

namespace talvor::ui::testing {
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
constexpr TPoint kBelowItems{30, 95};

class SplitDialog : public UiTest {
 protected:
  // Opens the split over the sheet and runs fn while it is shown.
  void OpenSplit(const std::string& sheet, const std::function<void(TfrmTCalc*)>& fn) {
    if (!frmMain) Start();
    SetSheet(sheet);
    bool ran = false;
    OnNextModal([&](TForm* form) {
      ran = true;
      auto* dialog = dynamic_cast<TfrmTCalc*>(form);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog, frmTCalc);
      EXPECT_TRUE(drive::InputDisabled(frmMain));
      fn(dialog);
    });
    drive::Click(frmMain->SpeedButton2, {11, 11});
    EXPECT_TRUE(ran);
  }

  static void Drag(TListBox* from, TPoint start, TListBox* to, TPoint end) {
    drive::MousePress(from, start);
    drive::MouseMove(from, {start.x, start.y + 5});
    drive::MouseMove(to, end);
    drive::MouseRelease(to, end);
    drive::ProcessEvents();
  }

  static std::vector<std::string> Totals(const TfrmTCalc* d) {
    return {d->edtRst1->Text(), d->edtRst1a->Text(), d->edtRst2->Text(), d->edtRst2a->Text()};
  }
};

const std::string kFour = "1:00\n2:00\n3:00\n4:00";

TEST_F(SplitDialog, FillsSideAWithEveryUsableLineInSheetOrder) {
  OpenSplit("1:00\n\nabc\n:30\n0:45\nEXIT", [&](TfrmTCalc* d) {
    EXPECT_EQ(d->Caption(), "時間振り分け");
    EXPECT_EQ(ItemsOf(d->ListBox1), (Items{"[01] 1:00", "[02] abc", "[03] 0:45", "[04] EXIT"}));
    EXPECT_EQ(d->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(d->ListBox2->Count(), 0);
    EXPECT_EQ(d->ListBox2->ItemIndex(), -1);
    EXPECT_EQ(Totals(d), (Items{" 105", " 1:45", " 0", " 0:00"}));
    EXPECT_EQ(d->edtRst1->Hint(), "結果(秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
    EXPECT_EQ(d->edtRst2a->Hint(), "結果(分：秒)\nﾀﾞﾌﾞﾙｸﾘｯｸでｺﾋﾟｰ");
  });
  // EXIT is an ordinary entry here: the main window stays open.
  EXPECT_TRUE(frmMain->Showing());
}

TEST_F(SplitDialog, NumbersGrowPast99AndLongLinesStayWhole) {
  std::string sheet;
  for (int i = 0; i < 100; ++i) sheet += "1\n";
  const std::string longLine = "7 " + std::string(300, 'x');
  sheet += longLine;
  OpenSplit(sheet, [&](TfrmTCalc* d) {
    ASSERT_EQ(d->ListBox1->Count(), 101);
    EXPECT_EQ(d->ListBox1->Item(9), "[10] 1");
    EXPECT_EQ(d->ListBox1->Item(99), "[100] 1");
    EXPECT_EQ(d->ListBox1->Item(100), "[101] " + longLine);
    EXPECT_EQ(d->edtRst1->Text(), " 107");
  });
}

struct MoveRow {
  const char* name;
  bool toSideB;
  int from;
  int onto;  // -1: below the last item
  Items sideA;
  Items sideB;
  int selectedA, selectedB;
};

void PrintTo(const MoveRow& row, std::ostream* os) {
  *os << row.name;
}

class SplitMoves : public SplitDialog, public ::testing::WithParamInterface<MoveRow> {};

TEST_P(SplitMoves, DragMovesOneEntryAndRecomputesBothSides) {
  const MoveRow& row = GetParam();
  OpenSplit(kFour, [&](TfrmTCalc* d) {
    TListBox* target = row.toSideB ? d->ListBox2 : d->ListBox1;
    Drag(d->ListBox1, ItemPoint(row.from), target,
         row.onto < 0 ? kBelowItems : ItemPoint(row.onto));
    EXPECT_EQ(ItemsOf(d->ListBox1), row.sideA);
    EXPECT_EQ(ItemsOf(d->ListBox2), row.sideB);
    EXPECT_EQ(d->ListBox1->ItemIndex(), row.selectedA);
    EXPECT_EQ(d->ListBox2->ItemIndex(), row.selectedB);
    int a = 0, b = 0;
    for (const auto& item : row.sideA) a += 60 * (item[5] - '0');
    for (const auto& item : row.sideB) b += 60 * (item[5] - '0');
    EXPECT_EQ(d->edtRst1->Text(), " " + std::to_string(a));
    EXPECT_EQ(d->edtRst2->Text(), " " + std::to_string(b));
  });
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitMoves,
    ::testing::Values(MoveRow{"DownOntoAnother",
                              false,
                              0,
                              2,
                              {"[02] 2:00", "[03] 3:00", "[01] 1:00", "[04] 4:00"},
                              {},
                              2,
                              -1},
                      MoveRow{"UpOntoAnother",
                              false,
                              3,
                              1,
                              {"[01] 1:00", "[04] 4:00", "[02] 2:00", "[03] 3:00"},
                              {},
                              1,
                              -1},
                      MoveRow{"BelowTheLast",
                              false,
                              1,
                              -1,
                              {"[01] 1:00", "[03] 3:00", "[04] 4:00", "[02] 2:00"},
                              {},
                              -1,
                              -1},
                      MoveRow{"OntoItself",
                              false,
                              1,
                              1,
                              {"[01] 1:00", "[02] 2:00", "[03] 3:00", "[04] 4:00"},
                              {},
                              1,
                              -1},
                      MoveRow{"AcrossToEmptySide",
                              true,
                              1,
                              -1,
                              {"[01] 1:00", "[03] 3:00", "[04] 4:00"},
                              {"[02] 2:00"},
                              1,
                              0},
                      MoveRow{"AcrossFromTheLast",
                              true,
                              3,
                              -1,
                              {"[01] 1:00", "[02] 2:00", "[03] 3:00"},
                              {"[04] 4:00"},
                              2,
                              0}));

TEST_F(SplitDialog, MovingTheOnlyItemEmptiesItsSide) {
  OpenSplit("1:00", [&](TfrmTCalc* d) {
    Drag(d->ListBox1, ItemPoint(0), d->ListBox2, ItemPoint(0));
    EXPECT_EQ(d->ListBox1->Count(), 0);
    EXPECT_EQ(d->ListBox1->ItemIndex(), -1);
    EXPECT_EQ(ItemsOf(d->ListBox2), (Items{"[01] 1:00"}));
    EXPECT_EQ(d->ListBox2->ItemIndex(), 0);
    EXPECT_EQ(Totals(d), (Items{" 0", " 0:00", " 60", " 1:00"}));
    // Dragging from the now empty side moves nothing.
    Drag(d->ListBox1, ItemPoint(0), d->ListBox2, kBelowItems);
    EXPECT_EQ(ItemsOf(d->ListBox2), (Items{"[01] 1:00"}));
  });
}

TEST_F(SplitDialog, DropOntoTheSecondItemOfTheOtherSideInsertsThere) {
  OpenSplit(kFour, [&](TfrmTCalc* d) {
    Drag(d->ListBox1, ItemPoint(0), d->ListBox2, kBelowItems);
    Drag(d->ListBox1, ItemPoint(0), d->ListBox2, kBelowItems);
    ASSERT_EQ(ItemsOf(d->ListBox2), (Items{"[01] 1:00", "[02] 2:00"}));
    Drag(d->ListBox1, ItemPoint(0), d->ListBox2, ItemPoint(1));
    EXPECT_EQ(ItemsOf(d->ListBox2), (Items{"[01] 1:00", "[03] 3:00", "[02] 2:00"}));
    EXPECT_EQ(d->ListBox2->ItemIndex(), 1);
    EXPECT_EQ(ItemsOf(d->ListBox1), (Items{"[04] 4:00"}));
    EXPECT_EQ(d->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(Totals(d), (Items{" 240", " 4:00", " 360", " 6:00"}));
  });
}

TEST_F(SplitDialog, FourPixelsIsAClickAndFiveADrag) {
  OpenSplit("1:00\n2:00", [&](TfrmTCalc* d) {
    // Below the last item a drop sends the entry to the end and leaves no selection.
    drive::MousePress(d->ListBox1, {30, 20});
    drive::MouseMove(d->ListBox1, {34, 24});
    drive::MouseRelease(d->ListBox1, {34, 24});
    drive::ProcessEvents();
    EXPECT_EQ(d->ListBox1->ItemIndex(), 1);  // a click: selected, nothing dropped

    drive::MousePress(d->ListBox1, {30, 20});
    drive::MouseMove(d->ListBox1, {30, 25});
    drive::MouseRelease(d->ListBox1, {30, 25});
    drive::ProcessEvents();
    EXPECT_EQ(d->ListBox1->ItemIndex(), -1);  // a drag dropped below the last item

    drive::MousePress(d->ListBox1, {30, 6});
    drive::MouseMove(d->ListBox1, {35, 6});
    drive::MouseRelease(d->ListBox1, {35, 30});
    drive::ProcessEvents();
    EXPECT_EQ(ItemsOf(d->ListBox1), (Items{"[02] 2:00", "[01] 1:00"}));
  });
}

TEST_F(SplitDialog, DropOutsideBothListsDoesNothing) {
  OpenSplit(kFour, [&](TfrmTCalc* d) {
    drive::MousePress(d->ListBox1, ItemPoint(0));
    drive::MouseMove(d->ListBox1, {30, 40});
    drive::MouseMove(d->ListBox1, {300, 60});  // over the totals
    drive::MouseRelease(d->ListBox1, {300, 60});
    drive::ProcessEvents();
    EXPECT_EQ(d->ListBox1->Count(), 4);
    EXPECT_EQ(d->ListBox2->Count(), 0);
  });
}

TEST_F(SplitDialog, NegativeTotalsAndErrorSides) {
  OpenSplit("-90\n1:00", [&](TfrmTCalc* d) {
    EXPECT_EQ(Totals(d), (Items{"-30", "-0:30", " 0", " 0:00"}));
    Drag(d->ListBox1, ItemPoint(1), d->ListBox2, kBelowItems);
    EXPECT_EQ(Totals(d), (Items{"-90", "-1:30", " 60", " 1:00"}));
    // An entry that cannot be read turns its side's totals into Error.
    d->ListBox2->Add("[09] :30");
    Drag(d->ListBox1, ItemPoint(0), d->ListBox1, ItemPoint(0));
    EXPECT_EQ(Totals(d), (Items{"-90", "-1:30", "Error", "Error"}));
  });
}

TEST_F(SplitDialog, ResetRestoresTheStateRightAfterOpening) {
  OpenSplit(kFour, [&](TfrmTCalc* d) {
    Drag(d->ListBox1, ItemPoint(1), d->ListBox2, kBelowItems);
    Drag(d->ListBox1, ItemPoint(0), d->ListBox1, kBelowItems);
    drive::Click(d->btnReset, {10, 10});
    EXPECT_EQ(ItemsOf(d->ListBox1), (Items{"[01] 1:00", "[02] 2:00", "[03] 3:00", "[04] 4:00"}));
    EXPECT_EQ(d->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(d->ListBox2->Count(), 0);
    EXPECT_EQ(Totals(d), (Items{" 600", " 10:00", " 0", " 0:00"}));
  });
}

TEST_F(SplitDialog, DoubleClickCopiesATotal) {
  OpenSplit("1:00\n0:45", [&](TfrmTCalc* d) {
    drive::DoubleClick(d->edtRst1, {10, 10});
    EXPECT_EQ(drive::ClipboardText(), " 105");
    drive::DoubleClick(d->edtRst2a, {10, 10});
    EXPECT_EQ(drive::ClipboardText(), " 0:00");
  });
}

TEST_F(SplitDialog, EscCloseButtonAndCloseBoxEndTheRun) {
  OpenSplit("1", [&](TfrmTCalc* d) {
    drive::KeyPress(d->ListBox1, VK_ESCAPE);
    EXPECT_FALSE(d->Showing());
    EXPECT_EQ(d->ModalResult, mrCancel);
  });
  OpenSplit("1", [&](TfrmTCalc* d) {
    drive::Click(d->btnClose, {10, 10});
    EXPECT_FALSE(d->Showing());
  });
  OpenSplit("1", [&](TfrmTCalc* d) {
    drive::CloseBox(d);
    EXPECT_FALSE(d->Showing());
    EXPECT_EQ(d->ModalResult, mrCancel);
  });
  EXPECT_TRUE(frmMain->Showing());
}

TEST_F(SplitDialog, EachOpeningStartsAgainFromTheSheet) {
  OpenSplit("1:00\n2:00",
            [&](TfrmTCalc* d) { Drag(d->ListBox1, ItemPoint(0), d->ListBox2, kBelowItems); });
  OpenSplit("1:00\n2:00\n3:00", [&](TfrmTCalc* d) {
    EXPECT_EQ(d->ListBox1->Count(), 3);
    EXPECT_EQ(d->ListBox2->Count(), 0);
  });
}

// The report.

const std::string kTitle = "\x90\x55\x82\xE8\x95\xAA\x82\xAF\x8C\x8B\x89\xCA";  // 振り分け結果
const std::string kRule = "\x81\x50\x81\x50\x81\x50";                           // ￣￣￣
const std::string kTotal = " \x8C\x76 ";                                        // " 計 "

TEST_F(SplitDialog, ShowWritesTheReportAndOpensIt) {
  OpenSplit("1:00\n2:30\n0:45", [&](TfrmTCalc* d) {
    Drag(d->ListBox1, ItemPoint(1), d->ListBox2, kBelowItems);
    drive::Click(d->btnDisp, {10, 10});
    EXPECT_TRUE(d->Showing());
  });
  const std::string expected = kTitle + "\r\n\r\nSide-A\r\n" + kRule +
                               "\r\n [01] 1:00\r\n [03] 0:45\r\n" + "\r\n" + kTotal +
                               "105 (1:45)\r\n\r\n\r\nSide-B\r\n" + kRule +
                               "\r\n [02] 2:30\r\n\r\n" + kTotal + "150 (2:30)\r\n";
  EXPECT_EQ(ReadFile(ReportFile()), expected);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(PathFromText(m_opened[0]), ReportFile());
  EXPECT_TRUE(m_messages.empty());
}

struct ReportRow {
  const char* name;
  std::string sheet;
  std::string sideA;  // the report's Side A part, from its first item line to its total line
};

void PrintTo(const ReportRow& row, std::ostream* os) {
  *os << row.name;
}

class SplitReport : public SplitDialog, public ::testing::WithParamInterface<ReportRow> {};

TEST_P(SplitReport, SideAsWritten) {
  const ReportRow& row = GetParam();
  OpenSplit(row.sheet, [&](TfrmTCalc* d) {
    if (row.sheet == "error") d->ListBox1->Add("[09] :30");
    if (row.sheet == "error") d->UpdateSideTotals(d->ListBox1, d->edtRst1, d->edtRst1a);
    drive::Click(d->btnDisp, {10, 10});
  });
  const std::string expected = kTitle + "\r\n\r\nSide-A\r\n" + kRule + "\r\n" + row.sideA +
                               "\r\n\r\n\r\nSide-B\r\n" + kRule + "\r\n\r\n" + kTotal +
                               "0 (0:00)\r\n";
  EXPECT_EQ(ReadFile(ReportFile()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SplitReport,
    ::testing::Values(
        ReportRow{"Empty", "", "\r\n" + kTotal + "0 (0:00)"},
        ReportRow{"Negative", "-90", " [01] -90\r\n\r\n" + kTotal + "-90 (-1:30)"},
        ReportRow{"Error", "error", " [01] error\r\n [09] :30\r\n\r\n" + kTotal + "Error (Error)"},
        ReportRow{"PercentSignsAreText", "5 %s%n%d",
                  " [01] 5 %s%n%d\r\n\r\n" + kTotal + "5 (0:05)"},
        ReportRow{"Kanji", "表 3:00", " [01] \x95\x5C 3:00\r\n\r\n" + kTotal + "180 (3:00)"}));

TEST_F(SplitDialog, PathsAndLabelsThatLookLikeCodeAreTakenLiterally) {
  // The program stands in a folder whose name a shell or a format would
  // act on; the report goes there and is handed on as that one path.
#ifdef _WIN32
  const fs::path odd = m_dir / "odd 'q' $(touch pwned) %n %s & %PATH% ^";  // no " in Windows names
#else
  const fs::path odd = m_dir / "odd 'q' \"dq\" $(touch pwned) %n %s";
#endif
  fs::create_directories(odd);
  const std::string exe = PathText(odd / "talvor");
  Application->Hooks.exeName = [exe] { return exe; };
  OpenSplit("$(touch pwned2) %n%s 3:00\n`id` 1:00", [&](TfrmTCalc* d) {
    drive::Click(d->btnDisp, {10, 10});
  });
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(PathFromText(m_opened[0]), odd / "tlvortmp.txt");
  const std::string report = ReadFile(odd / "tlvortmp.txt");
  EXPECT_NE(report.find(" [01] $(touch pwned2) %n%s 3:00\r\n [02] `id` 1:00\r\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(m_dir / "pwned"));
  EXPECT_FALSE(fs::exists(odd / "pwned2"));
}

TEST_F(SplitDialog, AReportThatCannotBeCreatedIsAnnouncedAndNotOpened) {
  fs::create_directories(ReportFile());  // its name is taken by a folder
  OpenSplit("1:00", [&](TfrmTCalc* d) {
    drive::Click(d->btnDisp, {10, 10});
    EXPECT_TRUE(d->Showing());
    EXPECT_EQ(d->ListBox1->Count(), 1);
  });
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].text,
            "ﾃﾝﾎﾟﾗﾘﾌｧｲﾙ作成ｴﾗｰ\n振り分け結果を表示している場合は、これを閉じて下さい。");
  EXPECT_EQ(m_messages[0].caption, "TALVOR");
  EXPECT_EQ(m_messages[0].flags, MB_ICONERROR);
  EXPECT_TRUE(m_opened.empty());
}

}  // namespace
}  // namespace talvor::ui::testing
