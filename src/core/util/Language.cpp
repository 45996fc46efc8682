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

Installed& InstalledLanguage() {
  static Installed state;
  return state;
}

void RemoveTranslator(std::unique_ptr<QTranslator>& translator) {
  if (!translator) return;
  QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

// The first of `folders` holding the translation `name`.
std::unique_ptr<QTranslator> LoadTranslator(const QString& name, const QStringList& folders) {
  auto translator = std::make_unique<QTranslator>();
  for (const QString& folder : folders) {
    if (!folder.isEmpty() && translator->load(name, folder)) return translator;
  }
  return nullptr;
}

}  // namespace

Language LanguageOf(const QStringList& uiLanguages) {
  if (uiLanguages.isEmpty()) return Language::English;
  return ParseLanguage(uiLanguages.first()) == Language::Chinese ? Language::Chinese
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
  Installed& state = InstalledLanguage();
  RemoveTranslator(state.program);
  RemoveTranslator(state.qt);
  state.language = language;
  if (!language) return true;
  const bool chinese = *language == Language::Chinese;
  // A translations/ folder among the resource folders comes first: a
  // translator trying a new .qm, or Qt's own beside a Windows or macOS
  // deployment.
  const fs::path resources = TranslationsFolder();
  const QString own = resources.empty() ? QString() : ToQString(resources);
  state.program = LoadTranslator(chinese ? QStringLiteral("tessel_zh_CN") : QStringLiteral("tessel_en"),
                             {own, QStringLiteral(":/i18n")});
  // Qt's own texts (message-box buttons, the folder picker) are English as
  // written.
  if (chinese) {
    state.qt = LoadTranslator(QStringLiteral("qtbase_zh_CN"),
                          {QLibraryInfo::path(QLibraryInfo::TranslationsPath), own});
  }
  if (state.qt) QCoreApplication::installTranslator(state.qt.get());
  if (state.program) QCoreApplication::installTranslator(state.program.get());
  return state.program != nullptr;
}

std::optional<Language> LanguageInUse() { return InstalledLanguage().language; }

}  // namespace tessel
