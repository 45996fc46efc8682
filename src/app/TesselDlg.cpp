#include "TesselDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <exception>
#include <initializer_list>

#include "AppIcon.h"
#include "CardDlg.h"
#include "ConfigDlg.h"
#include "DialogKit.h"
#include "GuiHost.h"
#include "SetupDlg.h"
#include "convert/RunSummary.h"
#include "inspect/InspectPage.h"
#include "util/Language.h"
#include "util/Paths.h"

namespace tessel {

namespace {

// The folder a dropped path means: the folder itself, or the folder of a
// file (a picture inside a DWIN_SET, say).
QString FolderOf(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) return info.absoluteFilePath();
  if (info.isFile()) return info.absolutePath();
  return {};
}

// Counts as the status line's tip says them: one phrase.
QString CountsText(const RunResult& r) { return QString::fromStdString(CountsPhrase(r.totals)); }

// Counts as the details list says them: one a line.
QString CountLines(const RunResult& r) {
  QStringList lines;
  for (const std::string& count : CountTexts(r.totals)) lines << QString::fromStdString(count);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

CTesselDlg::CTesselDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tessel V2.3 (TA/TC/DGUS/DGUS2)"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(TesselIcon());

  runOptions_.jobs = std::max(1, QThread::idealThreadCount());
  runOptions_.stop = &stop_;
  run_ = [](const ConversionSettings& settings, const RunOptions& options, Session& session,
            Host& host) { return ConversionRun(settings, options, session, host); };
  pickFolder_ = [](QWidget* owner, const QString& title, const QString& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
  };
  openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  openCard_ = [](QWidget* owner, const std::filesystem::path& root) {
    CCardDlg card(root, owner);
    card.exec();
  };
  setAcceptDrops(true);

  DialogBuilder ui(this, 9);
  const DialogUnits& du = ui.units();

  // Rows as they have always been: the two paths, the note, the four lists
  // in two columns, the check boxes, the status line, the buttons. Every
  // row takes the room its text needs in the language in use.
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetMinimumSize);
  grid->setHorizontalSpacing(du.x(4));
  grid->setVerticalSpacing(du.y(4));
  grid->setColumnStretch(1, 1);

  grid->addWidget(ui.label(tr("DWIN_SET路径:")), 0, 0);
  sourceEdit_ = new QLineEdit(this);
  sourceEdit_->setMinimumWidth(du.x(120));
  ui.tag(sourceEdit_, kIdSourceFolder);
  grid->addWidget(sourceEdit_, 0, 1);
  browse_ = ui.button(kIdBrowse, tr("浏览..."));
  grid->addWidget(browse_, 0, 2);

  grid->addWidget(ui.label(tr("KOVA_TFT路径:")), 1, 0);
  // The output folder: plain text until a run has written it, then a link.
  auto* outputRow = new QHBoxLayout;
  outputLink_ = new ElidedLabel(this);
  ui.tag(outputLink_, kIdOutputFolder);
  outputLink_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  outputRow->addWidget(outputLink_, 1);
  previewLink_ = new QLabel(
      QStringLiteral("<a href=\"preview\">%1</a>").arg(tr("预览").toHtmlEscaped()), this);
  ui.tag(previewLink_, kIdPreview);
  previewLink_->setTextFormat(Qt::RichText);
  previewLink_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  previewLink_->setToolTip(tr("在浏览器中查看显示屏将显示的画面"));
  previewLink_->hide();
  outputRow->addWidget(previewLink_);
  grid->addLayout(outputRow, 1, 1);
  changeOutput_ = ui.button(kIdChangeOutput, tr("更改..."));
  changeOutput_->setToolTip(tr("选择输出目录"));
  grid->addWidget(changeOutput_, 1, 2);

  grid->addWidget(ui.label(tr("说明：下列参数一般不需要修改，保持默认值即可。"), true), 2, 0, 1, 3);

