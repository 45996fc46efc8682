#include "DialogKit.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdint>
#include <cstdlib>

namespace tessel {

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int AverageCharWidth(const QFont& font) {
  const QFontMetrics metrics(font);
  const int total = metrics.horizontalAdvance(QString::fromLatin1(kAlphabet));
  return DialogUnits::mulDiv(total, 1, 52);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : avgCharWidth_(AverageCharWidth(font)), charHeight_(QFontMetrics(font).height()) {}

DialogUnits::DialogUnits(int avgCharWidth, int charHeight)
    : avgCharWidth_(avgCharWidth), charHeight_(charHeight) {}

int DialogUnits::mulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t divisor = std::abs(static_cast<std::int64_t>(c));
  const std::int64_t magnitude = (std::abs(product) + divisor / 2) / divisor;
  const bool negative = (product < 0) != (c < 0);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

int DialogUnits::x(int units) const { return mulDiv(units, avgCharWidth_, 4); }
int DialogUnits::y(int units) const { return mulDiv(units, charHeight_, 8); }

QRect DialogUnits::rect(int x, int y, int width, int height) const {
  return QRect(this->x(x), this->y(y), this->x(width), this->y(height));
}

QSize DialogUnits::size(int width, int height) const { return QSize(x(width), y(height)); }

QFont DialogFont(int pointSize) {
  QFont font = QApplication::font();
  font.setPointSize(pointSize);
  return font;
}

// --- WrapCheckBox ---------------------------------------------------------

WrapCheckBox::WrapCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

QRect WrapCheckBox::indicatorRect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  // Centred vertically on the control, as the dialog manager draws it.
  indicator.moveTop((height() - indicator.height()) / 2);
  return indicator;
}

QRect WrapCheckBox::textRect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  const QRect indicator = indicatorRect();
  const int left = indicator.right() + 1 + spacing;
  return QRect(left, 0, std::max(0, width() - left), height());
}

QSize WrapCheckBox::sizeHint() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int indicatorWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
  const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  const QFontMetrics metrics(font());
  const QRect bounds = metrics.boundingRect(QRect(0, 0, 400, 10000), Qt::TextWordWrap, text());
  return QSize(indicatorWidth + spacing + bounds.width(), std::max(bounds.height(), indicatorWidth));
}

QSize WrapCheckBox::minimumSizeHint() const { return QSize(0, 0); }

int WrapCheckBox::heightForWidth(int width) const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int indicatorWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
  const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  const int room = std::max(1, width - indicatorWidth - spacing);
  const QRect bounds =
      QFontMetrics(font()).boundingRect(QRect(0, 0, room, 10000), Qt::TextWordWrap, text());
  return std::max(bounds.height(), indicatorWidth);
}

// --- ElidedLabel ----------------------------------------------------------

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text, const QString& link) {
  full_ = text;
  link_ = link;
  setTextFormat(link.isEmpty() ? Qt::PlainText : Qt::RichText);
  refresh();
  updateGeometry();
}

void ElidedLabel::setExtraToolTip(const QString& tip) {
  extraTip_ = tip;
  refresh();
}

QSize ElidedLabel::sizeHint() const {
  const QFontMetrics metrics(font());
  return QSize(metrics.horizontalAdvance(full_) + 2, metrics.height());
}

QSize ElidedLabel::minimumSizeHint() const {
  const QFontMetrics metrics(font());
  return QSize(metrics.horizontalAdvance(QStringLiteral("…")) * 4, metrics.height());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  refresh();
}

void ElidedLabel::refresh() {
  const QFontMetrics metrics(font());
  const QString shown = metrics.elidedText(full_, Qt::ElideMiddle, std::max(0, width() - 2));
  elided_ = shown != full_;
  setText(link_.isEmpty() ? shown
                          : QStringLiteral("<a href=\"%1\">%2</a>")
                                .arg(link_.toHtmlEscaped(), shown.toHtmlEscaped()));
  QStringList tip;
  if (elided_) tip << full_;
  if (!extraTip_.isEmpty()) tip << extraTip_;
  setToolTip(tip.join(QLatin1Char('\n')));
}

bool WrapCheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void WrapCheckBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);

  QStyleOptionButton indicator = option;
  indicator.rect = indicatorRect();
  style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, &painter, this);

  const QRect area = textRect();
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(area, flags, text());

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = painter.boundingRect(area, flags, text()).adjusted(-1, 0, 1, 0) & rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

// --- DialogBuilder --------------------------------------------------------

DialogBuilder::DialogBuilder(QWidget* dialog, int pointSize)
    : dialog_(dialog), font_(DialogFont(pointSize)), units_(font_) {
  dialog_->setFont(font_);
}

void DialogBuilder::tag(QWidget* control, int id) const {
  control->setProperty(kControlIdProperty, id);
}

QLabel* DialogBuilder::label(const QString& text, bool wrap) {
  auto* label = new QLabel(text, dialog_);
  label->setWordWrap(wrap);
  return label;
}

void FitHeightForWidth(QWidget* dialog) {
  QLayout* layout = dialog->layout();
  if (!layout) return;
  layout->activate();
  const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(dialog->width())
                                                 : layout->totalMinimumSize().height();
  if (needed > dialog->height()) dialog->resize(dialog->width(), needed);
}

QComboBox* DialogBuilder::dropDown(int id, const QStringList& items) {
  auto* box = new QComboBox(dialog_);
  box->setEditable(false);
  box->addItems(items);
  box->setMaxVisibleItems(std::max(1, static_cast<int>(items.size())));
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tag(box, id);
  return box;
}

WrapCheckBox* DialogBuilder::checkBox(int id, const QString& text) {
  auto* box = new WrapCheckBox(text, dialog_);
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  box->setSizePolicy(policy);
  tag(box, id);
  return box;
}

QPushButton* DialogBuilder::button(int id, const QString& text) {
  auto* button = new QPushButton(text, dialog_);
  // A focused button takes Enter; otherwise the default button does.
  button->setAutoDefault(true);
  tag(button, id);
  return button;
}

QWidget* FindControl(const QWidget* root, int id) {
  if (!root) return nullptr;
  const auto children = root->findChildren<QWidget*>();
  for (QWidget* child : children) {
    // Controls of a secondary dialog owned by `root` are not root's own.
    if (child->window() != root->window()) continue;
    const QVariant value = child->property(kControlIdProperty);
    if (value.isValid() && value.toInt() == id) return child;
  }
  return nullptr;
}

}  // namespace tessel
