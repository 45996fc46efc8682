#include "GuiHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <algorithm>

#include "SetupDlg.h"
#include "util/Paths.h"

namespace tessel {

QString ApplicationTitle() { return QStringLiteral("Tessel"); }

GuiHost::Hooks GuiHost::defaultHooks() {
  Hooks hooks;
  hooks.message = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
  };
  hooks.runSetup = [](CSetupDlg& dialog) { return dialog.exec(); };
  hooks.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  hooks.wait = [](int milliseconds) { QThread::msleep(static_cast<unsigned long>(std::max(0, milliseconds))); };
  hooks.ask = [](QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
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
  if (hooks_.message) hooks_.message(parent_, ApplicationTitle(), QString::fromStdString(text));
  if (wasBusy) QApplication::restoreOverrideCursor();
}

void GuiHost::systemMessage(Message message, const std::filesystem::path& about,
                            const std::filesystem::path& other) {
  QString text = QString::fromStdString(MessageText(message));
  for (const std::filesystem::path* path : {&about, &other}) {
    if (!path->empty()) text += QLatin1Char('\n') + QDir::toNativeSeparators(ToQString(*path));
  }
  // A refusal ends the run before it began: no bar behind the box.
  if (progressBar_ && message != Message::FontMissing) progressBar_->hide();
  showMessage(text.toStdString());
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

// A Yes/No question; the wait cursor gives way to the arrow while it is open.
bool GuiHost::ask(const QString& text) {
  const bool wasBusy = busyDepth_ > 0;
  if (wasBusy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool yes = hooks_.ask && hooks_.ask(parent_, ApplicationTitle(), text);
  if (wasBusy) QApplication::restoreOverrideCursor();
  return yes;
}

bool GuiHost::confirmRemoval(const std::filesystem::path& privateFolder,
                             const std::filesystem::path& firstForeign) {
  const QString text =
      QCoreApplication::translate(
          "tessel::GuiHost", "输出目录 %1 中有不是转换生成的文件（例如 %2）。\n删除整个目录并继续转换吗？")
          .arg(QDir::toNativeSeparators(ToQString(privateFolder)),
               QDir::toNativeSeparators(ToQString(firstForeign)));
  return ask(text);
}

bool GuiHost::confirmLockTakeover(const std::filesystem::path& lockFile,
                                  const std::string& holder) {
  const QString text =
      QCoreApplication::translate("tessel::GuiHost",
                                  "输出目录 %1 被锁定（锁文件 %2，%3），无法从这里检查那次转换。\n"
                                  "确定没有其他转换正在写入吗？接管锁并继续转换吗？")
          .arg(QDir::toNativeSeparators(ToQString(lockFile.parent_path())),
               QDir::toNativeSeparators(ToQString(lockFile)), QString::fromStdString(holder));
  return ask(text);
}

void GuiHost::openFolder(const std::filesystem::path& folder) {
  if (hooks_.openUrl) hooks_.openUrl(QUrl::fromLocalFile(ToQString(folder)));
}

void GuiHost::busy(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
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
}

void GuiHost::warning(const std::string& text) { warnings_ << QString::fromStdString(text); }

namespace {

// Runs `call` on the thread of `context`: waiting for it when `wait`, else
// queued behind what came before.
template <typename Call>
void OnGuiThread(QObject* context, bool wait, Call call) {
  if (QThread::currentThread() == context->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(context, std::move(call),
                            wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

}  // namespace

void ThreadHost::showMessage(const std::string& text) {
  OnGuiThread(context_, true, [&] { gui_.showMessage(text); });
}

bool ThreadHost::confirmSetup(SetupValues& values) {
  bool confirmed = false;
  OnGuiThread(context_, true, [&] { confirmed = gui_.confirmSetup(values); });
  return confirmed;
}

void ThreadHost::systemMessage(Message message, const std::filesystem::path& about,
                               const std::filesystem::path& other) {
  OnGuiThread(context_, true, [&] { gui_.systemMessage(message, about, other); });
}

bool ThreadHost::confirmRemoval(const std::filesystem::path& privateFolder,
                                const std::filesystem::path& firstForeign) {
  bool yes = false;
  OnGuiThread(context_, true, [&] { yes = gui_.confirmRemoval(privateFolder, firstForeign); });
  return yes;
}

bool ThreadHost::confirmLockTakeover(const std::filesystem::path& lockFile,
                                     const std::string& holder) {
  bool yes = false;
  OnGuiThread(context_, true, [&] { yes = gui_.confirmLockTakeover(lockFile, holder); });
  return yes;
}

void ThreadHost::openFolder(const std::filesystem::path& folder) {
  OnGuiThread(context_, true, [&] { gui_.openFolder(folder); });
}

void ThreadHost::busy(bool on) {
  OnGuiThread(context_, false, [this, on] { gui_.busy(on); });
}

void ThreadHost::pause(int milliseconds) {
  // The wait is the run's own: on its thread.
  if (gui_.hooks().wait) gui_.hooks().wait(milliseconds);
}

void ThreadHost::progress(int done, int total) {
  OnGuiThread(context_, false, [this, done, total] { gui_.progress(done, total); });
}

void ThreadHost::warning(const std::string& text) {
  OnGuiThread(context_, false, [this, text] { gui_.warning(text); });
}

}  // namespace tessel
