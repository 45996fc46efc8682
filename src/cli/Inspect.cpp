#include "cli/Inspect.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <ostream>

#include "cli/Cli.h"
#include "cli/CliOptions.h"
#include "cli/HelpText.h"
#include "inspect/InspectPage.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

const QString kUsageLine = QStringLiteral("tessel-cli inspect PATH (-o DIR | --check)");

void printProblems(const inspect::Inspection& in, std::ostream& out) {
  for (const bool faults : {true, false}) {
    for (const inspect::Problem& p : in.problems) {
      if (p.fault != faults) continue;
      out << (p.fault ? p.text : trText("Cli", "note: %1").arg(p.text).str()) << '\n';
    }
  }
}

}  // namespace

int RunInspect(const QStringList& arguments, CliIo& io) {
  QCommandLineParser parser;
  const QString description = QCoreApplication::translate(
      "Cli",
      "Reads a Tessel output (the output root or its private folder, an SD card's copy too) "
      "and writes a page that shows what the display will show, or only checks it.\n\n"
      "Exit status: 0 the output is sound, 5 it is not (one line per problem), "
      "1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.");
  const QString pathText =
      QCoreApplication::translate("Cli", "The output root or its private folder.");
  const QCommandLineOption output({"o", "output"},
                                  QCoreApplication::translate(
                                      "Cli",
                                      "Write DIR/index.html and its pictures (DIR/index_files/). "
                                      "DIR may not lie inside private/."),
                                  "DIR");
  const QCommandLineOption check(
      "check",
      QCoreApplication::translate("Cli", "Read everything, write nothing, print each problem."));
  const QCommandLineOption quiet({"q", "quiet"},
                                 QCoreApplication::translate("Cli", "Print the problems only."));
  const QCommandLineOption help({"h", "help"},
                                QCoreApplication::translate("Cli", "Show this text."));
  // Taken out of the arguments before they are parsed; here for the help.
  const QCommandLineOption lang(
      "lang", QCoreApplication::translate("Cli", "The language of the messages: zh or en."),
      "LANG");
  parser.addOptions({output, check, quiet, lang, help});
  parser.addPositionalArgument("PATH", pathText, "inspect PATH");
  auto usage = [&](const QString& text) {
    io.err << "tessel-cli: " << text.toStdString() << '\n'
           << trText("Cli", "see tessel-cli %1 --help").arg("inspect").str() << '\n';
    return kUsage;
  };
  if (!parser.parse(QStringList{QStringLiteral("tessel-cli")} + arguments)) {
    return usage(ParserError(parser, arguments));
  }
  if (parser.isSet(help)) {
    io.out << FormatHelp(trText("Cli", "Usage: %1").arg(kUsageLine).toQString(),
                         description, {output, check, quiet, lang, help},
                         {{QStringLiteral("PATH"), pathText}},
                         io.columns > 0 ? io.columns : 80)
                  .toStdString();
    return kDone;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1) {
    return usage(positional.isEmpty()
                     ? QCoreApplication::translate("Cli", "inspect needs the PATH of an output")
                     : trText("Cli", "too many arguments: %1")
                           .arg(positional.mid(1).join(' '))
                           .toQString());
  }
  if (parser.isSet(check) == parser.isSet(output)) {
    return usage(QCoreApplication::translate(
        "Cli", "inspect takes either -o DIR (write the page) or --check"));
  }
  if (parser.isSet(output) && parser.value(output).isEmpty()) {
    return usage(QCoreApplication::translate("Cli", "--output needs a folder"));
  }
  const fs::path path = toPath(positional[0]);
  const bool quietly = parser.isSet(quiet);

  inspect::Inspection in;
  if (parser.isSet(check)) {
    in = inspect::InspectOutput(path);
    printProblems(in, io.out);
  } else {
    const fs::path folder = toPath(parser.value(output));
    std::error_code ec;
    const fs::path privateFolder = fs::is_directory(path / "private", ec) ? path / "private" : path;
    if (pathIsInside(folder, privateFolder)) {
      io.err << "tessel-cli: inspect: "
             << trText("Cli", "the page folder %1 lies inside %2, which is copied to the SD card")
                    .arg(pathToUtf8(folder))
                    .arg(pathToUtf8(privateFolder))
                    .str()
             << '\n';
      return kRefused;
    }
    std::string error;
    if (!inspect::WriteInspectPage(path, folder, &in, &error)) {
      io.err << "tessel-cli: inspect: " << error << '\n';
      return kIncomplete;
    }
    printProblems(in, io.out);
    if (!quietly) {
      io.err << trText("Cli", "Page: %1").arg(pathToUtf8(folder / "index.html")).str() << '\n';
    }
  }
  if (!quietly) {
    std::size_t icons = 0;
    for (const inspect::LibraryItem& library : in.libraries) icons += library.icons.size();
    // Each count with its noun in the number it takes.
    const int faults = in.faults();
    const int pictures = static_cast<int>(in.pictures.size());
    const int libraries = static_cast<int>(in.libraries.size());
    const int iconCount = static_cast<int>(icons);
    const std::string counts = trText("Cli", "%1, %2 (%3)")
                                   .arg(trText("Cli", "%n picture(s)", nullptr, pictures))
                                   .arg(trText("Cli", "%n icon librar(y/ies)", nullptr, libraries))
                                   .arg(trText("Cli", "%n icon(s)", nullptr, iconCount));
    io.err << (faults == 0 ? trText("Cli", "%1: sound").arg(counts)
                           : trText("Cli", "%1: %2")
                                 .arg(counts)
                                 .arg(trText("Cli", "%n fault(s)", nullptr, faults)))
                  .str()
           << '\n';
  }
  return in.sound() ? kDone : kUnsound;
}

}  // namespace tessel::cli