  auto* options = new QGridLayout;
  options->setHorizontalSpacing(du.x(4));
  options->setColumnStretch(1, 1);
  options->setColumnStretch(3, 1);
  options->addWidget(ui.label(tr("图片输出格式：")), 0, 0);
  pictureFormat_ = ui.dropDown(kIdPictureFormat, {tr("普通JPEG(默认)"), tr("高质量JPEG"),
                                                  tr("BMP位图(无损压缩)")});
  options->addWidget(pictureFormat_, 0, 1);
  options->addWidget(ui.label(tr("字库选择：")), 0, 2);
  font_ = ui.dropDown(kIdFont, {tr("ASCII字符"), tr("中英文"), tr("数码管(正常)"),
                                tr("数码管(加粗)"), tr("数码管(倾斜)")});
  options->addWidget(font_, 0, 3);
  options->addWidget(ui.label(tr("图片旋转处理：")), 1, 0);
  rotation_ = ui.dropDown(kIdRotation, {tr("自动处理"), tr("不旋转"), tr("顺时钟90度"),
                                        tr("顺时钟180度"), tr("顺时钟270度")});
  options->addWidget(rotation_, 1, 1);
  options->addWidget(ui.label(tr("字库显示：")), 1, 2);
  fontDisplay_ = ui.dropDown(kIdFontDisplay, {tr("矢量字体(抗锯齿)"), tr("小号字用点阵字体")});
  options->addWidget(fontDisplay_, 1, 3);
  deRipple_ = ui.checkBox(kIdDeRipple, tr("消除图片中的水波纹（会降低压缩率，默认不勾选）"));
  options->addWidget(deRipple_, 2, 1, 1, 3);
  smallest_ = ui.checkBox(kIdSmallest, tr("更小的输出文件（转换较慢，默认不勾选）"));
  smallest_->setToolTip(tr("图片和图标压缩得更小，显示屏加载更快，像素不变"));
  options->addWidget(smallest_, 4, 1, 1, 3);
  singlePictureFiles_ = ui.checkBox(kIdSinglePictureFiles, tr("支持升级单个图片文件（默认不勾选）"));
  singlePictureFiles_->hide();  // created hidden: the user keeps the default
  options->addWidget(singlePictureFiles_, 3, 1, 1, 3);
  grid->addLayout(options, 3, 0, 1, 3);

  // The progress of a run (N/M), shown only while one goes on; after it,
  // the status line in its place. The status line wraps: the warning count
  // at its end always shows.
  auto* statusRow = new QHBoxLayout;
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(true);
  progress_->setFormat(QStringLiteral("%v/%m"));
  progress_->hide();
  statusRow->addWidget(progress_, 1);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ui.tag(status_, kIdStatus);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusRow->addWidget(status_, 1);
  details_ = ui.button(kIdDetails, tr("详细信息..."));
  details_->hide();
  statusRow->addWidget(details_, 0, Qt::AlignTop);
  grid->setRowStretch(4, 1);  // spare height goes above the status line
  grid->addLayout(statusRow, 5, 0, 1, 3);

  auto* buttons = new QHBoxLayout;
  card_ = ui.button(kIdCard, tr("写入SD卡..."));
  card_->setToolTip(tr("把 private 目录复制到SD卡根目录并校验"));
  card_->hide();
  buttons->addWidget(card_, 0, Qt::AlignBottom);
  buttons->addStretch(1);
  start_ = ui.button(kIdStart, tr("开始转换"));
  start_->setMinimumSize(du.size(74, 25));
  start_->setDefault(true);
  buttons->addWidget(start_);
  buttons->addStretch(1);
  QPushButton* helpButton = ui.button(kIdHelp, tr("帮助"));
  helpButton->setMinimumSize(du.size(50, 14));
  buttons->addWidget(helpButton, 0, Qt::AlignBottom);
  grid->addLayout(buttons, 6, 0, 1, 3);
  resize(du.size(275, 159).expandedTo(minimumSizeHint()));

  configDialog_ = new CConfigDlg(this);
  setupDialog_ = new CSetupDlg(this);
  host_ = std::make_unique<GuiHost>(this, *setupDialog_, progress_);

