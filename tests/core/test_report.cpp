// The run report accounts for every input and agrees with the files on disk:
// a project that carries pictures of one number, cut pictures, kinds of file
// the target does not use, options without effect and a write that fails.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>

#include "cli/JsonReport.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readBytes;
using test::writeBytes;
using test::writePicture;
using test::writeText;

struct ReportTest : test::RunFixture {
  fs::path root() const { return output; }
  void SetUp() override {
    RunFixture::SetUp();
    writeText(source / "13.bin", "thirteen");
    writeText(source / "14.bin", "fourteen");
    writeText(source / "config.txt", "R1=07;\r\n");
    for (const char* name : {"0.bmp", "0_logo.jpg", "00.bmp"}) writePicture(source / name, 40, 30);
    for (int i = 1; i <= 4; ++i) writePicture(source / (std::to_string(i) + ".bmp"), 40, 30);
    writePicture(source / "6.bmp", 20, 20);  // the odd size out
    const Bytes bmp = readBytes(source / "1.bmp");
    writeBytes(source / "7.bmp", ByteView(bmp).first(300));
    writePicture(source / "8.jpg", 40, 30);
    const Bytes jpeg = readBytes(source / "8.jpg");
    writeBytes(source / "8.jpg", ByteView(jpeg).first(jpeg.size() * 2 / 3));
    writeText(source / "FONT.HZK", "hzk");
    writeText(source / "DWINOS_page_change.bin", "x");
    writeText(source / "9\nBranch A: 99 of 99 pictures.bmp", "not a bitmap");
  }

  // The files below the output root, relative to it.
  std::set<std::string> filesOnDisk() const {
    std::set<std::string> files;
    for (const std::string& rel : test::listTree(output)) {
      if (rel.back() != '/') files.insert(rel);
    }
    return files;
  }
};

TEST_F(ReportTest, EveryInputHasAFateAndTheTotalsAreWhatIsOnDisk) {
  settings.singlePictureFiles = false;  // no effect on a Branch A project
  settings.fontDisplay = FontDisplay::Bitmap;  // no effect: config.txt is a copy
  writeText(source / "3.wav", "RIFF");
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const Report& report = r.report;

  // Every source entry is there once, none unhandled.
  std::set<std::string> inSource, inReport;
  for (const auto& e : fs::directory_iterator(source)) inSource.insert(PathToUtf8(e.path()));
  for (const InputRecord& input : report.inputs) {
    inReport.insert(PathToUtf8(input.path));
    EXPECT_NE(input.fate, InputFate::Unhandled) << input.path;
  }
  EXPECT_EQ(inReport, inSource);

  auto fate = [&](const std::string& name) {
    for (const InputRecord& input : report.inputs) {
      if (input.path == source / PathFromUtf8(name)) return input.fate;
    }
    return InputFate::Unhandled;
  };
  // Three pictures numbered 0: the last listed is used.
  EXPECT_EQ(fate("0.bmp"), InputFate::Replaced);
  EXPECT_EQ(fate("00.bmp"), InputFate::Replaced);
  EXPECT_EQ(fate("0_logo.jpg"), InputFate::Converted);
  EXPECT_EQ(fate("7.bmp"), InputFate::Skipped);
  EXPECT_EQ(fate("8.jpg"), InputFate::Skipped);
  EXPECT_EQ(fate("FONT.HZK"), InputFate::NotUsed);
  EXPECT_EQ(fate("DWINOS_page_change.bin"), InputFate::NotUsed);
  EXPECT_EQ(fate("3.wav"), InputFate::Copied);
  EXPECT_FALSE(has("image/7.zbmp"));
  EXPECT_FALSE(has("image/8.zbmp"));

  // The totals count what is on disk.
  const std::set<std::string> files = filesOnDisk();
  EXPECT_EQ(r.totals.filesWritten, static_cast<int>(files.size()));
  int pictures = 0;
  for (const std::string& f : files) pictures += f.rfind("private/image/", 0) == 0;
  EXPECT_EQ(r.totals.picturesConverted, pictures);
  EXPECT_EQ(pictures, 6);  // 0, 1, 2, 3, 4 and 6
  EXPECT_EQ(r.totals.picturesFound, 11);
  EXPECT_EQ(r.totals.inputsReplaced, 2);
  EXPECT_EQ(r.totals.inputsSkipped, 3);  // two cut pictures, the non-bitmap
  EXPECT_EQ(r.totals.inputsIgnored, 0);
  EXPECT_EQ(r.totals.inputsNotUsed, 2);
  EXPECT_EQ(r.totals.filesCopied, 4);  // the two tables, the register text and the sound
  EXPECT_EQ(report.outputs.size(), files.size());
  for (const OutputRecord& output : report.outputs) {
    EXPECT_EQ(files.count(PathToUtf8(output.path.lexically_relative(root()))), 1u) << output.path;
    EXPECT_EQ(fs::file_size(output.path), output.size) << output.path;
  }

  // A warning for each problem, each naming its input, once.
  auto warned = [&](const std::string& a, const std::string& b) {
    return std::count_if(report.warnings.begin(), report.warnings.end(), [&](const std::string& w) {
      return w.find(a) != std::string::npos && w.find(b) != std::string::npos;
    });
  };
  EXPECT_EQ(warned("00.bmp is used", "0.bmp is not"), 1);
  EXPECT_EQ(warned("0_logo.jpg is used", "00.bmp is not"), 1);
  EXPECT_EQ(warned("7.bmp", "cut short"), 1);
  EXPECT_EQ(warned("8.jpg", "cut short"), 1);
  EXPECT_EQ(warned("FONT.HZK", ""), 0);  // listed and counted, not a warning
  EXPECT_EQ(warned("6.bmp", "20 x 20"), 1);
  EXPECT_EQ(warned("picture pack", "Branch A"), 1);
  EXPECT_EQ(warned("bitmap font display", "config.txt"), 1);
  EXPECT_TRUE(report.writeFailures.empty());
}

