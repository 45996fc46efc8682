// The main dialog and the GUI host: defaults, the commands, runs through an
// injected run function and through the real conversion.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include "ConfigDlg.h"
#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel::test {
namespace {

struct Call {
  ConversionSettings settings;
  RunOptions options;
  Session sessionSeen;
};

class MainDialog : public ::testing::Test {
 protected:
  CTesselDlg dialog;
  std::vector<Call> calls;
  std::vector<QString> messages;
  std::vector<QUrl> opened;
  std::function<void(Session&, Host&)> duringRun;
  RunResult resultToGive;

  MainDialog() {
    dialog.setRunFunction([this](const ConversionSettings& settings, const RunOptions& options,
                                 Session& session, Host& host) {
      calls.push_back({settings, options, session});
      if (duringRun) duringRun(session, host);
      return resultToGive;
    });
    dialog.setFolderPicker([](QWidget*, const QString&) { return QString(); });
    dialog.setUrlOpener([this](const QUrl& url) { opened.push_back(url); });
    auto& hooks = dialog.host().hooks();
    hooks.message = [this](QWidget*, const QString&, const QString& text) {
      messages.push_back(text);
    };
    hooks.openUrl = [this](const QUrl& url) { opened.push_back(url); };
    hooks.wait = [](int) {};
    dialog.show();
  }

  QLineEdit* pathBox() { return control<QLineEdit>(&dialog, 1000); }
  QComboBox* list(int id) { return control<QComboBox>(&dialog, id); }
  QCheckBox* box(int id) { return control<QCheckBox>(&dialog, id); }
  void press(int id) { QTest::mouseClick(control<QPushButton>(&dialog, id), Qt::LeftButton); }
};

TEST_F(MainDialog, StartsWithTheDefaults) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tessel V2.3 (TA/TC/DGUS/DGUS2)"));
  EXPECT_TRUE(pathBox()->text().isEmpty());
  EXPECT_EQ(list(1016)->currentText(), QStringLiteral("自动处理"));
  EXPECT_EQ(list(1017)->currentText(), QStringLiteral("BMP位图(无损压缩)"));
  EXPECT_EQ(list(1019)->currentText(), QStringLiteral("中英文"));
  EXPECT_EQ(list(1021)->currentText(), QStringLiteral("矢量字体(抗锯齿)"));
  EXPECT_FALSE(box(1018)->isChecked());
  EXPECT_TRUE(box(1020)->isChecked());
  EXPECT_FALSE(box(1020)->isVisible());

  EXPECT_EQ(itemsOf(list(1016)), QStringList({"自动处理", "不旋转", "顺时钟90度", "顺时钟180度",
                                              "顺时钟270度"}));
  EXPECT_EQ(itemsOf(list(1017)),
            QStringList({"普通JPEG(默认)", "高质量JPEG", "BMP位图(无损压缩)"}));
  EXPECT_EQ(itemsOf(list(1019)), QStringList({"ASCII字符", "中英文", "数码管(正常)",
                                              "数码管(加粗)", "数码管(倾斜)"}));
  EXPECT_EQ(itemsOf(list(1021)), QStringList({"矢量字体(抗锯齿)", "小号字用点阵字体"}));
  for (int id : {1016, 1017, 1019, 1021}) EXPECT_FALSE(list(id)->isEditable()) << id;

  auto* start = control<QPushButton>(&dialog, 1);
  EXPECT_EQ(start->text(), QStringLiteral("开始转换"));
  EXPECT_TRUE(start->isDefault());
  EXPECT_EQ(control<QPushButton>(&dialog, 1001)->text(), QStringLiteral("浏览..."));
  EXPECT_EQ(control<QPushButton>(&dialog, 1027)->text(), QStringLiteral("帮助"));
  EXPECT_FALSE(dialog.configDialog().isVisible());
}

TEST_F(MainDialog, EnterInThePathBoxStartsARunWithTheShownSettings) {
  pathBox()->setFocus();
  QTest::keyClicks(pathBox(), QStringLiteral(" /src/DWIN_SET "));
  QTest::keyClick(pathBox(), Qt::Key_Return);
  ASSERT_EQ(calls.size(), 1u);
  const ConversionSettings& got = calls[0].settings;
  EXPECT_EQ(got.sourceFolder, fs::path(" /src/DWIN_SET "));  // used as typed
  EXPECT_EQ(got.rotationChoice, RotationChoice::Automatic);
  EXPECT_EQ(got.pictureFormat, PictureFormat::Zbmp);
  EXPECT_EQ(got.fontChoice, 1);
  EXPECT_FALSE(got.deRipple);
  EXPECT_TRUE(got.singlePictureFiles);
  EXPECT_EQ(got.fontDisplay, FontDisplay::Vector);
  EXPECT_TRUE(calls[0].options.outputRoot.empty());
  EXPECT_TRUE(calls[0].options.resourceFolder.empty());
  EXPECT_EQ(calls[0].options.jobs, std::max(1, QThread::idealThreadCount()));
  EXPECT_TRUE(dialog.isVisible());  // the dialog stays for the next run
}

