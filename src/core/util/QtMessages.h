#pragma once
// Qt's own messages (an image plugin's qWarning, say) belong to the input
// being read when they are printed. While a QtMessageRoute lives (a run
// holds one), a message printed on a thread inside a MessageCatch goes to
// that catch, to be reported with its input; any other message goes on to
// the handler that was there before.
#include <string>
#include <vector>

namespace tessel {

class QtMessageRoute {
 public:
  QtMessageRoute();
  ~QtMessageRoute();
  QtMessageRoute(const QtMessageRoute&) = delete;
  QtMessageRoute& operator=(const QtMessageRoute&) = delete;
};

// Catches the messages of this thread while it lives (the innermost catch
// takes them). A catch keeps at most kKept messages, each repeat once.
class MessageCatch {
 public:
  static constexpr std::size_t kKept = 8;
  MessageCatch();
  ~MessageCatch();
  MessageCatch(const MessageCatch&) = delete;
  MessageCatch& operator=(const MessageCatch&) = delete;
  // The messages caught so far, in order; the catch is empty afterwards.
  std::vector<std::string> take();
  void add(std::string message);

 private:
  std::vector<std::string> messages_;
  MessageCatch* outer_;
};

}  // namespace tessel
