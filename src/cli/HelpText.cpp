#include "cli/HelpText.h"

#include <QStringList>
#include <algorithm>

#include "util/Text.h"

namespace tessel::cli {

namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}

int WidthOf(char32_t c) {
  if (c < 0x20) return 0;
  const QChar::Category category = QChar::category(c);
  if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing) return 0;
  return IsWide(c) ? 2 : 1;
}

// Punctuation a line may not start with, and punctuation it may not end with.
bool IsClosingMark(char32_t c) { return std::u32string_view(U"，。、：；！？）」』】》,.;:!?)]").find(c) != std::u32string_view::npos; }
bool IsOpeningMark(char32_t c) { return std::u32string_view(U"（「『【《([").find(c) != std::u32string_view::npos; }

// One paragraph (no newline) wrapped; `first` columns are taken already.
QStringList WrapParagraph(const std::u32string& text, int width, int indent) {
  QStringList lines;
  std::u32string line;
  int lineWidth = 0;
  std::size_t lastBreak = std::u32string::npos;  // a break is allowed before line[lastBreak]
  auto emit = [&](std::size_t at) {
    std::u32string head = line.substr(0, at);
    while (!head.empty() && head.back() == U' ') head.pop_back();
    std::u32string tail = line.substr(at);
    while (!tail.empty() && tail.front() == U' ') tail.erase(tail.begin());
    lines << QString::fromStdU32String(head);
    line = std::u32string(static_cast<std::size_t>(indent), U' ') + tail;
    lineWidth = 0;
    for (char32_t c : line) lineWidth += WidthOf(c);
    lastBreak = std::u32string::npos;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const char32_t before = line.empty() ? 0 : line.back();
    const std::size_t lead = lines.isEmpty() ? 0 : static_cast<std::size_t>(indent);
    if (line.size() > lead && !IsClosingMark(c) && !IsOpeningMark(before) &&
        (c == U' ' || before == U' ' || IsWide(c) || IsWide(before))) {
      lastBreak = line.size();
    }
    const int w = WidthOf(c);
    if (lineWidth + w > width && c != U' ' && lastBreak != std::u32string::npos) {
      emit(lastBreak);
      // The new line's own break points come back as it grows.
    }
    if (c == U' ' && line.size() == static_cast<std::size_t>(lines.isEmpty() ? 0 : indent) &&
        !lines.isEmpty()) {
      continue;  // no space at the start of a continued line
    }
    line += c;
    lineWidth += w;
  }
  lines << QString::fromStdU32String(line);
  return lines;
}

}  // namespace

int DisplayWidth(const QString& text) {
  int width = 0;
  for (char32_t c : text.toStdU32String()) width += WidthOf(c);
  return width;
}

QString WrapText(const QString& text, int width, int indent) {
  QStringList out;
  const QStringList paragraphs = text.split(QLatin1Char('\n'));
  for (qsizetype p = 0; p < paragraphs.size(); ++p) {
    std::u32string paragraph = paragraphs[p].toStdU32String();
    if (p > 0) paragraph = std::u32string(static_cast<std::size_t>(indent), U' ') + paragraph;
    out << WrapParagraph(paragraph, width, indent);
  }
  return out.join(QLatin1Char('\n'));
}

QString HelpTable(const QList<QPair<QString, QString>>& rows, int width) {
  width = std::max(width, 40);
  // The column of the meanings: after the longest name, within reason.
  int column = 0;
  for (const auto& row : rows) column = std::max(column, DisplayWidth(row.first));
  column = std::min(column + 4, width / 2);
  QString text;
  for (const auto& [name, what] : rows) {
    QString line = QStringLiteral("  ") + name;
    if (DisplayWidth(line) + 2 > column) {
      text += line + QLatin1Char('\n');
      line = QString(column, QLatin1Char(' '));
    } else {
      line += QString(column - DisplayWidth(line), QLatin1Char(' '));
    }
    text += WrapText(line + what, width, column) + QLatin1Char('\n');
  }
  return text;
}

QString FormatHelp(const QString& usage, const QString& description,
                   const QList<QCommandLineOption>& options,
                   const QList<QPair<QString, QString>>& arguments, int width) {
  width = std::max(width, 40);
  QList<QPair<QString, QString>> rows;
  for (const QCommandLineOption& option : options) {
    if (option.flags() & QCommandLineOption::HiddenFromHelp) continue;
    QStringList names;
    for (const QString& name : option.names()) {
      names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    QString shown = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) shown += QStringLiteral(" <%1>").arg(option.valueName());
    rows.append({shown, option.description()});
  }
  QString help = WrapText(usage, width, 4) + QStringLiteral("\n\n");
  if (!description.isEmpty()) help += WrapText(description, width) + QStringLiteral("\n\n");
  help += trText("Cli", "Options:").toQString() + QLatin1Char('\n') + HelpTable(rows, width);
  if (!arguments.isEmpty()) {
    help += QLatin1Char('\n') + trText("Cli", "Arguments:").toQString() + QLatin1Char('\n') +
            HelpTable(arguments, width);
  }
  return help;
}

}  // namespace tessel::cli
