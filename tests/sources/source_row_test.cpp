// Row controls made below one another: their places, which kind icon each
// row has, and what is shown before a backup runs.
#include "sources/source_row.h"

#include "main_window_fixture.h"

namespace sources {
namespace {

using SourceRowTest = MainWindowTest;

TEST_F(SourceRowTest, OneRowUsesTheDesignedControlsAsTheyStand) {
  AddRow(100);
  ASSERT_EQ(main.rows.count(), 1);
  const SourceRow& row = main.rows[1];
  EXPECT_TRUE(row.imgFolder.visible());
  ASSERT_TRUE(row.imgEmail.exists());
  EXPECT_FALSE(row.imgEmail.visible());
  EXPECT_EQ(row.chkCarpeta.top(), 0);
  EXPECT_EQ(row.chkCarpeta.rect().height, 255);
  EXPECT_FALSE(row.barCopy.visible());
}

TEST_F(SourceRowTest, MailStoreIconsSitTwentyTwipsBelowTheirCheckBoxes) {
  AddRows(8);
  AddRow(100, kMailStoreRow, L"Outlook [Personal Folders]");
  AddRow(100, kMailStoreRow, L"Outlook [Archive]");
  EXPECT_EQ(main.rows[9].chkCarpeta.top(), 2400);
  EXPECT_EQ(main.rows[10].chkCarpeta.top(), 2700);
  EXPECT_EQ(main.rows[9].imgEmail.top(), 2420);
  EXPECT_EQ(main.rows[10].imgEmail.top(), 2720);
  EXPECT_EQ(main.rows[8].imgFolder.top(), 2100);
}

TEST_F(SourceRowTest, EachRowHasExactlyOneKindIcon) {
  AddRow(1);
  AddRow(1);
  AddRow(1, kMailStoreRow);
  EXPECT_TRUE(main.rows[2].imgFolder.exists());
  EXPECT_FALSE(main.rows[2].imgEmail.exists());
  EXPECT_TRUE(main.rows[3].imgEmail.exists());
  EXPECT_FALSE(main.rows[3].imgFolder.exists());
  EXPECT_TRUE(main.rows[3].imgEmail.visible());
}

TEST_F(SourceRowTest, TheNinthRowEndsWhereTheViewEnds) {
  AddRows(9);
  const SourceRow& ninth = main.rows[9];
  EXPECT_EQ(ninth.lblMidaCarpeta.top(), 2400);
  EXPECT_EQ(ninth.barCopy.top(), 2400);
  EXPECT_EQ(ninth.lblMidaCarpeta.top() + ninth.lblMidaCarpeta.height(), 2655);
  EXPECT_EQ(ninth.lblMidaCarpeta.top() + ninth.lblMidaCarpeta.height(), main.pic2.height());
}

TEST_F(SourceRowTest, NewRowsShareRowOnesColumnsAndHideTheirStatus) {
  AddRows(3);
  const SourceRow& first = main.rows[1];
  const SourceRow& third = main.rows[3];
  EXPECT_EQ(third.chkCarpeta.left(), first.chkCarpeta.left());
  EXPECT_EQ(third.chkCarpeta.width(), first.chkCarpeta.width());
  EXPECT_EQ(third.lblMidaCarpeta.left(), first.lblMidaCarpeta.left());
  EXPECT_EQ(third.barCopy.left(), first.barCopy.left());
  EXPECT_EQ(third.barCopy.width(), first.barCopy.width());
  EXPECT_EQ(third.imgOK.left(), first.imgOK.left());
  EXPECT_EQ(third.imgWait.top(), 600);
  EXPECT_EQ(third.imgError.top(), 600);
  EXPECT_TRUE(third.chkCarpeta.visible());
  EXPECT_TRUE(third.lblMidaCarpeta.visible());
  EXPECT_EQ(third.chkCarpeta.value(), 0);
  EXPECT_FALSE(third.chkCarpeta.bold());
  const platform::Control* status[] = {&third.imgWait, &third.imgOK, &third.imgError,
                                       &third.barCopy};
  for (const platform::Control* hidden : status) EXPECT_FALSE(hidden->visible());
}

}  // namespace
}  // namespace sources
