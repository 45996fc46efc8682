// Dialog units from the dialog font's metrics; the dialogs' fonts; Tab in reading order.
#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include "CardDlg.h"
#include "ConfigDlg.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"
#include "util/Paths.h"

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

// `a` comes before `b` when one reads the dialog: rows top to bottom, and
// within a row (the two overlap vertically) left to right.
bool readsBefore(const QWidget* a, const QWidget* b) {
  const QRect ra = a->geometry(), rb = b->geometry();
  const bool sameRow = ra.top() <= rb.bottom() && rb.top() <= ra.bottom();
  return sameRow ? ra.left() < rb.left() : ra.top() < rb.top();
}

// The controls Tab reaches in `dialog`, from the first, in the order it
// reaches them.
std::vector<QWidget*> tabChain(QWidget& dialog) {
  std::vector<QWidget*> chain;
  QWidget* w = &dialog;
  for (int steps = 0; steps < 200; ++steps) {
    w = w->nextInFocusChain();
    if (w == &dialog) break;
    if (w->window() == &dialog && w->isVisible() && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus)) {
      chain.push_back(w);
    }
  }
  return chain;
}

// Tab walks the main and the card dialog in reading order, and the controls
// a user starts with are there, visible and enabled. (The parameter dialogs
// go otherwise: OK first, then the registers column by column.)
TEST(Layout, TabFollowsTheReadingOrderAndTheFirstControlsAreUsable) {
  CTesselDlg main;
  CCardDlg card(fs::path("/output"), &main);
  for (QDialog* dialog : std::initializer_list<QDialog*>{&main, &card}) {
    dialog->show();
    QApplication::processEvents();
    const std::vector<QWidget*> chain = tabChain(*dialog);
    EXPECT_GE(chain.size(), 2u) << dialog->metaObject()->className();
    for (std::size_t i = 1; i < chain.size(); ++i) {
      EXPECT_FALSE(readsBefore(chain[i], chain[i - 1]))
          << dialog->metaObject()->className() << ": Tab goes from control "
          << chain[i - 1]->property(kControlIdProperty).toInt() << " back to control "
          << chain[i]->property(kControlIdProperty).toInt();
    }
    dialog->hide();
  }
  main.show();
  QApplication::processEvents();
  for (const int id : {CTesselDlg::kIdSourceFolder, CTesselDlg::kIdBrowse, CTesselDlg::kIdStart,
                       CTesselDlg::kIdHelp, CTesselDlg::kIdPictureFormat}) {
    QWidget* w = control<QWidget>(&main, id);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible() && w->isEnabled()) << id;
  }
}

}  // namespace
}  // namespace tessel::test
