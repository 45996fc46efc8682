#pragma once
// Help texts laid out for a terminal: wrapped by display width (a Chinese
// character takes two columns), never inside a word or an option value.
#include <QCommandLineOption>
#include <QList>
#include <QString>

namespace tessel::cli {

// The columns a text takes on a terminal: two for wide (East Asian)
// characters, none for combining marks, one for the rest.
int DisplayWidth(const QString& text);

// `text` wrapped to `width` columns; lines after the first (and every line
// of a paragraph after a newline) start with `indent` spaces. Lines break at
// spaces and between wide characters, not before closing punctuation.
QString WrapText(const QString& text, int width, int indent = 0);

// Rows of a name and what it means, the meanings in one column.
QString HelpTable(const QList<QPair<QString, QString>>& rows, int width);

// A command's help: the usage line, the description, every option (but the
// hidden ones) with its description in a column, and the arguments.
QString FormatHelp(const QString& usage, const QString& description,
                   const QList<QCommandLineOption>& options,
                   const QList<QPair<QString, QString>>& arguments, int width);

}  // namespace tessel::cli
