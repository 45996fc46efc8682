#include "GuiHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <algorithm>

#include "SetupDlg.h"
#include "util/Paths.h"

namespace tessel {

QString applicationTitle() { return QStringLiteral("Tessel"); }

void repaintWhileBusy() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

GuiHost::Hooks GuiHost::defaultHooks() {
  Hooks hooks;
  hooks.message = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
  };
  hooks.runSetup = [](CSetupDlg& dialog) { return dialog.exec(); };
  hooks.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  hooks.wait = [](int milliseconds) {
    // A real wait, in short sleeps so the window keeps repainting.
    QDeadlineTimer deadline(std::max(0, milliseconds));
    while (!deadline.hasExpired()) {
      repaintWhileBusy();
      QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(deadline.remainingTime(), 0, 20)));
    }
  };
  return hooks;
}

GuiHost::GuiHost(QWidget* parent, CSetupDlg& setupDialog, QProgressBar* progressBar, Hooks hooks)
    : parent_(parent), setupDialog_(setupDialog), progressBar_(progressBar),
      hooks_(std::move(hooks)) {}

GuiHost::~GuiHost() {
  for (; busyDepth_ > 0; --busyDepth_) QApplication::restoreOverrideCursor();
}

void GuiHost::showMessage(const std::string& text) {
  // A message box takes input of its own: no wait cursor over it.
  const bool wasBusy = busyDepth_ > 0;
  if (wasBusy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  if (hooks_.message) hooks_.message(parent_, applicationTitle(), QString::fromStdString(text));
  if (wasBusy) QApplication::restoreOverrideCursor();
}

bool GuiHost::confirmSetup(SetupValues& values) {
  setupDialog_.setValues(values);
  const bool wasBusy = busyDepth_ > 0;
  if (wasBusy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = hooks_.runSetup ? hooks_.runSetup(setupDialog_) : QDialog::Rejected;
  if (wasBusy) QApplication::restoreOverrideCursor();
  if (result != QDialog::Accepted) return false;
  values = setupDialog_.values();
  return true;
}

void GuiHost::openFolder(const std::filesystem::path& folder) {
  if (hooks_.openUrl) hooks_.openUrl(QUrl::fromLocalFile(toQString(folder)));
}

void GuiHost::busy(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
  repaintWhileBusy();
}

void GuiHost::endBusy() {
  while (busyDepth_ > 0) busy(false);
}

void GuiHost::pause(int milliseconds) {
  if (hooks_.wait) hooks_.wait(milliseconds);
}

void GuiHost::progress(int done, int total) {
  if (progressBar_) {
    progressBar_->setRange(0, std::max(total, 0));
    progressBar_->setValue(std::clamp(done, 0, std::max(total, 0)));
  }
  repaintWhileBusy();
}

}  // namespace tessel
