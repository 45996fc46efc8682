#pragma once
// CTesselDlg: the main dialog. It collects the options of a conversion, picks
// the source folder, opens the help document and runs conversions one after
// another on a worker thread, keeping the Session between them. After a run
// it shows the output folder, a status line with the totals and, when there
// were warnings, a button that lists them.
#include <QDialog>
#include <QString>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>

#include "convert/ConversionRun.h"
#include "model/Session.h"
#include "model/Settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace tessel {

class CConfigDlg;
class CSetupDlg;
class ElidedLabel;
class GuiHost;
class ThreadHost;
class WrapCheckBox;

class CTesselDlg : public QDialog {
  Q_OBJECT

 public:
  enum : int {
    kIdStart = 1,
    kIdSourceFolder = 1000,
    kIdBrowse = 1001,
    kIdRotation = 1016,
    kIdPictureFormat = 1017,
    kIdDeRipple = 1018,
    kIdFont = 1019,
    kIdSinglePictureFiles = 1020,
    kIdFontDisplay = 1021,
    kIdHelp = 1027,
    kIdOutputFolder = 1030,  // the output folder, a link once a run has written it
    kIdPreview = 1031,       // "预览": the page of the output
    kIdStatus = 1032,        // the branch and the totals of the last run
    kIdDetails = 1033,       // every warning and skipped input of the last run
    kIdChangeOutput = 1034,  // "更改...": picks the output root
    kIdCard = 1035,          // "写入SD卡...": copies the output to a card
    kIdSmallest = 1036,      // the stronger compression of every zlib stream
  };

  using RunFunction = std::function<RunResult(const ConversionSettings&, const RunOptions&,
                                              Session&, Host&)>;
  // Returns the chosen folder, or an empty string when the user cancelled.
  using FolderPicker =
      std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
  using UrlOpener = std::function<bool(const QUrl& url)>;
  // Told (from the preview's thread) the pictures drawn and their total.
  using PreviewProgress = std::function<void(int done, int total)>;

  explicit CTesselDlg(QWidget* parent = nullptr);
  ~CTesselDlg() override;

  // The options as last moved out of (or into) the controls.
  const ConversionSettings& settings() const { return settings_; }
  // Data exchange: true moves the controls into the settings, false the
  // settings into the controls.
  void updateData(bool toSettings);
  // The output root of the next runs (empty: Documents/TESSEL).
  void setOutputRoot(const std::filesystem::path& root);
  // Makes `path` the source folder: a folder, or the folder of a file in it.
  // Returns false (and changes nothing) for a path that is neither.
  bool takeSource(const QString& path);

  // What carries over between runs: the confirmed device parameters and the
  // icon rotation.
  Session& session() { return session_; }
  CSetupDlg& setupDialog() { return *setupDialog_; }
  CConfigDlg& configDialog() { return *configDialog_; }
  GuiHost& host() { return *host_; }
  // Where runs write and which resources they use; by default the Documents
  // output root, the resource folder and one job per processor.
  RunOptions& runOptions() { return runOptions_; }
  // The result of the last run; null before the first one.
  const RunResult* lastResult() const { return lastResult_.get(); }
  bool running() const { return running_; }
  // The text of the status line and of the details list.
  QString statusText() const;
  QString detailsText() const;

  // Replaceable outside effects (tests, tools).
  void setRunFunction(RunFunction run) { run_ = std::move(run); }
  void setFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }
  void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }
  // Opens the card dialog for an output root (tests: records it instead).
  using CardOpener = std::function<void(QWidget* parent, const std::filesystem::path& root)>;
  void setCardOpener(CardOpener opener) { openCard_ = std::move(opener); }

  // The commands: start (button 1, Enter), browse (1001), help (1027), the
  // output link, preview (1031), details (1033).
  void startConversion();
  void browse();
  void openHelp();
  void openOutput();
  void openPreview();
  void showDetails();
  // "更改...": the output root for the next runs.
  void changeOutput();
  // "写入SD卡...": the output of the last run to a card.
  void openCard();
  // Returns once no run goes on (the window keeps working meanwhile).
  void waitForRun();
  // Returns once no preview page is being written.
  void waitForPreview();
  bool writingPreview() const { return previewWorker_ != nullptr; }

  // The message listing outputs that could not be written.
  static QString writeFailureMessage(const std::vector<std::filesystem::path>& paths);

 Q_SIGNALS:
  void runFinished();
  void previewFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void reject() override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void setInputEnabled(bool enabled);
  void finishRun(std::shared_ptr<RunResult> result, const QString& failure);
  void showOutcome();
  void finishPreview(const std::filesystem::path& page, const QString& error);
  std::filesystem::path shownOutputRoot() const;
  bool lastRunWroteShownRoot() const;

  ConversionSettings settings_;
  Session session_;
  RunOptions runOptions_;
  std::unique_ptr<RunResult> lastResult_;
  bool running_ = false;
  bool closeAfterRun_ = false;
  std::atomic<bool> stop_{false};

  RunFunction run_;
  FolderPicker pickFolder_;
  UrlOpener openUrl_;
  CardOpener openCard_;
  QThread* previewWorker_ = nullptr;

  CConfigDlg* configDialog_ = nullptr;
  CSetupDlg* setupDialog_ = nullptr;
  std::unique_ptr<GuiHost> host_;
  std::unique_ptr<ThreadHost> threadHost_;
  QThread* worker_ = nullptr;

  QLineEdit* sourceEdit_ = nullptr;
  QComboBox* pictureFormat_ = nullptr;
  QComboBox* font_ = nullptr;
  QComboBox* rotation_ = nullptr;
  QComboBox* fontDisplay_ = nullptr;
  WrapCheckBox* deRipple_ = nullptr;
  WrapCheckBox* smallest_ = nullptr;
  WrapCheckBox* singlePictureFiles_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* start_ = nullptr;
  QProgressBar* progress_ = nullptr;
  ElidedLabel* outputLink_ = nullptr;
  QPushButton* changeOutput_ = nullptr;
  QPushButton* card_ = nullptr;
  QLabel* previewLink_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* details_ = nullptr;
};

}  // namespace tessel
