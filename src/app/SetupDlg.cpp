#include "SetupDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "DialogKit.h"
#include "config/Baud.h"

namespace tessel {

QStringList BaudRateItems() {
  QStringList items;
  for (int rate : baudRates) items << QString::number(rate);
  return items;
}

void SelectIndex(QComboBox* box, int index) {
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

CSetupDlg::CSetupDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("确定参数，如果不正确请手动修改！"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setModal(true);

  DialogBuilder ui(this, 8);
  const DialogUnits& du = ui.units();
  // The rows of the dialog resource: each label right of its list, the
  // long-press box beside the notification list, OK centred below.
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetMinimumSize);
  grid->setHorizontalSpacing(du.x(6));
  grid->setColumnStretch(2, 1);
  const auto rightAligned = [&](const QString& text) {
    QLabel* label = ui.label(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
  };

  // Creation order is the tab order of the dialog resource.
  ok_ = ui.button(kIdOk, tr("确定"));
  ok_->setDefault(true);
  ok_->setMinimumSize(du.size(75, 22));
  grid->addWidget(rightAligned(tr("波特率")), 0, 0);
  baud_ = ui.dropDown(kIdBaud, BaudRateItems());
  grid->addWidget(baud_, 0, 1, Qt::AlignLeft);
  useTouchFile_ = ui.checkBox(kIdUseTouchFile, tr("使用触摸配置文件（未勾选时使用坐标通知）"));
  grid->addWidget(useTouchFile_, 1, 0, 1, 3);
  grid->addWidget(rightAligned(tr("触摸通知")), 2, 0);
  coordinateNotify_ = ui.dropDown(
      kIdCoordinateNotify, {tr("按下(0x73)"), tr("按下(0x73)+松开(0x72)")});
  grid->addWidget(coordinateNotify_, 2, 1);
  longPress_ = ui.checkBox(kIdLongPress, tr("长按通知(100毫秒间隔)"));
  grid->addWidget(longPress_, 2, 2);
  touchFileNotify_ = ui.dropDown(
      kIdTouchFileNotify, {tr("松开(0x78)"), tr("按下(0x79)+松开(0x78)")});
  touchFileNotify_->hide();
  grid->addWidget(touchFileNotify_, 2, 1);  // in the place of the other list
  grid->addWidget(rightAligned(tr("触摸蜂鸣")), 3, 0);
  touchBeep_ = ui.dropDown(kIdTouchBeep,
                           {tr("不响"), tr("按压任意位置"), tr("仅按压触摸有效区域")});
  grid->addWidget(touchBeep_, 3, 1);
  grid->addWidget(rightAligned(tr("屏幕旋转")), 4, 0);
  screenRotation_ = ui.dropDown(kIdScreenRotation, {tr("不旋转"), tr("顺时钟90度"),
                                                    tr("顺时钟180度"), tr("顺时钟270度")});
  grid->addWidget(screenRotation_, 4, 1);
  restoreBackground_ = ui.checkBox(kIdRestoreBackground, tr("显示文字时，自动用背景图片恢复"));
  grid->addWidget(restoreBackground_, 5, 0, 1, 3);
  delayedRefresh_ =
      ui.checkBox(kIdDelayedRefresh, tr("延时200毫秒刷新，确保连续的指令同步刷新"));
  delayedRefresh_->hide();  // never shown; its value still passes through
  grid->addWidget(delayedRefresh_, 6, 0, 1, 3);
  grid->addWidget(ok_, 7, 0, 1, 3, Qt::AlignHCenter);
  resize(du.size(316, 166).expandedTo(minimumSizeHint()));

  connect(ok_, &QPushButton::clicked, this, &CSetupDlg::accept);
  connect(useTouchFile_, &QCheckBox::clicked, this, [this] { touchFileClicked(); });
  connect(longPress_, &QCheckBox::clicked, this, [this] { longPressClicked(); });
  connect(baud_, &QComboBox::currentIndexChanged, this, [this] { updateOkButton(); });
}

void CSetupDlg::exchange(bool toValues) {
  if (toValues) {
    values_.baudIndex = baud_->currentIndex();
    values_.useTouchFile = useTouchFile_->isChecked();
    values_.coordinateNotify = coordinateNotify_->currentIndex();
    values_.touchFileNotify = touchFileNotify_->currentIndex();
    values_.longPressNotify = longPress_->isChecked();
    values_.touchBeep = touchBeep_->currentIndex();
    values_.screenRotation = screenRotation_->currentIndex();
    values_.restoreTextBackground = restoreBackground_->isChecked();
    values_.delayedRefresh = delayedRefresh_->isChecked();
  } else {
    SelectIndex(baud_, values_.baudIndex);
    useTouchFile_->setChecked(values_.useTouchFile);
    SelectIndex(coordinateNotify_, values_.coordinateNotify);
    SelectIndex(touchFileNotify_, values_.touchFileNotify);
    longPress_->setChecked(values_.longPressNotify);
    SelectIndex(touchBeep_, values_.touchBeep);
    SelectIndex(screenRotation_, values_.screenRotation);
    restoreBackground_->setChecked(values_.restoreTextBackground);
    delayedRefresh_->setChecked(values_.delayedRefresh);
  }
}

void CSetupDlg::showNotifyList() {
  coordinateNotify_->setVisible(!values_.useTouchFile);
  touchFileNotify_->setVisible(values_.useTouchFile);
}

void CSetupDlg::updateOkButton() {
  // A rate outside the list would reach config.txt: OK waits for a choice.
  ok_->setEnabled(baud_->currentIndex() >= 0);
}

void CSetupDlg::setVisible(bool visible) {
  if (visible && !isVisible()) {
    valuesAtOpen_ = values_;
    exchange(false);
    exchange(true);
    showNotifyList();
    updateOkButton();
  }
  QDialog::setVisible(visible);
}

void CSetupDlg::touchFileClicked() {
  exchange(true);
  showNotifyList();
}

void CSetupDlg::longPressClicked() {
  exchange(true);
  if (values_.longPressNotify) {
    values_.coordinateNotify = 1;
    values_.touchFileNotify = 1;
    exchange(false);
  }
}

void CSetupDlg::accept() {
  if (baud_->currentIndex() < 0) return;
  exchange(true);
  QDialog::accept();
}

void CSetupDlg::reject() {
  values_ = valuesAtOpen_;
  QDialog::reject();
}

}  // namespace tessel
