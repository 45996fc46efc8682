// Control positions: dialog units converted with the dialog font's metrics.
#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include "ConfigDlg.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"

namespace tessel::test {
namespace {

struct Place {
  int id, x, y, w, h;
};

// Positions from the dialog resources (x, y, width, height in dialog units).
const Place kMain[] = {{1000, 62, 12, 165, 14}, {1001, 232, 12, 32, 14}, {1017, 63, 54, 74, 0},
                       {1019, 186, 54, 74, 0},  {1016, 63, 72, 74, 0},   {1021, 186, 71, 74, 0},
                       {1018, 63, 94, 169, 10}, {1020, 63, 108, 169, 10}, {1, 98, 127, 74, 25},
                       {1027, 218, 132, 50, 14}};
const Place kSetup[] = {{1, 120, 137, 75, 22},  {1004, 81, 8, 57, 0},     {1019, 27, 27, 205, 13},
                        {1020, 79, 46, 102, 0}, {1021, 196, 46, 97, 13},  {1022, 79, 46, 102, 0},
                        {1023, 79, 68, 102, 0}, {1016, 79, 90, 102, 0},   {1024, 27, 109, 167, 10},
                        {1025, 27, 123, 174, 10}};
const Place kConfig[] = {{1004, 81, 8, 57, 0},     {1, 186, 231, 89, 26},   {1005, 27, 24, 214, 19},
                         {1006, 27, 47, 214, 33},  {1007, 27, 83, 214, 22}, {1008, 27, 114, 214, 19},
                         {1009, 27, 146, 214, 10}, {1010, 27, 167, 214, 10}, {1011, 27, 185, 214, 21},
                         {1012, 27, 214, 214, 10}, {1013, 250, 28, 197, 16}, {1014, 250, 55, 197, 18}};

// h == 0 marks a drop-down list: its closed height is the style's.
void expectPlaces(const QWidget& dialog, const Place* begin, const Place* end) {
  for (const Place* p = begin; p != end; ++p) {
    QWidget* widget = findControl(&dialog, p->id);
    ASSERT_NE(widget, nullptr) << p->id;
    const QRect expected = expectedRect(dialog.font(), p->x, p->y, p->w, p->h ? p->h : 1);
    const QRect actual = widget->geometry();
    EXPECT_EQ(actual.topLeft(), expected.topLeft()) << p->id;
    EXPECT_EQ(actual.width(), expected.width()) << p->id;
    if (p->h) {
      EXPECT_EQ(actual.height(), expected.height()) << p->id;
    } else {
      EXPECT_NE(qobject_cast<QComboBox*>(widget), nullptr) << p->id;
    }
  }
}

template <std::size_t N>
void expectPlaces(const QWidget& dialog, const Place (&table)[N]) {
  expectPlaces(dialog, table, table + N);
}

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

TEST(Layout, ControlsAndDialogSizesFollowTheDialogUnits) {
  CTesselDlg main;
  expectPlaces(main, kMain);
  EXPECT_EQ(main.size(), expectedRect(main.font(), 0, 0, 275, 159).size());
  expectPlaces(main.setupDialog(), kSetup);
  EXPECT_EQ(main.setupDialog().size(), expectedRect(main.setupDialog().font(), 0, 0, 316, 166).size());
  expectPlaces(main.configDialog(), kConfig);
  EXPECT_EQ(main.configDialog().size(),
            expectedRect(main.configDialog().font(), 0, 0, 462, 265).size());
}

TEST(Layout, PositionsScaleWithTheFont) {
  const QFont original = QApplication::font();
  QRect small, large;
  {
    CTesselDlg main;
    small = findControl(&main, 1)->geometry();
  }
  // A wider UI font: the dialogs keep their point sizes but take its shape.
  QFont wide = original;
  wide.setStretch(QFont::UltraExpanded);
  QApplication::setFont(wide);
  {
    CTesselDlg main;
    EXPECT_EQ(main.font().pointSize(), 9);  // the dialog's own size stays
    large = findControl(&main, 1)->geometry();
    expectPlaces(main, kMain);
    expectPlaces(main.setupDialog(), kSetup);
  }
  QApplication::setFont(original);
  EXPECT_NE(small, large);
}

}  // namespace
}  // namespace tessel::test
