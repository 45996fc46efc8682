#include "util/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

struct Installed {
  std::unique_ptr<QTranslator> program;
  std::unique_ptr<QTranslator> qt;
  std::optional<Language> language;
};

Installed& installed() {
  static Installed state;
  return state;
}

void remove(std::unique_ptr<QTranslator>& translator) {
  if (!translator) return;
  QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

// The program's translation: a translations/ folder among the resource
// folders first (a translator trying a new .qm), then the one built in.
std::unique_ptr<QTranslator> programTranslator(const QString& name) {
  auto translator = std::make_unique<QTranslator>();
  const fs::path folder = translationsFolder();
  if (!folder.empty() && translator->load(name, toQString(folder))) return translator;
  if (translator->load(name, QStringLiteral(":/i18n"))) return translator;
  return nullptr;
}

// Qt's own texts (the buttons of message boxes, the folder picker): Qt's
// translations folder, or translations/ beside the program (a Windows or
// macOS deployment carries them there).
std::unique_ptr<QTranslator> qtTranslator(const QString& name) {
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return translator;
  const fs::path folder = translationsFolder();
  if (!folder.empty() && translator->load(name, toQString(folder))) return translator;
  return nullptr;
}

}  // namespace

Language LanguageOf(const QStringList& uiLanguages) {
  if (uiLanguages.isEmpty()) return Language::English;
  const QString first = uiLanguages.first().toLower();
  return first == u"zh" || first.startsWith(u"zh-") || first.startsWith(u"zh_")
             ? Language::Chinese
             : Language::English;
}

Language SystemLanguage() { return LanguageOf(QLocale::system().uiLanguages()); }

std::optional<Language> ParseLanguage(const QString& name) {
  const QString lower = name.toLower();
  const QString base = lower.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0);
  if (base == u"zh") return Language::Chinese;
  if (base == u"en") return Language::English;
  return std::nullopt;
}

LanguageArgument TakeLanguageArgument(QStringList& arguments) {
  LanguageArgument result;
  for (qsizetype i = 1; i < arguments.size();) {
    const QString a = arguments.at(i);
    if (a == u"--") break;
    QString value;
    if (a == u"--lang") {
      if (i + 1 >= arguments.size()) {
        result.language.reset();
        result.bad = true;
        arguments.remove(i);
        break;
      }
      value = arguments.at(i + 1);
      arguments.remove(i, 2);
    } else if (a.startsWith(u"--lang=")) {
      value = a.mid(7);
      arguments.remove(i);
    } else {
      ++i;
      continue;
    }
    result.language = ParseLanguage(value);
    result.bad = !result.language;
    result.badValue = value;
  }
  return result;
}

QString LanguageArgument::errorText() const {
  if (badValue.isEmpty()) return trText("Language", "--lang needs a language: zh or en").toQString();
  return trText("Language", "--lang takes zh or en, not '%1'").arg(badValue).toQString();
}

bool UseLanguage(std::optional<Language> language) {
  Installed& state = installed();
  remove(state.program);
  remove(state.qt);
  state.language = language;
  if (!language) return true;
  const bool chinese = *language == Language::Chinese;
  state.program = programTranslator(chinese ? QStringLiteral("tessel_zh_CN")
                                            : QStringLiteral("tessel_en"));
  // Qt's own texts are English as written.
  if (chinese) state.qt = qtTranslator(QStringLiteral("qtbase_zh_CN"));
  if (state.qt) QCoreApplication::installTranslator(state.qt.get());
  if (state.program) QCoreApplication::installTranslator(state.program.get());
  return state.program != nullptr;
}

std::optional<Language> LanguageInUse() { return installed().language; }

}  // namespace tessel
