#include "convert/RunSummary.h"

#include "util/Text.h"

namespace tessel {

std::vector<std::string> CountTexts(const RunTotals& t) {
  std::vector<std::string> parts;
  parts.push_back(t.screensFromLibrary
                      ? trText("Run", "%n screen(s) from the picture library", nullptr,
                               t.picturesConverted)
                      : trText("Run", "%n screen(s)", nullptr, t.picturesConverted));
  if (t.librariesFound > 0) {
    parts.push_back(trText("Run", "%n icon(s)", nullptr, t.iconsConverted));
    parts.push_back(t.librariesConverted == t.librariesFound
                        ? trText("Run", "%n icon librar(y/ies)", nullptr, t.librariesFound)
                        : trText("Run", "%1 of %n icon librar(y/ies)", nullptr, t.librariesFound)
                              .arg(t.librariesConverted));
  }
  if (t.picturesReplacedByLibrary > 0) {
    parts.push_back(trText("Run", "%n source picture(s) replaced by the picture library", nullptr,
                           t.picturesReplacedByLibrary));
  }
  if (t.filesCopied > 0) {
    parts.push_back(trText("Run", "%n file(s) copied", nullptr, t.filesCopied));
  }
  parts.push_back(trText("Run", "%n file(s) written", nullptr, t.filesWritten));
  if (t.outputsReused > 0) {
    //: outputs taken unchanged from the previous run's output instead of being made again
    parts.push_back(trText("Run", "%n output(s) reused", nullptr, t.outputsReused));
  }
  if (t.inputsSkipped > 0) {
    parts.push_back(trText("Run", "%n file(s) skipped", nullptr, t.inputsSkipped));
  }
  if (t.inputsReplaced > 0) {
    //: files replaced by a later file with the same number or role
    parts.push_back(trText("Run", "%n file(s) replaced", nullptr, t.inputsReplaced));
  }
  if (t.inputsIgnored > 0) {
    //: files of a kind this branch does not use (sounds in Branch B)
    parts.push_back(trText("Run", "%n file(s) ignored", nullptr, t.inputsIgnored));
  }
  if (t.inputsNotUsed > 0) {
    //: files of a kind the display never uses (.hzk fonts, firmware)
    parts.push_back(trText("Run", "%n file(s) not used", nullptr, t.inputsNotUsed));
  }
  if (t.warnings > 0) parts.push_back(trText("Run", "%n warning(s)", nullptr, t.warnings));
  return parts;
}

namespace {

std::string Joined(const std::vector<std::string>& parts) {
  //: between the counts of a run's summary
  const std::string separator = trText("Run", ", ");
  std::string phrase;
  for (const std::string& part : parts) {
    if (!phrase.empty()) phrase += separator;
    phrase += part;
  }
  return phrase;
}

}  // namespace

std::string CountsPhrase(const RunTotals& totals) { return Joined(CountTexts(totals)); }

std::string ShortCountsPhrase(const RunTotals& t) {
  RunTotals shown;
  shown.picturesConverted = t.picturesConverted;
  shown.screensFromLibrary = t.screensFromLibrary;
  shown.librariesFound = t.librariesFound;
  shown.librariesConverted = t.librariesConverted;
  shown.iconsConverted = t.iconsConverted;
  shown.filesWritten = t.filesWritten;
  shown.outputsReused = t.outputsReused;
  shown.warnings = t.warnings;
  std::vector<std::string> parts = CountTexts(shown);
  if (t.librariesFound > 0) parts.erase(parts.begin() + 2);  // the libraries
  return Joined(parts);
}

}  // namespace tessel
