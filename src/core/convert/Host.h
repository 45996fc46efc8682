#pragma once
// How a run talks to its user. The GUI shows boxes and dialogs, the command
// line prints and asks, the tests record.
#include <filesystem>
#include <string>

#include <QtGlobal>

#include "model/SetupValues.h"

namespace tessel {

// The system's own messages, as the dialog shows them (in the user's
// language: MessageText translates them).
namespace messages {
inline constexpr const char* kSourceInvalid = QT_TRANSLATE_NOOP("Host", "源路径无效！");
inline constexpr const char* kNoPictures = QT_TRANSLATE_NOOP("Host", "没有找到图片！");
inline constexpr const char* kFontMissing =
    QT_TRANSLATE_NOOP("Host", "没有找到字库font.ttf，需要手动配置！");
inline constexpr const char* kPathsOverlap = QT_TRANSLATE_NOOP("Host", "源路径与输出路径重叠！");
inline constexpr const char* kNoOutputFolder =
    QT_TRANSLATE_NOOP("Host", "找不到文档目录，无法输出！");
}  // namespace messages

enum class Message { SourceInvalid, NoPictures, FontMissing, PathsOverlap, NoOutputFolder };

// The message as the dialog shows it, in the user's language.
std::string MessageText(Message message);
// The message naming the paths it is about (the source folder; the font file
// looked for; the source and the output root), for a line of text.
std::string MessageAbout(Message message, const std::filesystem::path& about,
                         const std::filesystem::path& other = {});

class Host {
 public:
  virtual ~Host() = default;

  // A message of the front end's own (or, rarely, a path), shown modally.
  virtual void showMessage(const std::string& text) = 0;

  // One of the system's messages, about the paths given. The dialog shows
  // the message's own text; a line of text names the paths too.
  virtual void systemMessage(Message message, const std::filesystem::path& /*about*/,
                             const std::filesystem::path& /*other*/ = {}) {
    showMessage(MessageText(message));
  }

  // Branch B: let the user confirm or correct the device parameters. Returns
  // false when the user did not confirm; the run then ends.
  virtual bool confirmSetup(SetupValues& values) = 0;

  // The output's private/ holds entries no run writes (`firstForeign` is the
  // first of them): true lets the run delete the folder with them. The GUI
  // asks with a Yes/No box, the command line answers from --force.
  virtual bool confirmRemoval(const std::filesystem::path& /*privateFolder*/,
                              const std::filesystem::path& /*firstForeign*/) {
    return false;
  }

  // The output's lock names a run that cannot be checked from here (another
  // machine's, say); `holder` says whose. True takes the lock over. The GUI
  // asks; the command line has answered with --force already, and without it
  // says that --force would.
  virtual bool confirmLockTakeover(const std::filesystem::path& /*lockFile*/,
                                   const std::string& /*holder*/) {
    return false;
  }

  // Branch B on a host that cannot ask: false when the device parameters
  // cannot be confirmed (the host says why), so that the run ends before it
  // touches anything.
  virtual bool canConfirmSetup() { return true; }

  // The run is complete: show the output root.
  virtual void openFolder(const std::filesystem::path& folder) = 0;

  // A long-running part has begun or ended (the GUI's wait cursor).
  virtual void busy(bool /*on*/) {}

  // The pauses a run makes before reading the configuration (1000 ms) and
  // before opening the output (100 ms). Hosts without a display skip them.
  virtual void pause(int /*milliseconds*/) {}

  // done of total work items of the current phase have finished.
  virtual void progress(int /*done*/, int /*total*/) {}

  // An input was skipped or an output could not be written.
  virtual void warning(const std::string& /*text*/) {}

  // Something the run found and put right (what a stopped run left, a stale
  // lock): worth a line, nothing to act on.
  virtual void note(const std::string& text) { warning(text); }
};

}  // namespace tessel
