#pragma once
// CCardDlg: copies the output of a run to an SD card. It offers the
// removable volumes it finds or a folder the user picks, copies on a worker
// thread with the count and the bytes on its bar, can stop between two files,
// and says "safe to remove" only once every file was read back equal.
#include <QDialog>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>

#include "card/CardCopy.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace tessel {

class ElidedLabel;

class CCardDlg : public QDialog {
  Q_OBJECT

 public:
  enum : int {
    kIdCardTarget = 1040,  // the card: a volume found, or a folder picked
    kIdCardPick = 1041,    // "其他文件夹..."
    kIdCardWrite = 1042,   // "写入"
    kIdCardStop = 1043,    // "停止"
    kIdCardStatus = 1044,  // what the copy did
  };
  using FolderPicker =
      std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
  using Question = std::function<bool(QWidget* parent, const QString& title, const QString& text)>;

  explicit CCardDlg(const std::filesystem::path& outputRoot, QWidget* parent = nullptr);
  ~CCardDlg() override;

  void setFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }
  void setQuestion(Question ask) { ask_ = std::move(ask); }

  // Adds a folder to the list of cards and selects it.
  void setTarget(const std::filesystem::path& cardRoot);
  std::filesystem::path target() const;
  // The commands: pick a folder, write, stop.
  void pickFolder();
  void write();
  void stop() { stop_ = true; }
  // Returns once no copy goes on.
  void waitForCopy();
  bool copying() const { return worker_ != nullptr; }
  const card::CardResult* lastResult() const { return result_.get(); }
  QString statusText() const;

 Q_SIGNALS:
  void copyFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void reject() override;

 private:
  void showProgress(const card::CardProgress& progress);
  void finishCopy(std::shared_ptr<card::CardResult> result);
  void setInputEnabled(bool enabled);

  std::filesystem::path outputRoot_;
  std::unique_ptr<card::CardResult> result_;
  std::atomic<bool> stop_{false};
  QThread* worker_ = nullptr;
  FolderPicker pickFolder_;
  Question ask_;

  QComboBox* target_ = nullptr;
  QPushButton* pick_ = nullptr;
  QPushButton* write_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QPushButton* close_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* counts_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace tessel
