#include "TesselDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <exception>

#include "AppIcon.h"
#include "ConfigDlg.h"
#include "DialogKit.h"
#include "GuiHost.h"
#include "SetupDlg.h"
#include "util/Paths.h"

namespace tessel {

namespace {

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

CTesselDlg::CTesselDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tessel V2.3 (TA/TC/DGUS/DGUS2)"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(tesselIcon());

  runOptions_.jobs = std::max(1, QThread::idealThreadCount());
  run_ = [](const ConversionSettings& settings, const RunOptions& options, Session& session,
            Host& host) { return ConversionRun(settings, options, session, host); };
  pickFolder_ = [](QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title, QString(),
                                                             QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
  };
  openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  DialogBuilder ui(this, 9);
  ui.sizeDialog(275, 159);

  ui.label(QStringLiteral("DWIN_SET路径:"), 2, 9, 55, 8);
  sourceEdit_ = new QLineEdit(this);
  sourceEdit_->setGeometry(ui.units().rect(62, 12, 165, 14));
  ui.tag(sourceEdit_, kIdSourceFolder);
  QPushButton* browseButton = ui.button(kIdBrowse, QStringLiteral("浏览..."), 232, 12, 32, 14);
  ui.label(QStringLiteral("KOVA_TFT路径:"), 2, 21, 55, 8);
  ui.label(QStringLiteral("说明：下列参数一般不需要修改，保持默认值即可。"), 13, 37, 255, 8);
  ui.label(QStringLiteral("图片输出格式："), 8, 55, 53, 8);
  pictureFormat_ = ui.dropDown(kIdPictureFormat,
                               {QStringLiteral("普通JPEG(默认)"), QStringLiteral("高质量JPEG"),
                                QStringLiteral("BMP位图(无损压缩)")},
                               63, 54, 74);
  ui.label(QStringLiteral("字库选择："), 144, 56, 40, 8);
  font_ = ui.dropDown(kIdFont,
                      {QStringLiteral("ASCII字符"), QStringLiteral("中英文"),
                       QStringLiteral("数码管(正常)"), QStringLiteral("数码管(加粗)"),
                       QStringLiteral("数码管(倾斜)")},
                      186, 54, 74);
  ui.label(QStringLiteral("图片旋转处理："), 8, 74, 53, 8);
  rotation_ = ui.dropDown(kIdRotation,
                          {QStringLiteral("自动处理"), QStringLiteral("不旋转"),
                           QStringLiteral("顺时钟90度"), QStringLiteral("顺时钟180度"),
                           QStringLiteral("顺时钟270度")},
                          63, 72, 74);
  ui.label(QStringLiteral("字库显示："), 144, 73, 40, 8);
  fontDisplay_ = ui.dropDown(
      kIdFontDisplay, {QStringLiteral("矢量字体(抗锯齿)"), QStringLiteral("小号字用点阵字体")},
      186, 71, 74);
  deRipple_ = ui.checkBox(kIdDeRipple,
                          QStringLiteral("消除图片中的水波纹（会降低压缩率，默认不勾选）"), 63, 94,
                          169, 10);
  singlePictureFiles_ = ui.checkBox(kIdSinglePictureFiles,
                                    QStringLiteral("支持升级单个图片文件（默认不勾选）"), 63, 108,
                                    169, 10);
  singlePictureFiles_->hide();  // created hidden: the user keeps the default
  start_ = ui.button(kIdStart, QStringLiteral("开始转换"), 98, 127, 74, 25);
  start_->setDefault(true);
  QPushButton* helpButton = ui.button(kIdHelp, QStringLiteral("帮助"), 218, 132, 50, 14);

  // The progress of a run, shown only while one goes on.
  progress_ = new QProgressBar(this);
  progress_->setGeometry(ui.units().rect(8, 113, 260, 9));
  progress_->setTextVisible(false);
  progress_->hide();

  configDialog_ = new CConfigDlg(this);
  setupDialog_ = new CSetupDlg(this);
  host_ = std::make_unique<GuiHost>(this, *setupDialog_, progress_);

