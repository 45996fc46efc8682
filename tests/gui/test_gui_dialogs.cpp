// The parameter confirmation dialog, the configuration dialog and the card dialog.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "CardDlg.h"
#include "ConfigDlg.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "model/OutputLayout.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel::test {
namespace {

const QStringList kBauds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};

class SetupDialog : public ::testing::Test {
 protected:
  CSetupDlg dialog;
  QComboBox* list(int id) { return control<QComboBox>(&dialog, id); }
  QCheckBox* box(int id) { return control<QCheckBox>(&dialog, id); }
  void open(const SetupValues& values) {
    dialog.setValues(values);
    dialog.show();
  }
};

TEST_F(SetupDialog, CaptionListsAndDefaults) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("确定参数，如果不正确请手动修改！"));
  EXPECT_EQ(itemsOf(list(1004)), kBauds);
  EXPECT_EQ(itemsOf(list(1020)), QStringList({"按下(0x73)", "按下(0x73)+松开(0x72)"}));
  EXPECT_EQ(itemsOf(list(1022)), QStringList({"松开(0x78)", "按下(0x79)+松开(0x78)"}));
  EXPECT_EQ(itemsOf(list(1023)), QStringList({"不响", "按压任意位置", "仅按压触摸有效区域"}));
  EXPECT_EQ(itemsOf(list(1016)),
            QStringList({"不旋转", "顺时钟90度", "顺时钟180度", "顺时钟270度"}));
  for (int id : {1004, 1016, 1020, 1022, 1023}) EXPECT_FALSE(list(id)->isEditable()) << id;
  EXPECT_EQ(control<QPushButton>(&dialog, 1)->text(), QStringLiteral("确定"));
  EXPECT_TRUE(control<QPushButton>(&dialog, 1)->isDefault());

  open(SetupValues{});
  EXPECT_EQ(list(1004)->currentText(), "9600");
  EXPECT_FALSE(box(1019)->isChecked());
  EXPECT_TRUE(list(1020)->isVisible());
  EXPECT_FALSE(list(1022)->isVisible());
  EXPECT_TRUE(box(1024)->isChecked());
  EXPECT_FALSE(box(1025)->isVisible());
}

TEST_F(SetupDialog, ValuesSetBeforeOpeningAppearInTheControls) {
  SetupValues values;
  values.baudIndex = 5;
  values.useTouchFile = true;
  values.touchFileNotify = 1;
  values.coordinateNotify = 0;
  values.touchBeep = 2;
  values.screenRotation = 2;
  values.restoreTextBackground = false;
  open(values);
  EXPECT_EQ(list(1016)->currentText(), QStringLiteral("顺时钟180度"));
  EXPECT_EQ(list(1004)->currentText(), "38400");
  EXPECT_EQ(list(1023)->currentText(), QStringLiteral("仅按压触摸有效区域"));
  EXPECT_EQ(list(1022)->currentIndex(), 1);
  EXPECT_EQ(list(1020)->currentIndex(), 0);
  EXPECT_TRUE(box(1019)->isChecked());
  EXPECT_FALSE(box(1024)->isChecked());
  // useTouchFile on: 1022 stands where 1020 was.
  EXPECT_TRUE(list(1022)->isVisible());
  EXPECT_FALSE(list(1020)->isVisible());
}

TEST_F(SetupDialog, TouchFileBoxSwapsTheNotificationLists) {
  open(SetupValues{});
  const QPoint place = list(1020)->pos();
  QTest::mouseClick(box(1019), Qt::LeftButton);
  EXPECT_TRUE(list(1022)->isVisible());
  EXPECT_FALSE(list(1020)->isVisible());
  QApplication::processEvents();
  EXPECT_EQ(list(1022)->pos(), place);  // in the other's place
  QTest::mouseClick(box(1019), Qt::LeftButton);
  EXPECT_TRUE(list(1020)->isVisible());
  EXPECT_FALSE(list(1022)->isVisible());
}

TEST_F(SetupDialog, LongPressSelectsTheSecondItemOfBothListsAndUntickingKeepsThem) {
  open(SetupValues{});
  list(1023)->setCurrentIndex(1);
  QTest::mouseClick(box(1021), Qt::LeftButton);
  EXPECT_TRUE(box(1021)->isChecked());
  EXPECT_EQ(list(1020)->currentIndex(), 1);
  EXPECT_EQ(list(1022)->currentIndex(), 1);
  EXPECT_EQ(list(1023)->currentIndex(), 1);  // the others untouched

  list(1020)->setCurrentIndex(0);
  QTest::mouseClick(box(1021), Qt::LeftButton);
  EXPECT_FALSE(box(1021)->isChecked());
  EXPECT_EQ(list(1020)->currentIndex(), 0);
  EXPECT_EQ(list(1022)->currentIndex(), 1);

  dialog.accept();
  EXPECT_FALSE(dialog.values().longPressNotify);
  EXPECT_EQ(dialog.values().coordinateNotify, 0);
  EXPECT_EQ(dialog.values().touchFileNotify, 1);
}

TEST_F(SetupDialog, HiddenDelayedRefreshKeepsTheValueTheReaderSet) {
  for (bool delayed : {true, false}) {
    SetupValues values;
    values.delayedRefresh = delayed;
    open(values);
    EXPECT_FALSE(box(1025)->isVisible());
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().delayedRefresh, delayed);
  }
}