  connect(start_, &QPushButton::clicked, this, [this] { startConversion(); });
  connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
  connect(helpButton, &QPushButton::clicked, this, [this] { openHelp(); });
  connect(outputLink_, &QLabel::linkActivated, this, [this] { openOutput(); });
  connect(previewLink_, &QLabel::linkActivated, this, [this] { openPreview(); });
  connect(details_, &QPushButton::clicked, this, [this] { showDetails(); });
  connect(changeOutput_, &QPushButton::clicked, this, [this] { changeOutput(); });
  connect(card_, &QPushButton::clicked, this, [this] { openCard(); });

  updateData(false);
  showOutcome();
}

CTesselDlg::~CTesselDlg() {
  if (worker_) {
    // The window goes while a run goes on: stop it and let it end.
    stop_ = true;
    waitForRun();
  }
  waitForPreview();
}

void CTesselDlg::updateData(bool toSettings) {
  if (toSettings) {
    settings_.sourceFolder = ToPath(sourceEdit_->text());
    settings_.rotationChoice = static_cast<RotationChoice>(rotation_->currentIndex());
    settings_.pictureFormat = static_cast<PictureFormat>(pictureFormat_->currentIndex());
    settings_.fontChoice = font_->currentIndex();
    settings_.deRipple = deRipple_->isChecked();
    settings_.compression = smallest_->isChecked() ? Compression::Smallest : Compression::Default;
    settings_.singlePictureFiles = singlePictureFiles_->isChecked();
    settings_.fontDisplay = static_cast<FontDisplay>(fontDisplay_->currentIndex());
  } else {
    sourceEdit_->setText(ToQString(settings_.sourceFolder));
    SelectIndex(rotation_, static_cast<int>(settings_.rotationChoice));
    SelectIndex(pictureFormat_, static_cast<int>(settings_.pictureFormat));
    SelectIndex(font_, settings_.fontChoice);
    deRipple_->setChecked(settings_.deRipple);
    smallest_->setChecked(settings_.compression == Compression::Smallest);
    singlePictureFiles_->setChecked(settings_.singlePictureFiles);
    SelectIndex(fontDisplay_, static_cast<int>(settings_.fontDisplay));
  }
}

void CTesselDlg::setInputEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{sourceEdit_, browse_, pictureFormat_, font_,
                                                    rotation_, fontDisplay_, deRipple_, smallest_,
                                                    start_, details_, changeOutput_, card_}) {
    w->setEnabled(enabled);
  }
  outputLink_->setEnabled(enabled);
  previewLink_->setEnabled(enabled);
}

void CTesselDlg::startConversion() {
  if (running_) return;
  updateData(true);

  running_ = true;
  stop_ = false;
  setInputEnabled(false);
  status_->hide();
  details_->hide();
  previewLink_->hide();
  card_->hide();
  progress_->setRange(0, 0);
  progress_->setValue(0);
  progress_->show();
  host_->clearWarnings();
  threadHost_ = std::make_unique<ThreadHost>(*host_, this);

  // The run gets copies of what the dialog may change while it goes on; the
  // session is the run's until it ends.
  worker_ = QThread::create([this, settings = settings_, options = runOptions_] {
    auto result = std::make_shared<RunResult>();
    QString failure;
    try {
      *result = run_(settings, options, session_, *threadHost_);
    } catch (const std::bad_alloc&) {
      failure = tr("内存不足");
    } catch (const std::exception& error) {
      failure = QString::fromUtf8(error.what());
    }
    QMetaObject::invokeMethod(this, [this, result, failure] { finishRun(result, failure); },
                              Qt::QueuedConnection);
  });
  worker_->start();
}

