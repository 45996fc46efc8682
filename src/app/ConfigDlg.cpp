#include "ConfigDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "DialogKit.h"
#include "SetupDlg.h"
#include "config/ConfigRegisters.h"

namespace tessel {

namespace {

struct CheckSpec {
  const char* caption;
  int x, y, w, h;
};

// Captions and positions of check boxes 1005..1014, in id order.
constexpr CheckSpec kChecks[CConfigDlg::kCheckCount] = {
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "松开触摸屏时，上传坐标通知0x72指令"), 27, 24, 214, 19},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "点击触摸屏，自动上传0x73/0x79指令\n勾上时以100毫秒的间隔定时上传，直到松开;\n"
     "未勾时仅在按下时上传一次。"),
     27, 47, 214, 33},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "点击触摸屏或键盘后，按照0x1E配置文件的要求进行触控、键控界面的切换"), 27, 83, 214, 22},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "背光有触摸屏或键盘控制，同时用户也可以通过0x5E/0x5F指令强制开关"), 27, 114, 214, 19},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "触摸屏或按键有蜂鸣器伴音"), 27, 146, 214, 10},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "当选择时，偏转90度显示"), 27, 167, 214, 10},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "触控模式下，蜂鸣器只有在点击有效位置时，鸣叫一次"), 27, 185, 214, 21},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "按下触摸控件时，上传0x79指令"), 27, 214, 214, 10},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "0 触摸屏坐标回传不跟随Para1.2变化 \n1 跟随Parad1.2(偏转90度显示)变化"), 250, 28, 197, 16},
    {QT_TRANSLATE_NOOP("tessel::CConfigDlg", "0 显示偏转180度(反视角显示) \n1 正常视角显示"), 250, 55, 197, 18},
};

}  // namespace

CConfigDlg::CConfigDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("配置参数"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setModal(true);

  DialogBuilder ui(this, 8);
  const DialogUnits& du = ui.units();
  // The baud rate and eight boxes on the left, two on the right, OK below.
  auto* grid = new QGridLayout(this);
  grid->setSizeConstraint(QLayout::SetMinimumSize);
  grid->setHorizontalSpacing(du.x(9));
  auto* baudRow = new QHBoxLayout;
  baudRow->addWidget(ui.label(tr("波特率")));
  baud_ = ui.dropDown(kIdBaud, BaudRateItems());
  baudRow->addWidget(baud_);
  baudRow->addStretch(1);
  grid->addLayout(baudRow, 0, 0);
  for (int i = 0; i < kCheckCount; ++i) {
    const CheckSpec& spec = kChecks[i];
    boxes_[i] = ui.checkBox(kIdFirstCheck + i, tr(spec.caption));
    boxes_[i]->setMinimumWidth(du.x(spec.w));
    const bool right = spec.x > 200;
    grid->addWidget(boxes_[i], right ? i - 7 : i + 1, right ? 1 : 0);
  }
  QPushButton* ok = ui.button(kIdOk, tr("确定"));
  ok->setMinimumSize(du.size(89, 26));
  ok->setDefault(true);
  grid->addWidget(ok, kCheckCount, 0, 1, 2, Qt::AlignHCenter);
  grid->setRowStretch(kCheckCount - 1, 1);
  resize(du.size(462, 265).expandedTo(minimumSizeHint()));
  connect(ok, &QPushButton::clicked, this, &CConfigDlg::accept);
}

void CConfigDlg::exchange(bool toValues) {
  if (toValues) {
    baudIndex = baud_->currentIndex();
    for (int i = 0; i < kCheckCount; ++i) checks[i] = boxes_[i]->isChecked() ? 1 : 0;
  } else {
    SelectIndex(baud_, baudIndex);
    for (int i = 0; i < kCheckCount; ++i) boxes_[i]->setChecked(checks[i] != 0);
  }
}

void CConfigDlg::setVisible(bool visible) {
  if (visible && !isVisible()) exchange(false);
  QDialog::setVisible(visible);
}

void CConfigDlg::accept() {
  exchange(true);
  std::array<bool, kCheckCount> ticked{};
  for (int i = 0; i < kCheckCount; ++i) ticked[i] = checks[i] != 0;
  const ParaRegisters registers = ComputePara(ticked);
  para1_ = registers.para1;
  para2_ = registers.para2;
  QDialog::accept();
}

}  // namespace tessel
