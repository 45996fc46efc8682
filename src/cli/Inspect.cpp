#include "cli/Inspect.h"

#include <QCommandLineParser>
#include <ostream>

#include "cli/Cli.h"
#include "inspect/InspectPage.h"
#include "util/Paths.h"

namespace tessel::cli {

namespace {

const QString kUsageLine = QStringLiteral("tessel-cli inspect PATH (-o DIR | --check)");

void printProblems(const inspect::Inspection& in, std::ostream& out) {
  for (const bool faults : {true, false}) {
    for (const inspect::Problem& p : in.problems) {
      if (p.fault == faults) out << (p.fault ? "" : "note: ") << p.text << '\n';
    }
  }
}

}  // namespace

int RunInspect(const QStringList& arguments, CliIo& io) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Reads a Tessel output (the output root or its private folder, an SD card's copy too)\n"
      "and writes a page that shows what the display will show, or only checks it.\n\n"
      "Exit status: 0 the output is sound, 5 it is not (one line per problem),\n"
      "1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.");
  const QCommandLineOption output({"o", "output"},
                                  "Write DIR/index.html and its pictures (DIR/index_files/). "
                                  "DIR may not lie inside private/.",
                                  "DIR");
  const QCommandLineOption check("check", "Read everything, write nothing, print each problem.");
  const QCommandLineOption quiet({"q", "quiet"}, "Print the problems only.");
  const QCommandLineOption help({"h", "help"}, "Show this text.");
  // Taken out of the arguments before they are parsed; here for the help.
  const QCommandLineOption lang("lang", "The language of the messages: zh or en.", "LANG");
  parser.addOptions({output, check, quiet, lang, help});
  parser.addPositionalArgument("PATH", "The output root or its private folder.", "inspect PATH");
  auto usage = [&](const QString& text) {
    io.err << "tessel-cli: " << text.toStdString() << "\nsee tessel-cli inspect --help\n";
    return kUsage;
  };
  if (!parser.parse(QStringList{QStringLiteral("tessel-cli")} + arguments)) {
    return usage(parser.errorText());
  }
  if (parser.isSet(help)) {
    const QString text = parser.helpText();
    io.out << ("Usage: " + kUsageLine + text.mid(text.indexOf(QLatin1Char('\n')))).toStdString();
    return kDone;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1) {
    return usage(positional.isEmpty() ? QStringLiteral("inspect needs the PATH of an output")
                                      : "too many arguments: " + positional.mid(1).join(' '));
  }
  if (parser.isSet(check) == parser.isSet(output)) {
    return usage(QStringLiteral("inspect takes either -o DIR (write the page) or --check"));
  }
  if (parser.isSet(output) && parser.value(output).isEmpty()) {
    return usage(QStringLiteral("--output needs a folder"));
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
      io.err << "tessel-cli: inspect: the page folder " << pathToUtf8(folder) << " lies inside "
             << pathToUtf8(privateFolder) << ", which is copied to the SD card\n";
      return kRefused;
    }
    std::string error;
    if (!inspect::WriteInspectPage(path, folder, &in, &error)) {
      io.err << "tessel-cli: inspect: " << error << '\n';
      return kIncomplete;
    }
    printProblems(in, io.out);
    if (!quietly) io.err << "Page: " << pathToUtf8(folder / "index.html") << '\n';
  }
  if (!quietly) {
    std::size_t icons = 0;
    for (const inspect::LibraryItem& library : in.libraries) icons += library.icons.size();
    io.err << in.pictures.size() << " pictures, " << in.libraries.size() << " icon libraries ("
           << icons << " icons): "
           << (in.sound() ? std::string("sound")
                          : std::to_string(in.faults()) + (in.faults() == 1 ? " fault" : " faults"))
           << '\n';
  }
  return in.sound() ? kDone : kUnsound;
}

}  // namespace tessel::cli