void CTesselDlg::finishRun(std::shared_ptr<RunResult> result, const QString& failure) {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  threadHost_.reset();
  host_->endBusy();
  progress_->hide();
  setInputEnabled(true);
  running_ = false;

  if (!failure.isEmpty()) {
    host_->showMessage(
        tr("转换中止：%1").arg(failure).toStdString());
  } else {
    lastResult_ = std::make_unique<RunResult>(std::move(*result));
    if (!lastResult_->report.writeFailures.empty()) {
      QString text = writeFailureMessage(lastResult_->report.writeFailures);
      if (lastResult_->outcome == RunOutcome::WriteFailed) {
        text += QLatin1Char('\n') + tr("转换未完成，之前的输出保持不变。");
      }
      host_->showMessage(text.toStdString());
    }
  }
  showOutcome();
  // Enter converts again.
  start_->setDefault(true);
  start_->setFocus();
  Q_EMIT runFinished();
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    close();
  }
}

void CTesselDlg::setOutputRoot(const std::filesystem::path& root) {
  runOptions_.outputRoot = root;
  showOutcome();
}

// The last run's output while it is the folder the next run writes, else
// the folder the next run writes.
bool CTesselDlg::lastRunWroteShownRoot() const {
  return lastResult_ && !lastResult_->outputRoot.empty() &&
         (runOptions_.outputRoot.empty() ||
          lastResult_->outputRoot.lexically_normal() == runOptions_.outputRoot.lexically_normal());
}

std::filesystem::path CTesselDlg::shownOutputRoot() const {
  if (lastRunWroteShownRoot()) return lastResult_->outputRoot;
  return runOptions_.outputRoot;
}

void CTesselDlg::showOutcome() {
  const std::filesystem::path root = shownOutputRoot();
  // A run that did not finish left the previous output, which the link shows.
  std::error_code ec;
  const bool current = lastRunWroteShownRoot();
  const bool written = current && (lastResult_->outcome == RunOutcome::Completed ||
                                   ((lastResult_->outcome == RunOutcome::NotConfirmed ||
                                     lastResult_->outcome == RunOutcome::Stopped ||
                                     lastResult_->outcome == RunOutcome::WriteFailed) &&
                                    std::filesystem::is_directory(root, ec)));
  const QString shown = QDir::toNativeSeparators(ToQString(root));
  if (written) {
    outputLink_->setFullText(shown, QStringLiteral("output"));
    outputLink_->setExtraToolTip(tr("打开输出目录"));
  } else {
    outputLink_->setFullText(shown.isEmpty() ? tr("文档目录/TESSEL") : shown);
    outputLink_->setExtraToolTip(QString());
  }
  const bool complete = current && lastResult_->outcome == RunOutcome::Completed;
  previewLink_->setVisible(complete);
  card_->setVisible(complete && lastResult_->report.writeFailures.empty());
  status_->setText(statusText());
  status_->setToolTip(lastResult_ && lastResult_->outcome == RunOutcome::Completed
                          ? CountsText(*lastResult_)
                          : QString());
  status_->setVisible(!status_->text().isEmpty());
  details_->setVisible(lastResult_ && !detailsText().isEmpty());
  FitHeightForWidth(this);
}

void CTesselDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (event->size().width() != event->oldSize().width()) FitHeightForWidth(this);
}

void CTesselDlg::changeOutput() {
  if (running_) return;
  // The picker opens at the folder shown, or the nearest folder above it.
  QString start = ToQString(shownOutputRoot());
  for (int up = 0; up < 64 && !start.isEmpty() && !QFileInfo(start).isDir(); ++up) {
    const QString parent = QFileInfo(start).absolutePath();
    start = parent == start ? QString() : parent;
  }
  const QString folder =
      pickFolder_ ? pickFolder_(this, tr("请选择输出目录："), start) : QString();
  if (folder.isEmpty()) return;
  setOutputRoot(ToPath(folder));
}

void CTesselDlg::openCard() {
  if (running_ || !lastResult_ || lastResult_->outcome != RunOutcome::Completed || !openCard_) {
    return;
  }
  openCard_(this, lastResult_->outputRoot);
}

