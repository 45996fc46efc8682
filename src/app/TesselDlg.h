#pragma once
// CTesselDlg: the main dialog. It collects the options of a conversion, picks
// the source folder, opens the help document and runs conversions on its
// own thread, one after another, keeping the Session between them.
#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "convert/ConversionRun.h"
#include "model/Settings.h"
#include "model/Session.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tessel {

class CConfigDlg;
class CSetupDlg;
class GuiHost;
class WrapCheckBox;

class CTesselDlg : public QDialog {
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
  };

  using RunFunction = std::function<RunResult(const ConversionSettings&, const RunOptions&,
                                              Session&, Host&)>;
  // Returns the chosen folder, or an empty string when the user cancelled.
  using FolderPicker = std::function<QString(QWidget* parent, const QString& title)>;
  using UrlOpener = std::function<void(const QUrl& url)>;

  explicit CTesselDlg(QWidget* parent = nullptr);
  ~CTesselDlg() override;

  // The options as last moved out of (or into) the controls.
  const ConversionSettings& settings() const { return settings_; }
  // Data exchange: true moves the controls into the settings, false the
  // settings into the controls.
  void updateData(bool toSettings);
  void setSettings(const ConversionSettings& settings);

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

  // Replaceable outside effects (tests, tools).
  void setRunFunction(RunFunction run) { run_ = std::move(run); }
  void setFolderPicker(FolderPicker picker) { pickFolder_ = std::move(picker); }
  void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

  // The three commands: start (button 1, Enter), browse (1001), help (1027).
  void startConversion();
  void browse();
  void openHelp();

  // The message listing outputs that could not be written.
  static QString writeFailureMessage(const std::vector<std::filesystem::path>& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  ConversionSettings settings_;
  Session session_;
  RunOptions runOptions_;
  std::unique_ptr<RunResult> lastResult_;
  bool running_ = false;

  RunFunction run_;
  FolderPicker pickFolder_;
  UrlOpener openUrl_;

  CConfigDlg* configDialog_ = nullptr;
  CSetupDlg* setupDialog_ = nullptr;
  std::unique_ptr<GuiHost> host_;

  QLineEdit* sourceEdit_ = nullptr;
  QComboBox* pictureFormat_ = nullptr;
  QComboBox* font_ = nullptr;
  QComboBox* rotation_ = nullptr;
  QComboBox* fontDisplay_ = nullptr;
  WrapCheckBox* deRipple_ = nullptr;
  WrapCheckBox* singlePictureFiles_ = nullptr;
  QPushButton* start_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace tessel
