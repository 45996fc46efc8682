#pragma once
// The options of tessel-cli by name: the one place each is spelled. The
// commands parse them and list them in their help from here, and the JSON
// report of convert names its settings and their values from here.
#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <cstddef>

namespace tessel::cli {

// The words a value may be, in the order of the setting they choose.
struct Choices {
  const char* const* words = nullptr;
  int count = 0;

  // "a|b|c", as the help and the messages show them.
  QString joined() const;
  // The index of `value`, or -1.
  int indexOf(const QString& value) const;
  // The word at `index`; "" outside.
  const char* at(int index) const;
};

struct OptionName {
  const char* name;                 // --name
  const char* shortName = nullptr;  // -x
  // The key of the setting in convert's JSON report, when it has one.
  const char* jsonKey = nullptr;
  Choices choices = {};

  // The names as the parser takes them: the short one first.
  QStringList names() const;
  QString longName() const { return QString::fromLatin1(name); }
  // --name, as messages show the option.
  QString flag() const { return QStringLiteral("--") + longName(); }
  // `argument` is the option by itself: -x or --name.
  bool isSpelled(const QString& argument) const;
  // An option of this name; `valueName` empty for a switch.
  QCommandLineOption make(const QString& description, const QString& valueName = {}) const;
};

namespace option {

inline constexpr const char* kRotationWords[] = {"auto", "none", "90", "180", "270"};
inline constexpr const char* kFormatWords[] = {"jpeg", "jpeg-hq", "zbmp"};
inline constexpr const char* kFontWords[] = {"ascii", "cjk", "segment", "segment-bold",
                                             "segment-italic"};
inline constexpr const char* kFontDisplayWords[] = {"vector", "bitmap"};
inline constexpr const char* kCompressionWords[] = {"default", "smallest"};

template <std::size_t N>
constexpr Choices ChoicesOf(const char* const (&words)[N]) {
  return {words, static_cast<int>(N)};
}

// Every command.
inline constexpr OptionName kHelp{"help", "h"};
inline constexpr OptionName kVersion{"version", "V"};
inline constexpr OptionName kLang{"lang"};
// convert (and some of them inspect and card).
inline constexpr OptionName kOutput{"output", "o"};
inline constexpr OptionName kRotation{"rotation", nullptr, "rotation", ChoicesOf(kRotationWords)};
inline constexpr OptionName kFormat{"format", nullptr, "format", ChoicesOf(kFormatWords)};
inline constexpr OptionName kCompression{"compression", nullptr, "compression",
                                         ChoicesOf(kCompressionWords)};
inline constexpr OptionName kFont{"font", nullptr, "font", ChoicesOf(kFontWords)};
inline constexpr OptionName kFontDisplay{"font-display", nullptr, "fontDisplay",
                                         ChoicesOf(kFontDisplayWords)};
inline constexpr OptionName kDeripple{"deripple", nullptr, "deripple"};
inline constexpr OptionName kPack{"pack", nullptr, "pack"};
inline constexpr OptionName kResources{"resources"};
inline constexpr OptionName kYes{"yes", "y"};
inline constexpr OptionName kSet{"set"};
inline constexpr OptionName kOpen{"open"};
inline constexpr OptionName kForce{"force"};
inline constexpr OptionName kNoReuse{"no-reuse", nullptr, "reuse"};  // the report: reuse on or off
inline constexpr OptionName kJobs{"jobs", "j", "jobs"};
inline constexpr OptionName kQuiet{"quiet", "q"};
inline constexpr OptionName kVerbose{"verbose", "v"};
inline constexpr OptionName kJson{"json"};
// inspect.
inline constexpr OptionName kCheck{"check"};
inline constexpr OptionName kSource{"source"};

}  // namespace option

}  // namespace tessel::cli
