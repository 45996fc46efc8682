#include "DialogKit.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdint>
#include <cstdlib>

namespace tessel {

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int averageCharWidth(const QFont& font) {
  const QFontMetrics metrics(font);
  const int total = metrics.horizontalAdvance(QString::fromLatin1(kAlphabet));
  return DialogUnits::mulDiv(total, 1, 52);
}

// Drop-down lists sized in dialog units were made for the narrow arrow of the
// classic dialog manager; the widget styles here draw a wider one. This style
// narrows the arrow and the text margin so the longest items still fit.
class CompactComboStyle : public QProxyStyle {
 public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub, const QWidget* widget) const override {
    QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
    if (control != CC_ComboBox) return rect;
    const int narrower = 4;
    if (sub == SC_ComboBoxArrow) {
      rect.setLeft(rect.left() + narrower);
    } else if (sub == SC_ComboBoxEditField) {
      rect.setRight(rect.right() + narrower);
      rect.setLeft(std::max(2, rect.left() - 1));
    }
    return rect;
  }
};

QStyle* compactComboStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new CompactComboStyle;
    style->setParent(qApp);
  }
  return style;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : avgCharWidth_(averageCharWidth(font)), charHeight_(QFontMetrics(font).height()) {}

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

QFont dialogFont(int pointSize) {
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
    : dialog_(dialog), font_(dialogFont(pointSize)), units_(font_) {
  dialog_->setFont(font_);
}

void DialogBuilder::sizeDialog(int width, int height) {
  dialog_->setFixedSize(units_.size(width, height));
}

void DialogBuilder::tag(QWidget* control, int id) const {
  control->setProperty(kControlIdProperty, id);
}

QLabel* DialogBuilder::label(const QString& text, int x, int y, int w, int h, bool rightAligned) {
  auto* label = new QLabel(text, dialog_);
  label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
  label->setWordWrap(true);
  // A text mixing scripts can be taller than the dialog font's own height
  // (the fallback font's ascent); such a label grows downwards rather than
  // cutting off its descenders.
  QRect area = units_.rect(x, y, w, h);
  area.setHeight(std::max(area.height(), label->heightForWidth(area.width())));
  label->setGeometry(area);
  return label;
}

QComboBox* DialogBuilder::dropDown(int id, const QStringList& items, int x, int y, int w) {
  auto* box = new QComboBox(dialog_);
  box->setStyle(compactComboStyle());
  box->setEditable(false);
  box->addItems(items);
  box->setMaxVisibleItems(std::max(1, static_cast<int>(items.size())));
  const int height = box->sizeHint().height();
  box->setGeometry(units_.x(x), units_.y(y), units_.x(w), height);
  tag(box, id);
  return box;
}

WrapCheckBox* DialogBuilder::checkBox(int id, const QString& text, int x, int y, int w, int h) {
  auto* box = new WrapCheckBox(text, dialog_);
  box->setGeometry(units_.rect(x, y, w, h));
  tag(box, id);
  return box;
}

QPushButton* DialogBuilder::button(int id, const QString& text, int x, int y, int w, int h) {
  auto* button = new QPushButton(text, dialog_);
  button->setGeometry(units_.rect(x, y, w, h));
  // A focused button takes Enter; otherwise the default button does.
  button->setAutoDefault(true);
  tag(button, id);
  return button;
}

QWidget* findControl(const QWidget* root, int id) {
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
