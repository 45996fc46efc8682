#pragma once
// The program's texts in the user's language. A text is looked up by its
// context and source text, as QCoreApplication::translate does (the source
// text itself when no translation is loaded), and its %1, %2, ... are filled
// in one pass: a value holding "%2" (a file named "a%2.bmp") stays as it is.
//
//   std::string line = trText("Run", "ignored %1: %2").arg(name).arg(reason);
//   std::string count = trText("Run", "%n warning(s)", nullptr, n);
//
// The translation tools know trText as translate; a table of texts marks its
// entries with QT_TRANSLATE_NOOP and looks them up with trText(context, entry).
#include <QString>
#include <QtGlobal>
#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

class Text {
 public:
  Text(const char* context, const char* source);
  // A text with a count: %n is the count, and the translation picks the form
  // of the nouns that the count takes (Qt's numerus forms).
  Text(const char* context, const char* source, const char* disambiguation, int n);

  Text& arg(std::string_view utf8);
  Text& arg(const char* utf8) { return arg(std::string_view(utf8)); }
  Text& arg(const std::string& utf8) { return arg(std::string_view(utf8)); }
  Text& arg(const QString& text);
  template <std::integral T>
  Text& arg(T value) {
    if constexpr (std::signed_integral<T>)
      return arg(QString::number(static_cast<qlonglong>(value)));
    else
      return arg(QString::number(static_cast<qulonglong>(value)));
  }
  // A number with `decimals` digits after the point.
  Text& arg(double value, int decimals);

  QString toQString() const;
  std::string str() const;
  operator std::string() const { return str(); }  // NOLINT: reads as a string

 private:
  QString text_;
  std::vector<QString> args_;
};

inline Text trText(const char* context, const char* source) { return Text(context, source); }
//   trText("Run", "%n warning(s)", nullptr, count)
inline Text trText(const char* context, const char* source, const char* disambiguation, int n) {
  return Text(context, source, disambiguation, n);
}

}  // namespace tessel
