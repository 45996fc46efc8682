#pragma once
// GuiHost: how a run talks to the user of the desktop application. Messages
// are modal boxes with the application's title, the device parameters are
// confirmed in the modal CSetupDlg, the output opens in the file manager.
// Every outside effect goes through a replaceable hook, so that tests can
// watch a run without blocking on a modal window.
//
// A run goes on a worker thread; ThreadHost passes what it says to the
// GuiHost on the GUI thread: the calls that need the user (a message, the
// parameters) wait for the answer, the others (progress, warnings, the wait
// cursor) are queued in order.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "convert/Host.h"

class QProgressBar;
class QWidget;

namespace tessel {

class CSetupDlg;

// The title of the program's message boxes.
QString ApplicationTitle();

class GuiHost : public Host {
 public:
  struct Hooks {
    // Shows a modal message box with an OK button.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> message;
    // Runs the parameter dialog modally; returns its result code.
    std::function<int(CSetupDlg& dialog)> runSetup;
    // Opens a folder or document with the desktop's handler.
    std::function<void(const QUrl& url)> openUrl;
    // Blocks the run's thread for the given time (the window repaints: it
    // is on the other thread).
    std::function<void(int milliseconds)> wait;
    // Asks a Yes/No question; true for Yes.
    std::function<bool(QWidget* parent, const QString& title, const QString& text)> ask;
  };

  // The default hooks: QMessageBox, exec(), QDesktopServices, a real wait.
  static Hooks defaultHooks();

  // `parent` owns the message boxes; `setupDialog` is the dialog whose values
  // carry over; `progressBar` may be null.
  GuiHost(QWidget* parent, CSetupDlg& setupDialog, QProgressBar* progressBar,
          Hooks hooks = defaultHooks());
  ~GuiHost() override;

  Hooks& hooks() { return hooks_; }

  void showMessage(const std::string& text) override;
  // The system's message, then the path it is about on a line of its own.
  void systemMessage(Message message, const std::filesystem::path& about,
                     const std::filesystem::path& other = {}) override;
  bool confirmSetup(SetupValues& values) override;
  bool confirmRemoval(const std::filesystem::path& privateFolder,
                      const std::filesystem::path& firstForeign) override;
  bool confirmLockTakeover(const std::filesystem::path& lockFile,
                           const std::string& holder) override;
  void openFolder(const std::filesystem::path& folder) override;
  void busy(bool on) override;
  void pause(int milliseconds) override;
  void progress(int done, int total) override;
  void warning(const std::string& text) override;

  // Ends a wait cursor left by a run that did not end it.
  void endBusy();
  // The warnings of the current (or last) run, as they came.
  const QStringList& warnings() const { return warnings_; }
  void clearWarnings() { warnings_.clear(); }

 private:
  bool ask(const QString& text);

  QWidget* parent_;
  CSetupDlg& setupDialog_;
  QProgressBar* progressBar_;
  Hooks hooks_;
  int busyDepth_ = 0;
  QStringList warnings_;
};

// The host a run on a worker thread talks to: every call is carried out by
// `gui` on the thread of `context`.
class ThreadHost : public Host {
 public:
  ThreadHost(GuiHost& gui, QObject* context) : gui_(gui), context_(context) {}

  void showMessage(const std::string& text) override;
  void systemMessage(Message message, const std::filesystem::path& about,
                     const std::filesystem::path& other = {}) override;
  bool confirmSetup(SetupValues& values) override;
  bool confirmRemoval(const std::filesystem::path& privateFolder,
                      const std::filesystem::path& firstForeign) override;
  bool confirmLockTakeover(const std::filesystem::path& lockFile,
                           const std::string& holder) override;
  void openFolder(const std::filesystem::path& folder) override;
  void busy(bool on) override;
  void pause(int milliseconds) override;
  void progress(int done, int total) override;
  void warning(const std::string& text) override;

 private:
  GuiHost& gui_;
  QObject* context_;
};

}  // namespace tessel