TEST_F(SetupDialog, OkMovesTheControlsIntoTheValues) {
  open(SetupValues{});
  list(1004)->setCurrentIndex(7);
  list(1016)->setCurrentIndex(3);
  QTest::mouseClick(box(1019), Qt::LeftButton);
  list(1022)->setCurrentIndex(1);
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  SetupValues expected;
  expected.baudIndex = 7;
  expected.screenRotation = 3;
  expected.useTouchFile = true;
  expected.touchFileNotify = 1;
  EXPECT_EQ(dialog.values(), expected);
}

TEST_F(SetupDialog, EscapeLeavesTheValuesAsTheyWereEvenAfterClicks) {
  SetupValues values;
  values.screenRotation = 1;
  open(values);
  list(1016)->setCurrentIndex(3);
  QTest::mouseClick(box(1019), Qt::LeftButton);  // moves controls into values
  QTest::mouseClick(box(1021), Qt::LeftButton);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.values(), values);
}

TEST_F(SetupDialog, BaudIndexOutsideTheListKeepsOkDisabledUntilARateIsChosen) {
  for (int bad : {8, -1, 1000}) {
    SetupValues values;
    values.baudIndex = bad;
    open(values);
    auto* ok = control<QPushButton>(&dialog, 1);
    EXPECT_EQ(list(1004)->currentIndex(), -1) << bad;
    EXPECT_EQ(dialog.values().baudIndex, -1) << bad;
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Return);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()) << "OK without a rate must be refused";

    list(1004)->setCurrentIndex(2);
    EXPECT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.values().baudIndex, 2);
  }
}

// --- CConfigDlg ------------------------------------------------------------

class ConfigDialog : public ::testing::Test {
 protected:
  CConfigDlg dialog;
  QCheckBox* box(int id) { return control<QCheckBox>(&dialog, id); }
  void pressOk() { QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton); }
};

TEST_F(ConfigDialog, CaptionAndDefaults) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("配置参数"));
  dialog.show();
  auto* baud = control<QComboBox>(&dialog, 1004);
  EXPECT_EQ(itemsOf(baud), kBauds);
  EXPECT_EQ(baud->currentText(), "115200");
  const bool ticked[10] = {true, true, false, false, true, false, false, false, true, true};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(box(1005 + i)->isChecked(), ticked[i]) << 1005 + i;
  EXPECT_EQ(box(1006)->text(),
            QStringLiteral("点击触摸屏，自动上传0x73/0x79指令\n勾上时以100毫秒的间隔定时上传，"
                           "直到松开;\n未勾时仅在按下时上传一次。"));
  EXPECT_EQ(box(1014)->text(), QStringLiteral("0 显示偏转180度(反视角显示) \n1 正常视角显示"));
}

TEST_F(ConfigDialog, OkComputesBothRegisters) {
  dialog.show();
  pressOk();
  EXPECT_EQ(dialog.para1(), 0x00);
  EXPECT_EQ(dialog.para2(), 0xFF);

  dialog.show();
  for (int id = 1005; id <= 1014; ++id) box(id)->setChecked(false);
  pressOk();
  EXPECT_EQ(dialog.para1(), 0xC8);
  EXPECT_EQ(dialog.para2(), 0x9F);

  dialog.show();
  for (int id = 1005; id <= 1014; ++id) box(id)->setChecked(true);
  control<QComboBox>(&dialog, 1004)->setCurrentIndex(4);
  pressOk();
  EXPECT_EQ(dialog.para1(), 0x37);
  EXPECT_EQ(dialog.para2(), 0xFF);
  EXPECT_EQ(dialog.baudIndex, 4);
}

TEST_F(ConfigDialog, EscapeLeavesTheValues) {
  dialog.show();
  for (int id = 1005; id <= 1014; ++id) box(id)->setChecked(false);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.checks[0], 1);
  EXPECT_EQ(dialog.baudIndex, 7);
}

// The card dialog asks before it replaces a private/ holding files no run
// writes, and says the card may be removed only once the copy was verified.
TEST(CardDialog, AsksAboutForeignFilesAndSaysSafeToRemoveOnlyAfterTheReadBack) {
  TempDir dir;
  const OutputLayout output(dir / "out");
  writeText(output.configText(), "R1=07;");
  writeText(output.marker(), "");
  writeText(dir / "card" / "private" / "notes.txt", "the user's");
  CCardDlg dialog(output.root());
  QStringList asked;
  bool answer = false;
  dialog.setQuestion([&](QWidget*, const QString&, const QString& text) {
    asked << text;
    return answer;
  });
  dialog.setTarget(dir / "card");
  dialog.show();
  const auto write = [&] {
    QTest::mouseClick(control<QPushButton>(&dialog, CCardDlg::kIdCardWrite), Qt::LeftButton);
    dialog.waitForCopy();
    return control<QLabel>(&dialog, CCardDlg::kIdCardStatus)->text();
  };
  QString status = write();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("notes.txt")));
  EXPECT_EQ(dialog.lastResult()->outcome, card::CardOutcome::Refused);
  EXPECT_FALSE(status.contains(QStringLiteral("安全移除")));
  EXPECT_TRUE(fs::exists(dir / "card" / "private" / "notes.txt"));
  answer = true;
  status = write();
  EXPECT_EQ(dialog.lastResult()->outcome, card::CardOutcome::Verified);
  EXPECT_TRUE(status.contains(QStringLiteral("现在可以安全移除SD卡"))) << status.toStdString();
  EXPECT_EQ(readText(dir / "card" / "private" / "config.txt"), "R1=07;");
  EXPECT_FALSE(fs::exists(dir / "card" / "private" / "notes.txt"));
}

}  // namespace
}  // namespace tessel::test
