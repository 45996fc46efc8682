#pragma once
// The language the programs speak: Chinese, the language of the dialogs and
// the system's messages as written, or English. Both programs follow the
// system's locale unless --lang names one.
#include <QString>
#include <QStringList>
#include <optional>

namespace tessel {

enum class Language { Chinese, English };

// Chinese when the user's first language is a Chinese one (zh, zh_CN,
// zh-Hans-CN, ...), English otherwise (C and POSIX included).
Language LanguageOf(const QStringList& uiLanguages);
Language SystemLanguage();  // from QLocale::system().uiLanguages()

// "zh" or "en" (also "zh_CN", "zh-CN", "en_US", ...); nothing for other texts.
std::optional<Language> ParseLanguage(const QString& name);

// Takes --lang NAME / --lang=NAME out of the arguments (the program's name
// first; nothing after "--"), so that the language is known before the
// other options are read and their help is in it. The last one counts.
// A value that names no language is kept for errorText(), which says what is
// wrong in the language in use when it is called.
struct LanguageArgument {
  std::optional<Language> language;
  bool bad = false;  // --lang without a value, or with one that names no language
  QString badValue;
  QString errorText() const;
};
LanguageArgument TakeLanguageArgument(QStringList& arguments);

// Loads the program's translation and Qt's own for `language` (replacing
// those of an earlier call). Without a language, the texts stay as written
// in the sources. Needs a QCoreApplication. Returns false when the
// program's translation could not be loaded.
bool UseLanguage(std::optional<Language> language);
std::optional<Language> LanguageInUse();

}  // namespace tessel