QString CTesselDlg::statusText() const {
  if (!lastResult_) return {};
  const RunResult& r = *lastResult_;
  const QString branch = r.branch == Branch::A ? QStringLiteral("A") : QStringLiteral("B");
  switch (r.outcome) {
    case RunOutcome::Completed: {
      return tr("%1 类完成：%2").arg(branch, QString::fromStdString(ShortCountsPhrase(r.totals)));
    }
    case RunOutcome::NotConfirmed:
      return tr("未确认设备参数，转换未完成");
    case RunOutcome::Stopped:
      return tr("转换已停止，之前的输出保持不变");
    case RunOutcome::WriteFailed:
      return tr("写入失败，之前的输出保持不变");
    default:
      return {};
  }
}

QString CTesselDlg::detailsText() const {
  if (!lastResult_) return {};
  const Report& report = lastResult_->report;
  QStringList lines;
  // What the run put right before it began (a stale lock, a stopped run's leftovers).
  for (const std::string& n : report.notes) lines << QString::fromStdString(Printable(n));
  for (const std::string& w : report.warnings) lines << QString::fromStdString(Printable(w));
  for (const InputRecord& input : report.inputs) {
    if (input.fate != InputFate::Skipped) continue;
    const QString line = QString::fromStdString(Printable(input.reason));
    if (!lines.contains(line)) lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

void CTesselDlg::showDetails() {
  QDialog box(this);
  box.setWindowTitle(tr("详细信息 - %1").arg(ApplicationTitle()));
  auto* text = new QPlainTextEdit(&box);
  text->setObjectName(QStringLiteral("details"));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setPlainText(tr("分支 %1：%2\n%3\n\n")
                         .arg(lastResult_->branch == Branch::A ? "A" : "B")
                         .arg(QString::fromStdString(lastResult_->branchReason))
                         .arg(CountLines(*lastResult_)) +
                     detailsText());
  auto* close = new QPushButton(tr("关闭"), &box);
  connect(close, &QPushButton::clicked, &box, &QDialog::accept);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(text);
  layout->addWidget(close, 0, Qt::AlignRight);
  box.resize(720, 360);
  box.exec();
}

void CTesselDlg::openOutput() {
  const std::filesystem::path root = shownOutputRoot();
  if (root.empty() || !openUrl_) return;
  if (!openUrl_(QUrl::fromLocalFile(ToQString(root)))) {
    host_->showMessage(tr("没有可以打开输出目录的文件管理器：\n%1")
                           .arg(QDir::toNativeSeparators(ToQString(root)))
                           .toStdString());
  }
}

void CTesselDlg::openPreview() {
  const std::filesystem::path root = shownOutputRoot();
  if (root.empty() || previewWorker_ || running_) return;
  // Written on a thread of its own: the window stays responsive, the bar
  // moves, and nothing else starts meanwhile.
  setInputEnabled(false);
  status_->hide();
  progress_->setRange(0, 0);
  progress_->show();
  previewWorker_ = QThread::create([this, root] {
    QString error;
    std::filesystem::path page;
    const PreviewProgress progress = [this](int done, int total) {
      QMetaObject::invokeMethod(
          this,
          [this, done, total] {
            if (!previewWorker_ || total <= 0) return;
            progress_->setRange(0, total);
            progress_->setValue(std::min(done, total));
          },
          Qt::QueuedConnection);
    };
    try {
      std::string why;
      if (!inspect::WritePreview(root, &page, &why, progress)) {
        error = QString::fromStdString(why);
        page.clear();
      }
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
    }
    QMetaObject::invokeMethod(this, [this, page, error] { finishPreview(page, error); },
                              Qt::QueuedConnection);
  });
  previewWorker_->start();
}

void CTesselDlg::waitForPreview() {
  if (!previewWorker_) return;
  QEventLoop loop;
  connect(this, &CTesselDlg::previewFinished, &loop, &QEventLoop::quit);
  loop.exec();
}

void CTesselDlg::finishPreview(const std::filesystem::path& page, const QString& error) {
  previewWorker_->wait();
  delete previewWorker_;
  previewWorker_ = nullptr;
  progress_->hide();
  setInputEnabled(true);
  showOutcome();
  if (page.empty()) {
    host_->showMessage(tr("无法生成预览：%1").arg(error).toStdString());
  } else if (openUrl_ && !openUrl_(QUrl::fromLocalFile(ToQString(page)))) {
    host_->showMessage(tr("没有可以打开预览的浏览器：\n%1")
                           .arg(QDir::toNativeSeparators(ToQString(page)))
                           .toStdString());
  }
  Q_EMIT previewFinished();
}

void CTesselDlg::waitForRun() {
  if (!running_) return;
  QEventLoop loop;
  connect(this, &CTesselDlg::runFinished, &loop, &QEventLoop::quit);
  loop.exec();
}

bool CTesselDlg::takeSource(const QString& path) {
  const QString folder = FolderOf(path);
  if (folder.isEmpty() || running_) return false;
  const QString shown = QDir::toNativeSeparators(folder);
  settings_.sourceFolder = ToPath(shown);
  sourceEdit_->setText(shown);
  return true;
}

void CTesselDlg::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!running_ && urls.size() == 1 && urls[0].isLocalFile() &&
      !FolderOf(urls[0].toLocalFile()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void CTesselDlg::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls[0].isLocalFile() && takeSource(urls[0].toLocalFile())) {
    event->acceptProposedAction();
  }
}

QString CTesselDlg::writeFailureMessage(const std::vector<std::filesystem::path>& paths) {
  constexpr std::size_t kShown = 20;
  QString text = tr("以下文件无法写入：");
  for (std::size_t i = 0; i < paths.size() && i < kShown; ++i)
    text += QLatin1Char('\n') + QDir::toNativeSeparators(ToQString(paths[i]));
  if (paths.size() > kShown)
    text += tr("\n……（另有 %1 个）").arg(static_cast<qulonglong>(paths.size() - kShown));
  return text;
}

void CTesselDlg::browse() {
  // The picker opens at the folder shown, or at the one above it.
  QString start = sourceEdit_->text().trimmed();
  if (!start.isEmpty() && !QFileInfo(start).isDir()) start = QFileInfo(start).absolutePath();
  if (!start.isEmpty() && !QFileInfo(start).isDir()) start.clear();
  const QString folder =
      pickFolder_ ? pickFolder_(this, tr("请选择源目录："), start) : QString();
  if (folder.isEmpty()) return;
  settings_.sourceFolder = ToPath(folder);
  sourceEdit_->setText(folder);
}

void CTesselDlg::openHelp() {
  // The document of the language in use (Tessel.pdf is the Chinese one),
  // else the other one. Each is looked for beside the program (a build
  // tree), then in share/tessel beside the program's folder or in the data
  // folder configured at build time.
  const bool english = LanguageInUse() == Language::English;
  const char* wanted = english ? "Tessel_en.pdf" : "Tessel.pdf";
  std::filesystem::path path = FindResourceFile(wanted);
  if (path.empty()) path = FindResourceFile(english ? "Tessel.pdf" : "Tessel_en.pdf");
  if (path.empty()) path = ProgramFolder() / wanted;
  const QString document = QDir::toNativeSeparators(ToQString(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    host_->showMessage(tr("找不到帮助文档：\n%1").arg(document).toStdString());
    return;
  }
  if (openUrl_ && !openUrl_(QUrl::fromLocalFile(ToQString(path)))) {
    host_->showMessage(tr("没有可以打开帮助文档的程序：\n%1").arg(document).toStdString());
  }
}

void CTesselDlg::closeEvent(QCloseEvent* event) {
  if (previewWorker_) {
    event->ignore();  // the page is written in moments; the window stays until then
    return;
  }
  if (running_) {
    event->ignore();
    const auto& ask = host_->hooks().ask;
    if (ask && ask(this, ApplicationTitle(), tr("转换正在进行。要停止转换吗？"))) {
      // The run stops between two files; the window closes when it has.
      stop_ = true;
      closeAfterRun_ = true;
    }
    return;
  }
  QDialog::closeEvent(event);
}

void CTesselDlg::reject() {
  if (running_ || previewWorker_) return;
  QDialog::reject();
}

}  // namespace tessel
