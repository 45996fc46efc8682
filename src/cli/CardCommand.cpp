#include "cli/CardCommand.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

#include "card/CardCopy.h"
#include "cli/Cli.h"
#include "cli/OptionNames.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

const char* OutcomeName(card::CardOutcome outcome) {
  switch (outcome) {
    case card::CardOutcome::Verified: return "verified";
    case card::CardOutcome::Refused: return "refused";
    case card::CardOutcome::Failed: return "failed";
    case card::CardOutcome::Stopped: return "stopped";
  }
  return "";
}

QByteArray ResultJson(const fs::path& output, const fs::path& cardRoot, const card::CardResult& r,
                      int status) {
  const auto text = [](const std::string& s) { return QString::fromStdString(s); };
  QJsonObject json;
  json["command"] = "card";
  json["output"] = text(PathToUtf8(output));
  json["card"] = text(PathToUtf8(cardRoot));
  json["outcome"] = OutcomeName(r.outcome);
  json["exitStatus"] = status;
  json["files"] = r.files;
  json["bytes"] = static_cast<double>(r.bytes);
  json["needed"] = static_cast<double>(r.needed);
  json["available"] = static_cast<double>(r.available);
  json["message"] = text(r.message);
  json["file"] = text(PathToUtf8(r.file));
  json["foreign"] = text(PathToUtf8(r.foreign));
  return QJsonDocument(json).toJson();
}

}  // namespace

const char* CardCommand::summary() const {
  return QT_TRANSLATE_NOOP("Cli", "copy an output to an SD card and read it back");
}

QString CardCommand::description() const {
  return QCoreApplication::translate(
      "Cli",
      "Copies an output (private/ and the marker file) to the root of an SD card: into a\n"
      "staging folder first, flushed to the card, read back and compared with the output,\n"
      "and only then in place of the card's previous private/, which stays otherwise.\n\n"
      "Exit status: 0 every file was verified, 1 refused (no room, files no run writes,\n"
      "not a folder; nothing was written), 2 usage error, 4 a write or the read-back failed.");
}

QList<ParsedCommand::Argument> CardCommand::arguments() const {
  return {{QStringLiteral("OUTPUT_ROOT"),
           QCoreApplication::translate("Cli", "The output root (where private/ is).")},
          {QStringLiteral("CARD_ROOT"),
           QCoreApplication::translate("Cli", "The root folder of the SD card.")}};
}

QList<QCommandLineOption> CardCommand::options() const {
  using namespace option;
  return {
      kForce.make(QCoreApplication::translate(
          "Cli", "Replace the card's private/ even when it holds files no run writes.")),
      kJson.make(QCoreApplication::translate(
          "Cli", "Print the result as one JSON document on standard output.")),
      langOption(QCoreApplication::translate("Cli", "The language of the messages: zh or en.")),
      helpOption(),
  };
}

// The help and the parser's errors of card are Qt's own, as they were when
// the command came: its description is broken into lines of its own, and
// the help is not wrapped to the terminal.
QString CardCommand::help(int) const {
  QCommandLineParser parser;
  describeTo(parser);
  parser.setApplicationDescription(description());
  const QString text = parser.helpText();
  return trText("Cli", "Usage: %1").arg(usageLine()).toQString() +
         text.mid(text.indexOf(QLatin1Char('\n')));
}

QString CardCommand::parserError(const QCommandLineParser& parser, const QStringList&) const {
  return parser.errorText();
}

int CardCommand::execute(const QCommandLineParser& parser, CliIo& io) {
  const QStringList positional = parser.positionalArguments();
  if (positional.size() < 2) {
    return usage(
        io, QCoreApplication::translate("Cli", "card needs the OUTPUT_ROOT and the CARD_ROOT"));
  }
  if (positional.size() > 2) {
    return usage(io, trText("Cli", "too many arguments: %1")
                         .arg(positional.mid(2).join(' '))
                         .toQString());
  }
  const fs::path output = ToPath(positional[0]);
  const fs::path cardRoot = ToPath(positional[1]);

  card::CardOptions options;
  options.force = parser.isSet(option::kForce.longName());
  bool progressShown = false;
  if (io.errIsTerminal) {
    options.progress = [&](const card::CardProgress& p) {
      const Text line = p.verifying ? trText("Cli", "reading back %1/%2 (%3 of %4 MB)")
                                    : trText("Cli", "writing %1/%2 (%3 of %4 MB)");
      io.err << "\r\033[K"
             << Text(line)
                    .arg(p.filesDone)
                    .arg(p.filesTotal)
                    .arg(static_cast<double>(p.bytesDone) / 1e6, 1)
                    .arg(static_cast<double>(p.bytesTotal) / 1e6, 1)
                    .str()
             << std::flush;
      progressShown = true;
    };
  }
  const card::CardResult result = card::CopyToCard(output, cardRoot, options);
  if (progressShown) io.err << '\n';

  int status = kDone;
  switch (result.outcome) {
    case card::CardOutcome::Verified: status = kDone; break;
    case card::CardOutcome::Refused: status = kRefused; break;
    case card::CardOutcome::Failed:
    case card::CardOutcome::Stopped: status = kIncomplete; break;
  }
  if (parser.isSet(option::kJson.longName())) {
    const QByteArray document = ResultJson(output, cardRoot, result, status);
    io.out.write(document.constData(), document.size());
  }
  if (status != kDone) {
    io.err << "tessel-cli: card: " << Printable(result.message) << '\n';
    if (!result.foreign.empty()) {
      io.err << trText("Cli", "%1 replaces the card's private folder all the same")
                    .arg(option::kForce.flag())
                    .str()
             << '\n';
    }
    return status;
  }
  io.err << trText("Cli",
                   "%1 files (%2 MB) written to %3 and read back equal; the card may be removed")
                .arg(result.files)
                .arg(static_cast<double>(result.bytes) / 1e6, 1)
                .arg(Printable(PathToUtf8(result.cardPrivate)))
                .str()
         << '\n';
  return kDone;
}

}  // namespace tessel::cli
