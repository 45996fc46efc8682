#include "cli/InspectCommand.h"

#include <QCoreApplication>
#include <ostream>

#include "cli/Cli.h"
#include "cli/OptionNames.h"
#include "inspect/InspectPage.h"
#include "model/OutputLayout.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

void PrintProblems(const inspect::Inspection& in, std::ostream& out) {
  for (const bool faults : {true, false}) {
    for (const inspect::Problem& p : in.problems) {
      if (p.fault != faults) continue;
      // Names in the output are escaped as convert escapes them: a name can
      // neither forge a line nor reach the terminal as a control sequence.
      const std::string text = Printable(p.text);
      out << (p.fault ? text : trText("Cli", "note: %1").arg(text).str()) << '\n';
    }
  }
}

}  // namespace

const char* InspectCommand::summary() const {
  return QT_TRANSLATE_NOOP("Cli", "show (-o DIR) or check (--check) a converted output");
}

QString InspectCommand::usageLine() const {
  return QStringLiteral(
      "tessel-cli inspect PATH (-o DIR | --check) [--rotation DEG] [--source DIR] [-j N]");
}

QString InspectCommand::description() const {
  return QCoreApplication::translate(
      "Cli",
      "Reads a Tessel output (the output root or its private folder, an SD card's copy too) "
      "and writes a page that shows what the display will show, or only checks it.\n\n"
      "Exit status: 0 no problems found, 5 a fault (one line per problem; an output root "
      "that a run did not finish is one), "
      "1 the page folder lies inside private/, 2 usage error, 4 the page could not be written.");
}

QList<ParsedCommand::Argument> InspectCommand::arguments() const {
  return {{QStringLiteral("PATH"),
           QCoreApplication::translate("Cli", "The output root or its private folder.")}};
}

QList<QCommandLineOption> InspectCommand::options() const {
  using namespace option;
  return {
      kOutput.make(QCoreApplication::translate(
                       "Cli",
                       "Write DIR/index.html and its pictures (DIR/index_files/). "
                       "DIR may not lie inside private/."),
                   "DIR"),
      kCheck.make(
          QCoreApplication::translate("Cli", "Read everything, write nothing, print each problem.")),
      kRotation.make(QCoreApplication::translate(
                         "Cli",
                         "Show the screens turned DEG degrees clockwise (0, 90, 180 or "
                         "270), instead of as config.txt turns the screen."),
                     "DEG"),
      kSource.make(QCoreApplication::translate(
                       "Cli",
                       "The source folder (DWIN_SET) the output was made from, when "
                       "no run record names it (an SD card's copy)."),
                   "DIR"),
      kJobs.make(QCoreApplication::translate(
                     "Cli", "Read and draw on N threads (default: one per core)."),
                 "N"),
      kQuiet.make(QCoreApplication::translate("Cli", "Print the problems only.")),
      langOption(QCoreApplication::translate("Cli", "The language of the messages: zh or en.")),
      helpOption(),
  };
}

int InspectCommand::execute(const QCommandLineParser& parser, CliIo& io) {
  using namespace option;
  const auto isSet = [&](const OptionName& o) { return parser.isSet(o.longName()); };
  const auto value = [&](const OptionName& o) { return parser.value(o.longName()); };
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1) {
    return usage(io, positional.isEmpty()
                         ? QCoreApplication::translate("Cli", "inspect needs the PATH of an output")
                         : trText("Cli", "too many arguments: %1")
                               .arg(positional.mid(1).join(' '))
                               .toQString());
  }
  if (isSet(kCheck) == isSet(kOutput)) {
    return usage(io, QCoreApplication::translate(
                         "Cli", "inspect takes either -o DIR (write the page) or --check"));
  }
  if (isSet(kOutput) && value(kOutput).isEmpty()) {
    return usage(io, trText("Cli", "%1 needs a folder").arg(kOutput.flag()).toQString());
  }
  inspect::InspectOptions options;
  if (isSet(kRotation)) {
    const QString degrees = value(kRotation);
    const int code = degrees == "0" ? 0 : degrees == "90" ? 1 : degrees == "180" ? 2
                   : degrees == "270" ? 3 : -1;
    if (code < 0) {
      return usage(io, trText("Cli", "%1 takes 0, 90, 180 or 270, not %2")
                           .arg(kRotation.flag())
                           .arg(degrees)
                           .toQString());
    }
    options.rotation = code;
  }
  if (isSet(kJobs)) {
    bool ok = false;
    options.jobs = value(kJobs).toInt(&ok);
    if (!ok || options.jobs < 1 || options.jobs > 256) {
      return usage(io, trText("Cli", "%1 takes a number from 1 to 256, not '%2'")
                           .arg(kJobs.flag())
                           .arg(value(kJobs))
                           .toQString());
    }
  }
  if (isSet(kSource)) {
    std::error_code ec;
    options.source = ToPath(value(kSource));
    if (!fs::is_directory(options.source, ec)) {
      //: --source and the folder given to it
      return usage(io, trText("Cli", "%1 %2 is not a folder")
                           .arg(kSource.flag())
                           .arg(value(kSource))
                           .toQString());
    }
  }
  const fs::path path = ToPath(positional[0]);
  const bool quietly = isSet(kQuiet);

  inspect::Inspection in;
  if (isSet(kCheck)) {
    in = inspect::InspectOutput(path, nullptr, options);
    PrintProblems(in, io.out);
  } else {
    const fs::path folder = ToPath(value(kOutput));
    const fs::path privateFolder = OutputLayout::privateFolderOf(path);
    if (PathIsInside(folder, privateFolder)) {
      io.err << "tessel-cli: inspect: "
             << trText("Cli", "the page folder %1 lies inside %2, which is copied to the SD card")
                    .arg(Printable(PathToUtf8(folder)))
                    .arg(Printable(PathToUtf8(privateFolder)))
                    .str()
             << '\n';
      return kRefused;
    }
    std::string error;
    if (!inspect::WriteInspectPage(path, folder, options, &in, &error)) {
      io.err << "tessel-cli: inspect: " << Printable(error) << '\n';
      return kIncomplete;
    }
    PrintProblems(in, io.out);
    if (!quietly) {
      io.err << trText("Cli", "Page: %1").arg(Printable(PathToUtf8(folder / "index.html"))).str()
             << '\n';
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
    io.err << (faults == 0 ? trText("Cli", "%1: no problems found").arg(counts)
                           : trText("Cli", "%1: %2")
                                 .arg(counts)
                                 .arg(trText("Cli", "%n fault(s)", nullptr, faults)))
                  .str()
           << '\n';
  }
  return in.noFaults() ? kDone : kUnsound;
}

}  // namespace tessel::cli
