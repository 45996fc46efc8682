#include "cli/OptionNames.h"

namespace tessel::cli {

QString Choices::joined() const {
  QStringList list;
  for (int i = 0; i < count; ++i) list << QString::fromUtf8(words[i]);
  return list.join(QLatin1Char('|'));
}

int Choices::indexOf(const QString& value) const {
  for (int i = 0; i < count; ++i) {
    if (value == QString::fromUtf8(words[i])) return i;
  }
  return -1;
}

const char* Choices::at(int index) const {
  return index >= 0 && index < count ? words[index] : "";
}

QStringList OptionName::names() const {
  QStringList list;
  if (shortName) list << QString::fromLatin1(shortName);
  list << longName();
  return list;
}

bool OptionName::isSpelled(const QString& argument) const {
  return argument == QStringLiteral("--") + longName() ||
         (shortName && argument == QLatin1Char('-') + QString::fromLatin1(shortName));
}

QCommandLineOption OptionName::make(const QString& description, const QString& valueName) const {
  return QCommandLineOption(names(), description, valueName);
}

}  // namespace tessel::cli
