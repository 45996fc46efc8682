// Dialog units from the dialog font's metrics; the dialogs' fonts; the order of the rows.
#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include "ConfigDlg.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"

namespace tessel::test {
namespace {

TEST(Layout, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(DialogUnits::mulDiv(62, 7, 4), 109);   // 108.5
  EXPECT_EQ(DialogUnits::mulDiv(55, 7, 4), 96);    // 96.25
  EXPECT_EQ(DialogUnits::mulDiv(9, 15, 8), 17);    // 16.875
  EXPECT_EQ(DialogUnits::mulDiv(-62, 7, 4), -109);
  EXPECT_EQ(DialogUnits::mulDiv(5, 5, 0), 0);
  const DialogUnits units(6, 13);
  EXPECT_EQ(units.rect(275, 159, 2, 8), QRect(413, 258, 3, 13));
}

TEST(Layout, DialogsUseTheUiFontAtTheirPointSizes) {
  CTesselDlg main;
  EXPECT_EQ(main.font().pointSize(), 9);
  EXPECT_EQ(main.setupDialog().font().pointSize(), 8);
  EXPECT_EQ(main.configDialog().font().pointSize(), 8);
  EXPECT_EQ(main.font().family(), QApplication::font().family());
}

TEST(Layout, TheControlsKeepTheirIdsAndTheRowsTheirOrder) {
  CTesselDlg main;
  main.show();
  QApplication::processEvents();
  // Top to bottom as the dialog resource has them; side by side in a row.
  const auto top = [&](int id) { return findControl(&main, id)->geometry().top(); };
  const auto left = [&](int id) { return findControl(&main, id)->geometry().left(); };
  EXPECT_LT(top(1000), top(1017));
  EXPECT_EQ(top(1017), top(1019));
  EXPECT_LT(top(1017), top(1016));
  EXPECT_EQ(top(1016), top(1021));
  EXPECT_LT(top(1016), top(1018));
  EXPECT_LT(top(1018), top(1));
  EXPECT_LT(left(1000), left(1001));
  EXPECT_LT(left(1017), left(1019));
  EXPECT_LT(left(1), left(1027));
}

}  // namespace
}  // namespace tessel::test
