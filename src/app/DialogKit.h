#pragma once
// Building blocks shared by the three dialogs: the dialog-unit conversion of
// the classic dialog manager, controls placed at dialog-unit rectangles and
// tagged with their resource id, and a check box whose caption wraps.
#include <QCheckBox>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
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
QFont dialogFont(int pointSize);

// A check box whose caption breaks at explicit line breaks and wraps at the
// control's width, the way a multi-line check box of the dialog manager does.
// The whole control rectangle is clickable.
class WrapCheckBox : public QCheckBox {
 public:
  explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QRect indicatorRect() const;
  QRect textRect() const;
};

// Places controls on a dialog at dialog-unit rectangles.
class DialogBuilder {
 public:
  DialogBuilder(QWidget* dialog, int pointSize);

  const DialogUnits& units() const { return units_; }
  // Gives the dialog its font and its fixed client size.
  void sizeDialog(int width, int height);

  QLabel* label(const QString& text, int x, int y, int w, int h, bool rightAligned = false);
  // A non-editable drop-down list; its closed height is the style's, the
  // position and width come from the dialog units.
  QComboBox* dropDown(int id, const QStringList& items, int x, int y, int w);
  WrapCheckBox* checkBox(int id, const QString& text, int x, int y, int w, int h);
  QPushButton* button(int id, const QString& text, int x, int y, int w, int h);
  void tag(QWidget* control, int id) const;

 private:
  QWidget* dialog_;
  QFont font_;
  DialogUnits units_;
};

// The control with the given resource id below `root`, or nullptr.
QWidget* findControl(const QWidget* root, int id);
template <typename T>
T* findControlAs(const QWidget* root, int id) {
  return qobject_cast<T*>(findControl(root, id));
}

}  // namespace tessel
