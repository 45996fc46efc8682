// The main dialog and the GUI host: defaults, the commands, runs through an
// injected run function and through the real conversion.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <tuple>

#include "ConfigDlg.h"
#include "DialogKit.h"
#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "SetupDlg.h"
#include "TesselDlg.h"
#include "support/TestSupport.h"
#include "util/Language.h"
#include "util/Paths.h"

#include <QDir>

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
  std::function<void(Session&, Host&)> duringRun;  // on the run's thread
  RunResult resultToGive;
  bool openWorks = true;

  MainDialog() {
    dialog.setRunFunction([this](const ConversionSettings& settings, const RunOptions& options,
                                 Session& session, Host& host) {
      calls.push_back({settings, options, session});
      if (duringRun) duringRun(session, host);
      return resultToGive;
    });
    dialog.setFolderPicker([](QWidget*, const QString&, const QString&) { return QString(); });
    dialog.setUrlOpener([this](const QUrl& url) {
      opened.push_back(url);
      return openWorks;
    });
    auto& hooks = dialog.host().hooks();
    hooks.message = [this](QWidget*, const QString&, const QString& text) {
      messages.push_back(text);
    };
    hooks.openUrl = [this](const QUrl& url) { opened.push_back(url); };
    hooks.wait = [](int) {};
    dialog.show();
  }

  QProgressBar* progressBar() { return dialog.findChild<QProgressBar*>(); }
  QLineEdit* pathBox() { return control<QLineEdit>(&dialog, 1000); }
  QComboBox* list(int id) { return control<QComboBox>(&dialog, id); }
  QCheckBox* box(int id) { return control<QCheckBox>(&dialog, id); }
  // Clicks a button; a run it starts is waited for.
  void press(int id) {
    QTest::mouseClick(control<QPushButton>(&dialog, id), Qt::LeftButton);
    dialog.waitForRun();
  }
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
  QTest::keyClicks(pathBox(), QStringLiteral(" /src/project "));
  QTest::keyClick(pathBox(), Qt::Key_Return);
  dialog.waitForRun();
  ASSERT_EQ(calls.size(), 1u);
  const ConversionSettings& got = calls[0].settings;
  EXPECT_EQ(got.sourceFolder, fs::path(" /src/project "));  // used as typed
  EXPECT_EQ(got.rotationChoice, RotationChoice::Automatic);
  EXPECT_EQ(got.pictureFormat, PictureFormat::Zbmp);
  EXPECT_EQ(got.fontChoice, 1);
  EXPECT_FALSE(got.deRipple);
  EXPECT_EQ(got.compression, Compression::Default);
  EXPECT_TRUE(calls[0].options.reuse);
  EXPECT_TRUE(got.singlePictureFiles);
  EXPECT_EQ(got.fontDisplay, FontDisplay::Vector);
  EXPECT_TRUE(calls[0].options.outputRoot.empty());
  EXPECT_TRUE(calls[0].options.resourceFolder.empty());
  EXPECT_EQ(calls[0].options.jobs, std::max(1, QThread::idealThreadCount()));
  EXPECT_TRUE(dialog.isVisible());  // the dialog stays for the next run
}

TEST_F(MainDialog, BrowsingKeepsAChangedFormat) {
  QString titleSeen;
  QString startSeen = QStringLiteral("unset");
  dialog.setFolderPicker([&](QWidget* owner, const QString& title, const QString& start) {
    titleSeen = title;
    startSeen = start;
    EXPECT_EQ(owner, &dialog);
    return QStringLiteral("/picked/project");
  });
  list(1017)->setCurrentIndex(0);
  press(1001);
  EXPECT_EQ(titleSeen, QStringLiteral("请选择源目录："));
  EXPECT_TRUE(startSeen.isEmpty());
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/picked/project"));
  EXPECT_EQ(list(1017)->currentIndex(), 0);
  press(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].settings.pictureFormat, PictureFormat::Jpeg);
  EXPECT_EQ(calls[0].settings.sourceFolder, fs::path("/picked/project"));
}