TEST_F(ReportTest, TheCommandLineSummaryJsonAndLinesAgreeWithTheDisk) {
  const test::CliRun r = test::runCli({"convert", PathToUtf8(source), "-o", PathToUtf8(output),
                                       "--json", "--set", "baud=9600", "--pack",
                                       "--resources", PathToUtf8(resources)});
  EXPECT_EQ(r.status, 0) << r.err;
  // A name cannot forge a line: only the real summary starts with "Branch".
  int summaries = 0;
  std::size_t from = 0;
  for (std::size_t nl; (nl = r.err.find('\n', from)) != std::string::npos; from = nl + 1) {
    summaries += r.err.compare(from, 7, "Branch ") == 0;
  }
  EXPECT_EQ(summaries, 1) << r.err;
  EXPECT_NE(r.err.find("9\\nBranch A: 99"), std::string::npos);
  EXPECT_NE(r.err.find("--set has no effect"), std::string::npos);

  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
  const QJsonObject o = doc.object();
  EXPECT_EQ(o["branch"].toString(), "A");
  EXPECT_EQ(o["exitStatus"].toInt(), 0);
  std::set<std::string> listed;
  for (const QJsonValue& v : o["outputs"].toArray()) {
    listed.insert(v.toObject()["path"].toString().toStdString());
  }
  EXPECT_EQ(listed, filesOnDisk());
  EXPECT_EQ(o["inputs"].toArray().size(),
            std::distance(fs::directory_iterator(source), fs::directory_iterator()));
  EXPECT_EQ(o["totals"].toObject()["filesWritten"].toInt(), static_cast<int>(listed.size()));
  EXPECT_TRUE(o["deviceParameters"].isNull());  // Branch A asks for none
}

// The tokens the README documents for a key of the JSON report: the
// backquoted words of its row in the table of tokens.
std::set<QString> documentedTokens(const std::string& key) {
  std::ifstream readme(TESSEL_README);
  std::set<QString> tokens;
  const std::string row = "| `" + key + "` |";
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind(row, 0) != 0) continue;
    const QString cell = QString::fromStdString(line.substr(row.size()));
    const QStringList parts = cell.split(QLatin1Char('`'));
    for (qsizetype i = 1; i < parts.size(); i += 2) tokens.insert(parts[i]);
  }
  return tokens;
}

