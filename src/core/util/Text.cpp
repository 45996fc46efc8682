#include "util/Text.h"

#include <QCoreApplication>

namespace tessel {

Text::Text(const char* context, const char* source)
    : text_(QCoreApplication::translate(context, source)) {}

Text::Text(const char* context, const char* source, const char* disambiguation, int n)
    : text_(QCoreApplication::translate(context, source, disambiguation, n)) {}

Text& Text::arg(std::string_view utf8) {
  args_.push_back(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  return *this;
}

Text& Text::arg(const QString& text) {
  args_.push_back(text);
  return *this;
}

Text& Text::arg(double value, int decimals) {
  return arg(QString::number(value, 'f', decimals));
}

QString Text::toQString() const {
  if (args_.empty()) return text_;
  QString out;
  out.reserve(text_.size() + 16 * static_cast<qsizetype>(args_.size()));
  for (qsizetype i = 0; i < text_.size(); ++i) {
    const QChar c = text_.at(i);
    if (c == u'%' && i + 1 < text_.size() && text_.at(i + 1).isDigit()) {
      // %1 .. %99, the longest number that names a value
      int n = text_.at(i + 1).digitValue();
      qsizetype end = i + 2;
      if (end < text_.size() && text_.at(end).isDigit() &&
          n * 10 + text_.at(end).digitValue() <= static_cast<int>(args_.size())) {
        n = n * 10 + text_.at(end).digitValue();
        ++end;
      }
      if (n >= 1 && n <= static_cast<int>(args_.size())) {
        out += args_[static_cast<std::size_t>(n - 1)];
        i = end - 1;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string Text::str() const { return toQString().toStdString(); }

}  // namespace tessel
