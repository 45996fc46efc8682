#pragma once
// CConfigDlg: the configuration dialog with the baud rate and the ten flag
// check boxes from which the two flag registers are computed. Constructed
// with the main dialog, which never opens it.
#include <QDialog>
#include <array>
#include <cstdint>

class QComboBox;

namespace tessel {

class WrapCheckBox;

class CConfigDlg : public QDialog {
  Q_OBJECT

 public:
  enum : int {
    kIdOk = 1,
    kIdBaud = 1004,
    kIdFirstCheck = 1005,  // 1005 .. 1014
    kCheckCount = 10,
  };

  explicit CConfigDlg(QWidget* parent = nullptr);

  int baudIndex = 7;            // 115200
  // The two flag registers, computed when OK is pressed.
  std::uint8_t para1() const { return para1_; }
  std::uint8_t para2() const { return para2_; }
  // The ten check boxes 1005..1014, 0 or 1.
  std::array<int, kCheckCount> checks{1, 1, 0, 0, 1, 0, 0, 0, 1, 1};

  // Opening moves the values into the controls.
  void setVisible(bool visible) override;
  // OK: the controls become the values, then Para1 and Para2 are computed.
  void accept() override;

 private:
  void exchange(bool toValues);

  std::uint8_t para1_ = 0;
  std::uint8_t para2_ = 0;
  QComboBox* baud_ = nullptr;
  std::array<WrapCheckBox*, kCheckCount> boxes_{};
};

}  // namespace tessel