  connect(start_, &QPushButton::clicked, this, [this] { startConversion(); });
  connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
  connect(helpButton, &QPushButton::clicked, this, [this] { openHelp(); });

  updateData(false);
}

CTesselDlg::~CTesselDlg() = default;

void CTesselDlg::updateData(bool toSettings) {
  if (toSettings) {
    settings_.sourceFolder = toPath(sourceEdit_->text());
    settings_.rotationChoice = static_cast<RotationChoice>(rotation_->currentIndex());
    settings_.pictureFormat = static_cast<PictureFormat>(pictureFormat_->currentIndex());
    settings_.fontChoice = font_->currentIndex();
    settings_.deRipple = deRipple_->isChecked();
    settings_.singlePictureFiles = singlePictureFiles_->isChecked();
    settings_.fontDisplay = static_cast<FontDisplay>(fontDisplay_->currentIndex());
  } else {
    sourceEdit_->setText(toQString(settings_.sourceFolder));
    selectIndex(rotation_, static_cast<int>(settings_.rotationChoice));
    selectIndex(pictureFormat_, static_cast<int>(settings_.pictureFormat));
    selectIndex(font_, settings_.fontChoice);
    deRipple_->setChecked(settings_.deRipple);
    singlePictureFiles_->setChecked(settings_.singlePictureFiles);
    selectIndex(fontDisplay_, static_cast<int>(settings_.fontDisplay));
  }
}

void CTesselDlg::setSettings(const ConversionSettings& settings) {
  settings_ = settings;
  updateData(false);
}

QString CTesselDlg::writeFailureMessage(const std::vector<std::filesystem::path>& paths) {
  constexpr std::size_t kShown = 20;
  QString text = QStringLiteral("以下文件无法写入 (could not be written):");
  for (std::size_t i = 0; i < paths.size() && i < kShown; ++i)
    text += QLatin1Char('\n') + QDir::toNativeSeparators(toQString(paths[i]));
  if (paths.size() > kShown)
    text += QStringLiteral("\n... (%1 more)").arg(static_cast<qulonglong>(paths.size() - kShown));
  return text;
}

void CTesselDlg::startConversion() {
  if (running_) return;
  updateData(true);

  running_ = true;
  qApp->installEventFilter(this);
  progress_->setRange(0, 0);
  progress_->setValue(0);
  progress_->show();
  repaintWhileBusy();

  std::unique_ptr<RunResult> result;
  QString failure;
  try {
    result = std::make_unique<RunResult>(run_(settings_, runOptions_, session_, *host_));
  } catch (const std::exception& error) {
    failure = QString::fromUtf8(error.what());
  }
  host_->endBusy();

  // Input that arrived during the run is dropped, not replayed.
  QCoreApplication::processEvents();
  progress_->hide();
  qApp->removeEventFilter(this);
  running_ = false;

  if (!failure.isEmpty()) {
    host_->showMessage(
        QStringLiteral("转换中止 (conversion stopped): %1").arg(failure).toStdString());
    return;
  }
  lastResult_ = std::move(result);
  if (!lastResult_->report.writeFailures.empty())
    host_->showMessage(writeFailureMessage(lastResult_->report.writeFailures).toStdString());
}

void CTesselDlg::browse() {
  const QString folder = pickFolder_ ? pickFolder_(this, QStringLiteral("请选择源目录：")) : QString();
  if (folder.isEmpty()) return;
  settings_.sourceFolder = toPath(folder);
  sourceEdit_->setText(folder);
}

void CTesselDlg::openHelp() {
  // Beside the program (a build tree), else in share/tessel beside the
  // program's folder or in the data folder configured at build time.
  std::filesystem::path path = findResourceFile("Tessel.pdf");
  if (path.empty()) path = programFolder() / "Tessel.pdf";
  const QString document = toQString(path);
  if (openUrl_) openUrl_(QUrl::fromLocalFile(document));
}

bool CTesselDlg::eventFilter(QObject* watched, QEvent* event) {
  if (running_ && watched->isWidgetType() && isUserInput(event->type())) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == this || isAncestorOf(widget)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CTesselDlg::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void CTesselDlg::reject() {
  if (running_) return;
  QDialog::reject();
}

}  // namespace tessel
