#pragma once
// CSetupDlg: the parameter confirmation dialog of a Branch B run. The run's
// reader fills the nine values, the user confirms or corrects them.
#include <QDialog>

#include "model/SetupValues.h"

class QComboBox;
class QPushButton;

namespace tessel {

class WrapCheckBox;

class CSetupDlg : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the dialog resource.
  enum : int {
    kIdOk = 1,
    kIdBaud = 1004,
    kIdScreenRotation = 1016,
    kIdUseTouchFile = 1019,
    kIdCoordinateNotify = 1020,
    kIdLongPress = 1021,
    kIdTouchFileNotify = 1022,
    kIdTouchBeep = 1023,
    kIdRestoreBackground = 1024,
    kIdDelayedRefresh = 1025,
  };

  explicit CSetupDlg(QWidget* parent = nullptr);

  // The nine values. Set them before opening; read them after OK. A cancelled
  // dialog leaves them as they were when it opened.
  const SetupValues& values() const { return values_; }
  void setValues(const SetupValues& values) { values_ = values; }

  // Opening the dialog moves the values into the controls and back (a list
  // index without an item comes back as -1) and shows the notification list
  // that useTouchFile selects.
  void setVisible(bool visible) override;
  // OK: the controls become the values. Refused while no baud rate is chosen.
  void accept() override;
  // Close box or Esc: the values stay as they were when the dialog opened.
  void reject() override;

 private:
  void exchange(bool toValues);
  void showNotifyList();
  void updateOkButton();
  void touchFileClicked();
  void longPressClicked();

  SetupValues values_;
  SetupValues valuesAtOpen_;
  QComboBox* baud_ = nullptr;
  WrapCheckBox* useTouchFile_ = nullptr;
  QComboBox* coordinateNotify_ = nullptr;
  WrapCheckBox* longPress_ = nullptr;
  QComboBox* touchFileNotify_ = nullptr;
  QComboBox* touchBeep_ = nullptr;
  QComboBox* screenRotation_ = nullptr;
  WrapCheckBox* restoreBackground_ = nullptr;
  WrapCheckBox* delayedRefresh_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// The items of every baud-rate list: the line speeds of baudRates.
QStringList BaudRateItems();

// Shows `index` in `box`, or no selection when the list has no such item.
void SelectIndex(QComboBox* box, int index);

}  // namespace tessel