TEST_F(MainDialog, CancelledPickerLeavesATypedPath) {
  int pickerCalls = 0;
  TempDir folder;
  QString startSeen;
  dialog.setFolderPicker([&](QWidget*, const QString&, const QString& start) {
    ++pickerCalls;
    startSeen = start;
    return QString();
  });
  QTest::keyClicks(pathBox(), QStringLiteral("typed"));
  press(1001);
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(pathBox()->text(), QStringLiteral("typed"));
  EXPECT_TRUE(calls.empty());
  // The picker opens at the folder shown (a file in it means the folder).
  writeText(folder / "1.bmp", "x");
  pathBox()->setText(ToQString(folder / "1.bmp"));
  press(1001);
  EXPECT_EQ(startSeen, ToQString(folder.path()));
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
  QTest::mouseClick(box(1036), Qt::LeftButton);
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
  EXPECT_EQ(second.compression, Compression::Smallest);
  EXPECT_EQ(calls[1].sessionSeen.iconRotation, 3);
  EXPECT_EQ(calls[1].sessionSeen.setup.baudIndex, 6);
}

TEST_F(MainDialog, TheWindowLivesWhileARunGoesOnButTakesNoInput) {
  std::atomic<bool> release{false}, inRun{false};
  duringRun = [&](Session&, Host& host) {
    host.progress(1, 2);
    inRun = true;
    while (!release) QThread::msleep(2);
  };
  pathBox()->setText(QStringLiteral("/src"));
  QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
  ASSERT_TRUE(dialog.running());
  // Events posted to the GUI thread are handled while the run goes on.
  bool handled = false;
  QTimer::singleShot(0, &dialog, [&] { handled = true; });
  QTRY_VERIFY_WITH_TIMEOUT(handled && inRun, 5000);
  QTRY_COMPARE_WITH_TIMEOUT(progressBar()->maximum(), 2, 5000);
  EXPECT_TRUE(progressBar()->isVisible());
  // Input goes nowhere: the controls are off, Escape does not end the dialog.
  QTest::keyClicks(pathBox(), QStringLiteral("xyz"));
  QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(control<QPushButton>(&dialog, 1)->isEnabled());
  EXPECT_TRUE(dialog.isVisible());
  release = true;
  dialog.waitForRun();
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/src"));
  EXPECT_FALSE(dialog.running());
  QTest::keyClicks(pathBox(), QStringLiteral("!"));  // input works again
  EXPECT_EQ(pathBox()->text(), QStringLiteral("/src!"));
}

TEST_F(MainDialog, ClosingDuringARunAsksAndStopsIt) {
  std::atomic<bool> started{false};
  dialog.setRunFunction([&](const ConversionSettings&, const RunOptions& options, Session&, Host&) {
    started = true;
    while (!options.stop->load()) QThread::msleep(2);  // a long run, stopping between files
    RunResult r;
    r.outcome = RunOutcome::Stopped;
    return r;
  });
  int asked = 0;
  dialog.host().hooks().ask = [&](QWidget*, const QString&, const QString&) {
    return ++asked == 2;  // "no" the first time, "yes" the second
  };
  QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(started, 5000);
  dialog.close();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.running());
  dialog.close();
  dialog.waitForRun();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_NE(dialog.lastResult(), nullptr);
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::Stopped);
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

TEST_F(MainDialog, TheOutputButtonChoosesWhereTheNextRunsWriteAndEveryStartBeginsWithTheDefault) {
  TempDir chosen;
  const QString chosenText = ToQString(chosen.path());
  QString title;
  dialog.setFolderPicker([&](QWidget*, const QString& caption, const QString&) {
    title = caption;
    return chosenText;
  });
  press(1034);
  EXPECT_EQ(title, QStringLiteral("请选择输出目录："));
  EXPECT_EQ(control<ElidedLabel>(&dialog, 1030)->fullText(), chosenText);
  resultToGive.outcome = RunOutcome::Completed;
  resultToGive.outputRoot = chosen.path();
  duringRun = [](Session&, Host& host) { host.progress(3, 10); };
  press(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].options.outputRoot, chosen.path());
  EXPECT_EQ(progressBar()->text(), QStringLiteral("3/10"));
  EXPECT_TRUE(control<ElidedLabel>(&dialog, 1030)->text().contains(QStringLiteral("<a href")));
  CTesselDlg fresh;
  EXPECT_TRUE(fresh.runOptions().outputRoot.empty());
}