TEST_F(MainDialog, BrowsingKeepsAChangedFormat) {
  QString titleSeen;
  dialog.setFolderPicker([&](QWidget* owner, const QString& title) {
    titleSeen = title;
    EXPECT_EQ(owner, &dialog);
    return QStringLiteral("/picked/DWIN_SET");
  });
  list(1017)->setCurrentIndex(0);
  press(1001);
  EXPECT_EQ(titleSeen, QStringLiteral("请选择源目录："));
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/picked/DWIN_SET"));
  EXPECT_EQ(list(1017)->currentIndex(), 0);
  press(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].settings.pictureFormat, PictureFormat::Jpeg);
  EXPECT_EQ(calls[0].settings.sourceFolder, fs::path("/picked/DWIN_SET"));
}

TEST_F(MainDialog, CancelledPickerLeavesATypedPath) {
  int pickerCalls = 0;
  dialog.setFolderPicker([&](QWidget*, const QString&) {
    ++pickerCalls;
    return QString();
  });
  QTest::keyClicks(pathBox(), QStringLiteral("typed"));
  press(1001);
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(pathBox()->text(), QStringLiteral("typed"));
  EXPECT_TRUE(calls.empty());
}

TEST_F(MainDialog, ASecondRunUsesTheSettingsShownAtItsStartAndTheSessionCarriesOver) {
  duringRun = [](Session& session, Host&) {
    session.iconRotation = 3;
    session.setup.baudIndex = 6;
  };
  pathBox()->setText(QStringLiteral("/first"));
  list(1016)->setCurrentIndex(2);
  press(1);
  pathBox()->setText(QStringLiteral("/second"));
  list(1016)->setCurrentIndex(4);
  list(1017)->setCurrentIndex(1);
  list(1019)->setCurrentIndex(3);
  list(1021)->setCurrentIndex(1);
  QTest::mouseClick(box(1018), Qt::LeftButton);
  press(1);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].settings.rotationChoice, RotationChoice::Cw90);
  EXPECT_EQ(calls[0].settings.pictureFormat, PictureFormat::Zbmp);
  const ConversionSettings& second = calls[1].settings;
  EXPECT_EQ(second.sourceFolder, fs::path("/second"));
  EXPECT_EQ(second.rotationChoice, RotationChoice::Cw270);
  EXPECT_EQ(second.pictureFormat, PictureFormat::JpegHigh);
  EXPECT_EQ(second.fontChoice, 3);
  EXPECT_EQ(second.fontDisplay, FontDisplay::Bitmap);
  EXPECT_TRUE(second.deRipple);
  EXPECT_EQ(calls[1].sessionSeen.iconRotation, 3);
  EXPECT_EQ(calls[1].sessionSeen.setup.baudIndex, 6);
}

TEST_F(MainDialog, TakesNoInputWhileARunGoesOn) {
  duringRun = [this](Session&, Host& host) {
    host.progress(1, 2);
    QTest::keyClicks(pathBox(), QStringLiteral("xyz"));
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.running());
  };
  pathBox()->setText(QStringLiteral("/src"));
  press(1);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/src"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.running());
  QTest::keyClicks(pathBox(), QStringLiteral("!"));  // input works again
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/src!"));
}

TEST_F(MainDialog, WriteFailuresAreListedInOneMessage) {
  resultToGive.report.writeFailures = {fs::path("/out/private/image/1.zbmp"),
                                       fs::path("/out/private/config.txt")};
  press(1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("/out/private/image/1.zbmp")));
  EXPECT_TRUE(messages[0].contains(QStringLiteral("/out/private/config.txt")));

  messages.clear();
  resultToGive.report.writeFailures.clear();
  press(1);
  EXPECT_TRUE(messages.empty());  // success shows nothing
}

TEST_F(MainDialog, HelpOpensTheDocumentBesideTheProgram) {
  TempDir folder;
  writeText(folder / "Tessel.pdf", "%PDF-1.4\n");
  setProgramFolder(folder.path());
  press(1027);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(toQString(folder.path() / "Tessel.pdf")));
  setProgramFolder({});
}

