#include "CardDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QThread>

#include "DialogKit.h"
#include "GuiHost.h"
#include "model/OutputLayout.h"
#include "util/Paths.h"

namespace tessel {

namespace {

QString MegabytesText(std::uint64_t bytes) {
  return QString::number(static_cast<double>(bytes) / 1e6, 'f', 1);
}

}  // namespace

CCardDlg::CCardDlg(const std::filesystem::path& outputRoot, QWidget* parent)
    : QDialog(parent), outputRoot_(outputRoot) {
  setWindowTitle(tr("写入SD卡 - %1").arg(ApplicationTitle()));
  pickFolder_ = [](QWidget* owner, const QString& title, const QString& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
  };
  ask_ = GuiHost::defaultHooks().ask;

  DialogBuilder ui(this, 9);
  const DialogUnits& du = ui.units();
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetMinimumSize);
  grid->setColumnStretch(1, 1);

  grid->addWidget(ui.label(tr("输出目录：")), 0, 0);
  auto* output = new ElidedLabel(this);
  output->setFullText(
      QDir::toNativeSeparators(ToQString(OutputLayout(outputRoot).privateFolder())));
  grid->addWidget(output, 0, 1, 1, 2);

  grid->addWidget(ui.label(tr("SD卡：")), 1, 0);
  target_ = new QComboBox(this);
  target_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  target_->setMinimumContentsLength(16);
  ui.tag(target_, kIdCardTarget);
  for (const card::CardVolume& volume : card::CardVolumes()) {
    const QString root = QDir::toNativeSeparators(ToQString(volume.root));
    // A volume without a label of its own is named by its folder.
    const QString name = QString::fromStdString(volume.name);
    const QString text =
        name.isEmpty() || QDir::toNativeSeparators(name) == root
            ? tr("%1（可用 %2 MB）").arg(root, MegabytesText(volume.available))
            : tr("%1（%2，可用 %3 MB）").arg(name, root, MegabytesText(volume.available));
    target_->addItem(text, root);
    target_->setItemData(target_->count() - 1, text, Qt::ToolTipRole);
  }
  // A long name shows elided in the list; the whole of it as the tooltip.
  connect(target_, &QComboBox::currentIndexChanged, this, [this](int index) {
    target_->setToolTip(index < 0 ? QString()
                                  : target_->itemData(index, Qt::ToolTipRole).toString());
  });
  grid->addWidget(target_, 1, 1);
  pick_ = ui.button(kIdCardPick, tr("其他文件夹..."));
  grid->addWidget(pick_, 1, 2);

  grid->addWidget(
      ui.label(tr("SD卡根目录中的 private 目录将被替换；写入完成并校验后才会替换。"), true), 2, 0,
      1, 3);
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(true);
  progress_->setFormat(QStringLiteral("%v/%m"));
  progress_->hide();  // until a copy starts
  grid->addWidget(progress_, 3, 0, 1, 3);
  counts_ = new QLabel(this);
  counts_->setWordWrap(true);
  counts_->hide();
  grid->addWidget(counts_, 4, 0, 1, 3);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ui.tag(status_, kIdCardStatus);
  grid->addWidget(status_, 5, 0, 1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  write_ = ui.button(kIdCardWrite, tr("写入"));
  write_->setDefault(true);
  stopButton_ = ui.button(kIdCardStop, tr("停止"));
  stopButton_->setEnabled(false);
  close_ = ui.button(0, tr("关闭"));
  for (QPushButton* b : {write_, stopButton_, close_}) {
    b->setMinimumWidth(du.x(50));
    buttons->addWidget(b);
  }
  grid->addLayout(buttons, 6, 0, 1, 3);

  resize(du.size(280, 0).expandedTo(minimumSizeHint()));

  connect(pick_, &QPushButton::clicked, this, [this] { pickFolder(); });
  connect(write_, &QPushButton::clicked, this, [this] { write(); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { stop(); });
  connect(close_, &QPushButton::clicked, this, [this] { reject(); });
  if (target_->count() == 0) {
    status_->setText(tr("没有找到可移动的磁盘：请插入SD卡，或用“其他文件夹...”选择它的根目录。"));
  }
}

CCardDlg::~CCardDlg() {
  stop_ = true;
  waitForCopy();
}

void CCardDlg::setTarget(const std::filesystem::path& cardRoot) {
  const QString root = QDir::toNativeSeparators(ToQString(cardRoot));
  int index = target_->findData(root);
  if (index < 0) {
    target_->addItem(root, root);
    index = target_->count() - 1;
    target_->setItemData(index, root, Qt::ToolTipRole);
  }
  target_->setCurrentIndex(index);
  target_->setToolTip(root);
}

std::filesystem::path CCardDlg::target() const {
  return target_->currentIndex() < 0 ? std::filesystem::path()
                                     : ToPath(target_->currentData().toString());
}

void CCardDlg::pickFolder() {
  const QString folder =
      pickFolder_ ? pickFolder_(this, tr("请选择SD卡的根目录："), target_->currentData().toString())
                  : QString();
  if (!folder.isEmpty()) setTarget(ToPath(folder));
}

void CCardDlg::setInputEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{target_, pick_, write_, close_}) {
    w->setEnabled(enabled);
  }
  stopButton_->setEnabled(!enabled);
}