TEST_F(MainDialog, HelpOpensTheDocumentBesideTheProgramOrSaysWhereItIs) {
  TempDir folder;
  writeText(folder / "Tessel.pdf", "%PDF-1.4\n");
  SetProgramFolder(folder.path());
  press(1027);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(ToQString(folder.path() / "Tessel.pdf")));
  EXPECT_TRUE(messages.empty());
  // No viewer: a box names the document.
  openWorks = false;
  press(1027);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains(ToQString(folder.path() / "Tessel.pdf")));
  SetProgramFolder({});
}

// Each language from end to end: the dialogs' captions, the system's
// messages, Qt's own buttons, and the help document of that language.
TEST(Languages, TheDialogsQtsButtonsAndTheHelpSpeakTheLanguageInUse) {
  struct Expected {
    Language language;
    QString start, help, setupTitle, sourceInvalid, yesButton, document;
  };
  const Expected cases[] = {
      {Language::English, "Convert", "Help", "Check the parameters and correct any that are wrong!",
       "Invalid source folder!", "&Yes", "Tessel_en.pdf"},
      {Language::Chinese, "开始转换", "帮助", "确定参数，如果不正确请手动修改！", "源路径无效！",
       "是(&Y)", "Tessel.pdf"},
  };
  TempDir folder;
  writeText(folder / "Tessel.pdf", "%PDF-1.4\n");
  writeText(folder / "Tessel_en.pdf", "%PDF-1.4\n");
  SetProgramFolder(folder.path());
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.start.toStdString());
    ASSERT_TRUE(UseLanguage(e.language));
    CTesselDlg dialog;
    std::vector<QUrl> opened;
    std::vector<QString> messages;
    dialog.setUrlOpener([&](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
    dialog.host().hooks().message = [&](QWidget*, const QString&, const QString& text) {
      messages.push_back(text);
    };
    EXPECT_EQ(FindControlAs<QPushButton>(&dialog, CTesselDlg::kIdStart)->text(), e.start);
    EXPECT_EQ(FindControlAs<QPushButton>(&dialog, CTesselDlg::kIdHelp)->text(), e.help);
    EXPECT_EQ(dialog.setupDialog().windowTitle(), e.setupTitle);
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), e.yesButton);

    dialog.host().systemMessage(Message::SourceInvalid, folder.path());
    QTest::mouseClick(FindControlAs<QPushButton>(&dialog, CTesselDlg::kIdHelp), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    // The box keeps the message's own text; the path follows on a line of its own.
    EXPECT_EQ(messages[0], e.sourceInvalid + u'\n' + QDir::toNativeSeparators(ToQString(folder.path())));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(ToQString(folder.path() / e.document.toStdString())));
  }
  UseLanguage(std::nullopt);
  SetProgramFolder({});
}