TEST_F(MainDialog, EscapeEndsTheDialog) {
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// --- GuiHost with the real boxes and dialog --------------------------------

TEST(GuiHostTest, MessagesAreBoxesWithTheTitleAndOneOkButton) {
  CSetupDlg setup;
  GuiHost host(nullptr, setup, nullptr);
  QString title, text;
  QMessageBox::StandardButtons buttons;
  onNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  host.showMessage(messages::kNoPictures);
  EXPECT_EQ(title, QStringLiteral("Tessel"));
  EXPECT_EQ(text, QStringLiteral("没有找到图片！"));
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(GuiHostTest, ConfirmSetupIsTrueOnlyForOk) {
  CSetupDlg setup;
  GuiHost host(nullptr, setup, nullptr);
  SetupValues values;
  values.screenRotation = 2;

  int shownRotation = -1;
  onNextModal([&](QWidget* modal) {
    shownRotation = control<QComboBox>(modal, 1016)->currentIndex();
    control<QComboBox>(modal, 1004)->setCurrentIndex(0);
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  EXPECT_FALSE(host.confirmSetup(values));
  EXPECT_EQ(shownRotation, 2);
  EXPECT_EQ(values.baudIndex, 3);  // untouched by a cancel

  onNextModal([&](QWidget* modal) {
    control<QComboBox>(modal, 1004)->setCurrentIndex(0);
    QTest::mouseClick(control<QPushButton>(modal, 1), Qt::LeftButton);
  });
  EXPECT_TRUE(host.confirmSetup(values));
  EXPECT_EQ(values.baudIndex, 0);
  EXPECT_EQ(values.screenRotation, 2);
}

TEST(GuiHostTest, BusyShowsTheWaitCursorUntilTheRunEnds) {
  CSetupDlg setup;
  GuiHost host(nullptr, setup, nullptr);
  host.busy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  host.busy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  host.busy(true);
  host.endBusy();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- Real conversions ---------------------------------------------------------

class RealRun : public ::testing::Test {
 protected:
  TempDir source, output;
  CTesselDlg dialog;
  std::vector<QString> messages;
  std::vector<QUrl> opened;
  fs::path marker() const { return output.path() / pathFromUtf8(kMarkerFileName); }

  RealRun() {
    dialog.runOptions().outputRoot = output.path();
    dialog.runOptions().resourceFolder = pathFromUtf8(TESSEL_BIN_DIR);
    auto& hooks = dialog.host().hooks();
    hooks.message = [this](QWidget*, const QString&, const QString& text) {
      messages.push_back(text);
    };
    hooks.openUrl = [this](const QUrl& url) { opened.push_back(url); };
    hooks.wait = [](int) {};
    dialog.show();
  }
  void start(const fs::path& folder) {
    control<QLineEdit>(&dialog, 1000)->setText(toQString(folder));
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
  }
};

TEST_F(RealRun, MissingSourceAndEmptySourceAreRefusedWithTheirMessages) {
  start(source.path() / "missing");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("源路径无效！"));
  start(source.path());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], QStringLiteral("没有找到图片！"));
  EXPECT_FALSE(fs::exists(marker()));
  EXPECT_TRUE(opened.empty());
}

TEST_F(RealRun, CancelledParameterDialogEndsTheRunWithoutMarker) {
  writePicture(source / "1.bmp", 8, 4);
  bool sawDialog = false;
  onNextModal([&](QWidget* modal) {
    sawDialog = modal == &dialog.setupDialog();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  start(source.path());
  EXPECT_TRUE(sawDialog);
  ASSERT_NE(dialog.lastResult(), nullptr);
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::NotConfirmed);
  EXPECT_FALSE(fs::exists(marker()));
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(RealRun, ConfirmedRunsCompleteAndKeepTheConfirmedValues) {
  writePicture(source / "1.bmp", 8, 4);
  onNextModal([&](QWidget* modal) {
    control<QComboBox>(modal, 1016)->setCurrentIndex(1);
    QTest::mouseClick(control<QPushButton>(modal, 1), Qt::LeftButton);
  });
  start(source.path());
  ASSERT_NE(dialog.lastResult(), nullptr);
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::Completed);
  EXPECT_TRUE(fs::exists(marker()));
  EXPECT_TRUE(fs::exists(output.path() / "private" / "image" / "1.zbmp"));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(toQString(output.path())));
  EXPECT_EQ(dialog.session().setup.screenRotation, 1);

  // The next run opens the dialog with the values confirmed before.
  int shown = -1;
  onNextModal([&](QWidget* modal) {
    shown = control<QComboBox>(modal, 1016)->currentIndex();
    QTest::mouseClick(control<QPushButton>(modal, 1), Qt::LeftButton);
  });
  start(source.path());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(opened.size(), 2u);
}

}  // namespace
}  // namespace tessel::test
