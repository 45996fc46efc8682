// The two languages: both translations are whole (lupdate over the sources
// finds nothing new, every entry is translated with the placeholders of its
// source), texts are filled in one pass, and the language is chosen from the
// locale or from --lang.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "convert/RunSummary.h"
#include "util/Language.h"
#include "util/Text.h"

namespace tessel {
namespace {

QSet<QString> placeholders(const QString& text) {
  QSet<QString> found;
  static const QRegularExpression pattern(QStringLiteral("%[1-9][0-9]?"));
  for (const auto& match : pattern.globalMatch(text)) found.insert(match.captured());
  return found;
}

// What is wrong with the entries of a .ts file, one line each.
QStringList faults(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {"cannot read " + path};
  QStringList found;
  QXmlStreamReader xml(&file);
  QString context, source;
  while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"source") {
      source = xml.readElementText();
    } else if (xml.name() == u"translation") {
      const QString type = xml.attributes().value(QStringLiteral("type")).toString();
      const QString where = context + ": \"" + source + "\"";
      if (source.contains(u"%n")) {
        // A count: every numerus form filled, each with the count in it.
        int forms = 0;
        while (xml.readNextStartElement()) {
          const QString form = xml.readElementText();
          ++forms;
          if (!form.contains(u"%n") || placeholders(form) != placeholders(source))
            found << where + " has the numerus form \"" + form + "\"";
        }
        if (!type.isEmpty()) found << where + " is " + type;
        if (forms == 0) found << where + " has no numerus forms";
        continue;
      }
      const QString text = xml.readElementText();
      if (!type.isEmpty())
        found << where + " is " + type;
      else if (text.isEmpty())
        found << where + " has an empty translation";
      else if (placeholders(text) != placeholders(source))
        found << where + " and its translation \"" + text + "\" differ in placeholders";
    }
  }
  if (xml.hasError()) found << path + ": " + xml.errorString();
  return found;
}

TEST(Translations, EveryTextOfTheSourcesIsTranslatedInBothLanguages) {
  for (const char* name : {"tessel_en.ts", "tessel_zh_CN.ts"}) {
    SCOPED_TRACE(name);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QString::fromUtf8(name));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSEL_TRANSLATIONS_DIR "/") + name, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    // A text the sources hold and the file does not comes in unfinished.
    QStringList arguments =
        QString::fromUtf8(TESSEL_LUPDATE_OPTIONS).split(u' ', Qt::SkipEmptyParts);
    arguments << QStringLiteral(TESSEL_SOURCE_DIR "/src") << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.start(QStringLiteral(TESSEL_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const QStringList found = faults(copy);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
  }
}

TEST(Translations, ValuesAreFilledInOnePass) {
  // A file name holding a placeholder stays as it is.
  EXPECT_EQ(trText("Test", "%2 then %1").arg("a%2.bmp").arg(7).str(), "7 then a%2.bmp");
  EXPECT_EQ(trText("Test", "%1 of %10").arg(1).arg(2).arg(3).arg(4).arg(5).arg(6).arg(7).arg(8)
                .arg(9).arg(10).str(),
            "1 of 10");
  EXPECT_EQ(trText("Test", "100% of %1, %3 unknown").arg(0.5, 2).str(), "100% of 0.50, %3 unknown");
}

// A count takes the form of its noun that the language gives it.
TEST(Translations, CountsTakeTheNumberOfTheirNounInBothLanguages) {
  int argc = 1;
  char name[] = "test_translations";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  RunTotals totals;
  totals.picturesConverted = 1;
  totals.filesWritten = 2;
  ASSERT_TRUE(UseLanguage(Language::English));
  EXPECT_EQ(trText("Run", "%n warning(s)", nullptr, 1).str(), "1 warning");
  EXPECT_EQ(trText("Run", "%n warning(s)", nullptr, 2).str(), "2 warnings");
  EXPECT_EQ(CountsPhrase(totals), "1 screen, 2 files written");
  ASSERT_TRUE(UseLanguage(Language::Chinese));
  EXPECT_EQ(trText("Run", "%n warning(s)", nullptr, 1).str(), "1 条警告");
  EXPECT_EQ(trText("Run", "%n warning(s)", nullptr, 2).str(), "2 条警告");
  EXPECT_EQ(CountsPhrase(totals), "1 个画面，写入 2 个文件");
  UseLanguage(std::nullopt);
}

TEST(Translations, TheLanguageComesFromTheLocaleOrFromLang) {
  EXPECT_EQ(LanguageOf({"zh-Hans-CN", "en-US"}), Language::Chinese);
  EXPECT_EQ(LanguageOf({"zh_TW"}), Language::Chinese);
  EXPECT_EQ(LanguageOf({"C"}), Language::English);
  EXPECT_EQ(LanguageOf({"de-DE", "zh-CN"}), Language::English);
  EXPECT_EQ(LanguageOf({}), Language::English);

  QStringList args{"tessel-cli", "--lang", "zh", "convert", "--lang=en_US", "SRC", "--", "--lang"};
  LanguageArgument taken = TakeLanguageArgument(args);
  EXPECT_EQ(taken.language, Language::English);  // the last one counts
  EXPECT_FALSE(taken.bad);
  EXPECT_EQ(args, (QStringList{"tessel-cli", "convert", "SRC", "--", "--lang"}));

  args = {"tessel", "--lang", "fr"};
  taken = TakeLanguageArgument(args);
  EXPECT_TRUE(taken.bad);
  EXPECT_TRUE(taken.errorText().contains(u"'fr'"));
  args = {"tessel", "--lang"};
  EXPECT_TRUE(TakeLanguageArgument(args).bad);
}

}  // namespace
}  // namespace tessel