TEST_F(MainDialog, ADroppedFolderOrAFileInItBecomesTheSource) {
  TempDir folder;
  writeText(folder / "project" / "3.bmp", "x");
  auto drop = [&](const fs::path& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(ToQString(path))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(&dialog, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    QCoreApplication::sendEvent(&dialog, &drop);
    return drop.isAccepted();
  };
  EXPECT_TRUE(drop(folder / "project"));
  EXPECT_EQ(pathBox()->text(), ToQString(folder / "project"));
  pathBox()->clear();
  EXPECT_TRUE(drop(folder / "project" / "3.bmp"));
  EXPECT_EQ(pathBox()->text(), ToQString(folder / "project"));
  EXPECT_FALSE(drop(folder / "missing"));
  EXPECT_EQ(pathBox()->text(), ToQString(folder / "project"));
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
  fs::path marker() const { return output.path() / PathFromUtf8(kMarkerFileName); }

  RealRun() {
    dialog.runOptions().outputRoot = output.path();
    dialog.runOptions().resourceFolder = PathFromUtf8(TESSEL_BIN_DIR);
    auto& hooks = dialog.host().hooks();
    hooks.message = [this](QWidget*, const QString&, const QString& text) {
      messages.push_back(text);
    };
    hooks.openUrl = [this](const QUrl& url) { opened.push_back(url); };
    hooks.wait = [](int) {};
    dialog.show();
  }
  void start(const fs::path& folder) {
    control<QLineEdit>(&dialog, 1000)->setText(ToQString(folder));
    QTest::mouseClick(control<QPushButton>(&dialog, 1), Qt::LeftButton);
    dialog.waitForRun();
  }
};

TEST_F(RealRun, MissingSourceAndEmptySourceAreRefusedWithTheirMessagesAndPaths) {
  std::vector<bool> barShown;
  dialog.host().hooks().message = [&](QWidget*, const QString&, const QString& text) {
    messages.push_back(text);
    barShown.push_back(dialog.findChild<QProgressBar*>()->isVisible());
  };
  const QString missing = QDir::toNativeSeparators(ToQString(source.path() / "missing"));
  start(source.path() / "missing");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("源路径无效！\n") + missing);
  start(source.path());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], QStringLiteral("没有找到图片！\n") +
                             QDir::toNativeSeparators(ToQString(source.path())));
  EXPECT_EQ(barShown, std::vector<bool>({false, false}));
  EXPECT_FALSE(fs::exists(marker()));
  EXPECT_TRUE(opened.empty());
}

TEST_F(RealRun, CancelledParameterDialogLeavesThePreviousOutputAsItWas) {
  writePicture(source / "1.bmp", 8, 4);
  onNextModal([&](QWidget* modal) { QTest::mouseClick(control<QPushButton>(modal, 1), Qt::LeftButton); });
  start(source.path());
  ASSERT_EQ(dialog.lastResult()->outcome, RunOutcome::Completed);
  const auto previous = treeSnapshot(output.path());
  writePicture(source / "2.bmp", 8, 4);
  bool sawDialog = false;
  onNextModal([&](QWidget* modal) {
    sawDialog = modal == &dialog.setupDialog();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  start(source.path());
  EXPECT_TRUE(sawDialog);
  ASSERT_NE(dialog.lastResult(), nullptr);
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::NotConfirmed);
  EXPECT_EQ(treeSnapshot(output.path()), previous);
  EXPECT_EQ(opened.size(), 1u);  // only the first run opened the folder
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
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(ToQString(output.path())));
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

TEST_F(RealRun, AnOutputWithForeignFilesIsRemovedOnlyWhenTheUserSaysYes) {
  writeText(source / "13.bin", "a");
  writeText(source / "14.bin", "b");
  writePicture(source / "1.bmp", 8, 4);
  writeText(output / "private" / "notes.txt", "mine");
  QStringList asked;
  bool answer = false;
  dialog.host().hooks().ask = [&](QWidget*, const QString&, const QString& text) {
    asked << text;
    return answer;
  };
  start(source.path());
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("notes.txt")));
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::OutputRefused);
  EXPECT_EQ(readText(output / "private" / "notes.txt"), "mine");
  answer = true;
  start(source.path());
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::Completed);
  EXPECT_FALSE(fs::exists(output / "private" / "notes.txt"));
}