TEST_F(ReportTest, EveryTokenOfTheJsonReportIsDocumented) {
  const std::set<QString> kinds = documentedTokens("inputs[].kind");
  const std::set<QString> fates = documentedTokens("inputs[].fate");
  const std::set<QString> outcomes = documentedTokens("outcome");
  const std::set<QString> reasons = documentedTokens("reason");
  // Every fate and kind there is, whether or not this run meets it.
  for (int f = 0; f <= static_cast<int>(InputFate::Skipped); ++f) {
    EXPECT_EQ(fates.count(cli::FateName(static_cast<InputFate>(f))), 1u) << f;
  }
  for (int k = 0; k <= static_cast<int>(InputKind::Other); ++k) {
    EXPECT_EQ(kinds.count(cli::KindName(static_cast<InputKind>(k))), 1u) << k;
  }
  auto json = [](const test::CliRun& r) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
  };
  // A run that meets converted, copied, replaced, skipped and not used.
  QJsonObject o = json(test::runCli({"convert", PathToUtf8(source), "-o", PathToUtf8(output),
                                     "--json", "--resources", PathToUtf8(resources)}));
  EXPECT_EQ(o["schema"].toInt(), 2);
  EXPECT_EQ(outcomes.count(o["outcome"].toString()), 1u);
  EXPECT_TRUE(o["reason"].isNull());
  std::set<QString> met;
  for (const QJsonValue& v : o["inputs"].toArray()) {
    EXPECT_EQ(kinds.count(v["kind"].toString()), 1u) << v["kind"].toString().toStdString();
    met.insert(v["fate"].toString());
  }
  for (const QString& fate : met) EXPECT_EQ(fates.count(fate), 1u) << fate.toStdString();
  EXPECT_EQ(met, (std::set<QString>{"converted", "copied", "replaced", "skipped", "not_used"}));
  // A refusal: its reason is a token, and no branch was chosen.
  o = json(test::runCli({"convert", PathToUtf8(source / "missing"), "-o", PathToUtf8(output),
                         "--json"}));
  EXPECT_EQ(o["outcome"].toString(), "refused");
  EXPECT_EQ(o["reason"].toString(), "source_not_found");
  EXPECT_EQ(reasons.count(o["reason"].toString()), 1u);
  EXPECT_TRUE(o["branch"].isNull());
}

TEST_F(ReportTest, AMissingFontMakesTheOutputIncompleteAndIsNamedOnce) {
  fs::remove(resources / PathFromUtf8("中英文.ttf"));
  fs::remove(source / "14.bin");  // Branch B: the font step runs twice
  const test::CliRun r = test::runCli({"convert", PathToUtf8(source), "-o", PathToUtf8(output),
                                       "-y", "--resources", PathToUtf8(resources)});
  EXPECT_EQ(r.status, 4) << r.err;
  EXPECT_NE(r.err.find("没有找到字库font.ttf"), std::string::npos);
  const std::string missing = PathToUtf8(resources / PathFromUtf8("中英文.ttf")) + " was not found";
  const std::size_t first = r.err.find(missing);
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(missing, first + 1), std::string::npos) << r.err;
}

// What a run asks of its report for each input, for `count` inputs: the
// best of a few tries, in seconds.
double recordingTime(int count) {
  double best = 1e9;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const auto start = std::chrono::steady_clock::now();
    Report report;
    const fs::path source = "/source", image = "/out/private/image";
    for (int i = 0; i < count; ++i) report.input(source / (std::to_string(i) + ".bmp"));
    for (int i = 0; i < count; ++i) {
      const fs::path input = source / (std::to_string(i) + ".bmp");
      const fs::path file = image / (std::to_string(i) + ".zbmp");
      report.wrote(file, 100);
      report.madeFrom(input, file);
      report.setFate(input, InputFate::Converted);
    }
    EXPECT_EQ(report.outputs.size(), std::size_t(count));
    best = std::min(best,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

TEST(ReportScale, EachInputCostsTheSameHoweverManyThereAre) {
  recordingTime(100);  // warm up
  const double few = recordingTime(100), many = recordingTime(1000);
  // Ten times the inputs: about ten times the time, far from the hundred
  // times of a search through the list for each.
  EXPECT_LT(many / few, 30.0) << few << " s for 100, " << many << " s for 1000";
}

}  // namespace
}  // namespace tessel