void CCardDlg::write() {
  if (worker_) return;
  const std::filesystem::path cardRoot = target();
  if (cardRoot.empty()) {
    status_->setText(tr("请先选择SD卡。"));
    return;
  }
  stop_ = false;
  result_.reset();
  setInputEnabled(false);
  status_->setText(tr("正在写入……请勿拔出SD卡。"));
  progress_->setRange(0, 0);
  progress_->show();
  counts_->clear();
  counts_->show();
  worker_ = QThread::create([this, cardRoot] {
    card::CardOptions options;
    options.stop = &stop_;
    options.progress = [this](const card::CardProgress& p) {
      QMetaObject::invokeMethod(
          this, [this, p] { showProgress(p); }, Qt::QueuedConnection);
    };
    // The same question as for an output folder holding files no run writes.
    options.confirmForeign = [this](const std::filesystem::path& priv,
                                    const std::filesystem::path& foreign) {
      bool yes = false;
      QMetaObject::invokeMethod(
          this,
          [&] {
            yes = ask_ && ask_(this, ApplicationTitle(),
                               tr("SD卡上的 %1 中有不是转换生成的文件（例如 %2）。\n"
                                  "用本次的输出替换整个目录吗？")
                                   .arg(QDir::toNativeSeparators(ToQString(priv)),
                                        QDir::toNativeSeparators(ToQString(foreign))));
          },
          Qt::BlockingQueuedConnection);
      return yes;
    };
    auto result =
        std::make_shared<card::CardResult>(card::CopyToCard(outputRoot_, cardRoot, options));
    QMetaObject::invokeMethod(
        this, [this, result] { finishCopy(result); }, Qt::QueuedConnection);
  });
  worker_->start();
}

void CCardDlg::showProgress(const card::CardProgress& p) {
  progress_->setRange(0, std::max(p.filesTotal, 1));
  progress_->setValue(p.filesDone);
  counts_->setText((p.verifying ? tr("正在校验：%1/%2 个文件，%3/%4 MB")
                                : tr("正在写入：%1/%2 个文件，%3/%4 MB"))
                       .arg(p.filesDone)
                       .arg(p.filesTotal)
                       .arg(MegabytesText(p.bytesDone), MegabytesText(p.bytesTotal)));
}

void CCardDlg::finishCopy(std::shared_ptr<card::CardResult> result) {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  result_ = std::make_unique<card::CardResult>(*result);
  setInputEnabled(true);
  // The bar and the counts stay only over a verified copy.
  progress_->setVisible(result_->outcome == card::CardOutcome::Verified);
  counts_->setVisible(result_->outcome == card::CardOutcome::Verified);
  status_->setText(statusText());
  FitHeightForWidth(this);
  write_->setDefault(false);
  close_->setDefault(true);
  close_->setFocus();
  Q_EMIT copyFinished();
}

QString CCardDlg::statusText() const {
  if (!result_) return {};
  const card::CardResult& r = *result_;
  switch (r.outcome) {
    case card::CardOutcome::Verified:
      return tr("已写入 %1 个文件（%2 MB）并逐一校验无误：%3\n现在可以安全移除SD卡。")
          .arg(r.files)
          .arg(MegabytesText(r.bytes), QDir::toNativeSeparators(ToQString(r.cardPrivate)));
    case card::CardOutcome::Refused:
      return tr("未写入：%1").arg(QString::fromStdString(Printable(r.message)));
    case card::CardOutcome::Failed:
      return tr("写入失败，SD卡上原有的 private 目录保持不变：%1")
          .arg(QString::fromStdString(Printable(r.message)));
    case card::CardOutcome::Stopped: return tr("已停止，SD卡上原有的 private 目录保持不变。");
  }
  return {};
}

void CCardDlg::waitForCopy() {
  if (!worker_) return;
  QEventLoop loop;
  connect(this, &CCardDlg::copyFinished, &loop, &QEventLoop::quit);
  loop.exec();
}

void CCardDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (event->size().width() != event->oldSize().width()) FitHeightForWidth(this);
}

void CCardDlg::closeEvent(QCloseEvent* event) {
  if (worker_) {
    // The copy stops between two files; the window closes when it has.
    stop_ = true;
    event->ignore();
    connect(this, &CCardDlg::copyFinished, this, &QDialog::close, Qt::SingleShotConnection);
    return;
  }
  QDialog::closeEvent(event);
}

void CCardDlg::reject() {
  if (worker_) {
    stop_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace tessel