TEST_F(RealRun, AfterARunTheOutputIsALinkAndTheWarningsAreListed) {
  writeText(source / "13.bin", "a");
  writeText(source / "14.bin", "b");
  writePicture(source / "1.bmp", 8, 4);
  writeText(source / "2.bmp", "not a bitmap");
  std::vector<QUrl> openedByLink;
  dialog.setUrlOpener([&](const QUrl& url) {
    openedByLink.push_back(url);
    return true;
  });
  start(source.path());
  ASSERT_NE(dialog.lastResult(), nullptr);
  EXPECT_EQ(dialog.lastResult()->outcome, RunOutcome::Completed);
  EXPECT_TRUE(messages.empty());  // no box for a run that completed
  auto* link = control<ElidedLabel>(&dialog, 1030);
  EXPECT_TRUE(link->text().contains(QStringLiteral("<a href")));
  EXPECT_EQ(link->fullText(), QDir::toNativeSeparators(ToQString(output.path())));
  // Enter converts again; the card step is offered.
  EXPECT_EQ(dialog.focusWidget(), control<QPushButton>(&dialog, 1));
  EXPECT_TRUE(control<QPushButton>(&dialog, 1)->isDefault());
  EXPECT_TRUE(control<QPushButton>(&dialog, 1035)->isVisible());
  Q_EMIT link->linkActivated(QStringLiteral("output"));
  ASSERT_EQ(openedByLink.size(), 1u);
  EXPECT_EQ(openedByLink[0], QUrl::fromLocalFile(ToQString(output.path())));

  auto* status = control<QLabel>(&dialog, 1033 - 1);
  EXPECT_TRUE(status->isVisible());
  EXPECT_TRUE(status->text().contains(QStringLiteral("1 screen"))) << status->text().toStdString();
  EXPECT_TRUE(status->text().contains(QStringLiteral("A 类")));
  EXPECT_TRUE(control<QPushButton>(&dialog, 1033)->isVisible());
  EXPECT_TRUE(dialog.detailsText().contains(QStringLiteral("2.bmp")));
  QString listed;
  onNextModal([&](QWidget* modal) {
    listed = modal->findChild<QPlainTextEdit*>()->toPlainText();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  QTest::mouseClick(control<QPushButton>(&dialog, 1033), Qt::LeftButton);
  EXPECT_TRUE(listed.contains(QStringLiteral("2.bmp")));
  EXPECT_TRUE(listed.contains(QStringLiteral("分支 A")));

  // The preview goes beside private/, never inside it.
  EXPECT_TRUE(control<QLabel>(&dialog, 1031)->isVisible());
  Q_EMIT control<QLabel>(&dialog, 1031)->linkActivated(QStringLiteral("preview"));
  EXPECT_TRUE(dialog.writingPreview());  // on a thread of its own
  EXPECT_FALSE(control<QPushButton>(&dialog, 1)->isEnabled());
  dialog.waitForPreview();
  EXPECT_TRUE(control<QPushButton>(&dialog, 1)->isEnabled());
  auto* bar = dialog.findChild<QProgressBar*>();
  EXPECT_EQ(bar->maximum(), 1);  // the one picture of the output, drawn
  EXPECT_EQ(bar->value(), 1);
  ASSERT_EQ(openedByLink.size(), 2u);
  const fs::path page = ToPath(openedByLink[1].toLocalFile());
  EXPECT_TRUE(fs::is_regular_file(page));
  EXPECT_FALSE(PathIsInside(page, output.path() / "private"));
}

}  // namespace
}  // namespace tessel::test

namespace tessel::test {
namespace {

// tessel without a display: --help and --version print, anything else says
// why it cannot open its window; none of them aborts.
TEST(Program, HelpAndVersionNeedNoDisplayAndNoDisplayIsSaid) {
  const auto run = [](const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TESSEL_BIN_DIR "/tessel"), arguments);
    p.waitForFinished(60000);
    return std::make_tuple(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                           QString::fromUtf8(p.readAllStandardOutput()),
                           QString::fromUtf8(p.readAllStandardError()));
  };
  const auto [helpStatus, help, helpErr] = run({"--lang", "en", "--help"});
  EXPECT_EQ(helpStatus, 0) << helpErr.toStdString();
  EXPECT_TRUE(help.contains(QStringLiteral("-o, --output DIR"))) << help.toStdString();
  const auto [versionStatus, version, versionErr] = run({"--version"});
  EXPECT_EQ(versionStatus, 0);
  EXPECT_TRUE(version.startsWith(QStringLiteral("tessel " TESSEL_VERSION)));
  const auto [status, out, err] = run({"--lang", "en"});
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(err.contains(QStringLiteral("needs a display"))) << err.toStdString();
}

}  // namespace
}  // namespace tessel::test
