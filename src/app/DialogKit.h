#pragma once
// Building blocks shared by the dialogs: the dialog-unit conversion of the
// classic dialog manager (for spacings and least sizes), controls made for a
// layout and tagged with their resource id, a check box whose caption wraps
// and a label that elides.
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QComboBox;
class QPushButton;
class QWidget;

namespace tessel {

// The name of the dynamic property carrying a control's resource id.
inline constexpr const char* kControlIdProperty = "controlId";

// Converts dialog units into pixels for one dialog font: a horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth
// of its height, each product rounded as the dialog manager's MulDiv does.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  DialogUnits(int avgCharWidth, int charHeight);

  int avgCharWidth() const { return avgCharWidth_; }
  int charHeight() const { return charHeight_; }

  int x(int units) const;
  int y(int units) const;
  QRect rect(int x, int y, int width, int height) const;
  QSize size(int width, int height) const;

  // (a * b) / c rounded half away from zero; 0 when c is 0.
  static int mulDiv(int a, int b, int c);

 private:
  int avgCharWidth_;
  int charHeight_;
};

// The system's default UI font at the given point size: the dialogs' font.
QFont DialogFont(int pointSize);

// A check box whose caption breaks at explicit line breaks and wraps at the
// control's width, the way a multi-line check box of the dialog manager does.
// The whole control rectangle is clickable.
class WrapCheckBox : public QCheckBox {
 public:
  explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QRect indicatorRect() const;
  QRect textRect() const;
};

// A one-line label that shows as much of its text as its width allows,
// leaving out the middle; then the whole text is its tooltip. With a link
// target it shows the text as that link.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(QWidget* parent = nullptr);
  void setFullText(const QString& text, const QString& link = QString());
  const QString& fullText() const { return full_; }
  bool elided() const { return elided_; }
  // The tooltip shown below the whole text (or alone when all of it shows).
  void setExtraToolTip(const QString& tip);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void refresh();
  QString full_, link_, extraTip_;
  bool elided_ = false;
};

// Makes the controls of a dialog in its font, each tagged with its resource
// id; the dialog's layout places them.
class DialogBuilder {
 public:
  DialogBuilder(QWidget* dialog, int pointSize);

  const DialogUnits& units() const { return units_; }

  // A label on one line, or with `wrap` one that wraps at the width the
  // layout gives it.
  QLabel* label(const QString& text, bool wrap = false);
  // A non-editable drop-down list as wide as its longest item.
  QComboBox* dropDown(int id, const QStringList& items);
  WrapCheckBox* checkBox(int id, const QString& text);
  QPushButton* button(int id, const QString& text);
  void tag(QWidget* control, int id) const;

 private:
  QWidget* dialog_;
  QFont font_;
  DialogUnits units_;
};

// Makes a dialog as tall as its layout needs at its width: a top-level
// window does not follow the height-for-width of wrapping texts by itself.
void FitHeightForWidth(QWidget* dialog);

// The control with the given resource id below `root`, or nullptr.
QWidget* FindControl(const QWidget* root, int id);
template <typename T>
T* FindControlAs(const QWidget* root, int id) {
  return qobject_cast<T*>(FindControl(root, id));
}

}  // namespace tessel
