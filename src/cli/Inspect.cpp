#include "cli/Inspect.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <ostream>

#include "cli/Cli.h"
#include "inspect/InspectPage.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

const QString kUsageLine = QStringLiteral("tessel-cli inspect PATH (-o DIR | --check) [-j N]");

void printProblems(const inspect::Inspection& in, std::ostream& out) {
  for (const bool faults : {true, false}) {
    for (const inspect::Problem& p : in.problems) {
      if (p.fault != faults) continue;
      // Names in the output are escaped as convert escapes them: a name can
      // neither forge a line nor reach the terminal as a control sequence.
      const std::string text = printable(p.text);
      out << (p.fault ? text : trText("Cli", "note: %1").arg(text).str()) << '\n';
    }
  }
}

}  // namespace

int RunInspect(const QStringList& arguments, CliIo& io) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QCoreApplication::translate(
      "Cli",
      "Reads a Tessel output (the output root or its private folder, an SD card's copy too)\n"
      "and writes a page that shows what the display will show, or only checks it.\n\n"
      "Exit status: 0 the output is sound, 5 it is not (one line per problem),\n"
      "1 the page folder lies inside private/, 2 usage error, 4 the page could not be written."));
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
  const QCommandLineOption jobsOption({"j", "jobs"},
                                      QCoreApplication::translate(
                                          "Cli",
                                          "Worker threads for pictures and icon "
                                          "libraries (default: the number of cores)."),
                                      "N");
  const QCommandLineOption help({"h", "help"},
                                QCoreApplication::translate("Cli", "Show this text."));
  // Taken out of the arguments before they are parsed; here for the help.
  const QCommandLineOption lang(
      "lang", QCoreApplication::translate("Cli", "The language of the messages: zh or en."),
      "LANG");
  parser.addOptions({output, check, quiet, jobsOption, lang, help});
  parser.addPositionalArgument(
      "PATH", QCoreApplication::translate("Cli", "The output root or its private folder."),
      "inspect PATH");
  auto usage = [&](const QString& text) {
    io.err << "tessel-cli: " << text.toStdString() << '\n'
           << trText("Cli", "see tessel-cli inspect --help").str() << '\n';
    return kUsage;
  };
  if (!parser.parse(QStringList{QStringLiteral("tessel-cli")} + arguments)) {
    return usage(parser.errorText());
  }
  if (parser.isSet(help)) {
    const QString text = parser.helpText();
    io.out << (trText("Cli", "Usage: %1").arg(kUsageLine).toQString() +
               text.mid(text.indexOf(QLatin1Char('\n'))))
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
  int jobs = 0;  // the number of cores
  if (parser.isSet(jobsOption)) {
    bool ok = false;
    jobs = parser.value(jobsOption).toInt(&ok);
    if (!ok || jobs < 1 || jobs > 256) {
      return usage(trText("Cli", "--jobs takes a number from 1 to 256, not '%1'")
                       .arg(parser.value(jobsOption))
                       .toQString());
    }
  }
  const fs::path path = toPath(positional[0]);
  const bool quietly = parser.isSet(quiet);

  inspect::Inspection in;
  if (parser.isSet(check)) {
    in = inspect::InspectOutput(path, nullptr, jobs);
    printProblems(in, io.out);
  } else {
    const fs::path folder = toPath(parser.value(output));
    std::error_code ec;
    const fs::path privateFolder = fs::is_directory(path / "private", ec) ? path / "private" : path;
    if (pathIsInside(folder, privateFolder)) {
      io.err << "tessel-cli: inspect: "
             << trText("Cli", "the page folder %1 lies inside %2, which is copied to the SD card")
                    .arg(printable(pathToUtf8(folder)))
                    .arg(printable(pathToUtf8(privateFolder)))
                    .str()
             << '\n';
      return kRefused;
    }
    std::string error;
    if (!inspect::WriteInspectPage(path, folder, &in, &error, jobs)) {
      io.err << "tessel-cli: inspect: " << printable(error) << '\n';
      return kIncomplete;
    }
    printProblems(in, io.out);
    if (!quietly) {
      io.err << trText("Cli", "Page: %1").arg(printable(pathToUtf8(folder / "index.html"))).str()
             << '\n';
    }
  }
  if (!quietly) {
    std::size_t icons = 0;
    for (const inspect::LibraryItem& library : in.libraries) icons += library.icons.size();
    // One whole text for each ending: sound, one fault, more faults.
    const int faults = in.faults();
    Text summary =
        faults == 0 ? trText("Cli", "%1 pictures, %2 icon libraries (%3 icons): sound")
        : faults == 1
            ? trText("Cli", "%1 pictures, %2 icon libraries (%3 icons): %4 fault")
            : trText("Cli", "%1 pictures, %2 icon libraries (%3 icons): %4 faults");
    summary.arg(in.pictures.size()).arg(in.libraries.size()).arg(icons).arg(faults);
    io.err << summary.str() << '\n';
  }
  return in.sound() ? kDone : kUnsound;
}

}  // namespace tessel::cli
