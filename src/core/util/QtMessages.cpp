#include "util/QtMessages.h"

#include <QtGlobal>
#include <QString>
#include <algorithm>
#include <mutex>

namespace tessel {

namespace {

thread_local MessageCatch* current = nullptr;

std::mutex routeMutex;
int routes = 0;  // routes alive; the handler is installed while there is one
QtMessageHandler previous = nullptr;

void Route(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (current && type != QtFatalMsg) {
    current->add(text.toStdString());
    return;
  }
  QtMessageHandler next = nullptr;
  {
    std::lock_guard lock(routeMutex);
    next = previous;
  }
  // Qt hands out its default handler as the previous one.
  if (next) next(type, context, text);
}

}  // namespace

QtMessageRoute::QtMessageRoute() {
  std::lock_guard lock(routeMutex);
  if (routes++ == 0) previous = qInstallMessageHandler(Route);
}

QtMessageRoute::~QtMessageRoute() {
  std::lock_guard lock(routeMutex);
  if (--routes == 0) {
    qInstallMessageHandler(previous);
    previous = nullptr;
  }
}

MessageCatch::MessageCatch() : outer_(current) { current = this; }

MessageCatch::~MessageCatch() { current = outer_; }

std::vector<std::string> MessageCatch::take() {
  std::vector<std::string> taken;
  taken.swap(messages_);
  return taken;
}

void MessageCatch::add(std::string message) {
  if (messages_.size() >= kKept) return;
  if (std::find(messages_.begin(), messages_.end(), message) != messages_.end()) return;
  messages_.push_back(std::move(message));
}

}  // namespace tessel
