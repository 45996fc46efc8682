// tessel-cli convert as scripts use it: options, exit statuses, what it prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/Cli.h"
#include "convert/ConversionRun.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readText;
using test::TempDir;
using test::writePicture;
using test::writeText;

using test::runCli;
using Cli = test::CliRun;

QJsonObject json(const Cli& r) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
}

struct ConvertCli : ::testing::Test {
  TempDir dir;
  fs::path source = dir / "project";
  fs::path out = dir / "out";
  fs::path priv = out / "private";
  std::string src() const { return PathToUtf8(source); }
  std::string dst() const { return PathToUtf8(out); }
  void SetUp() override {
    writePicture(source / "1.bmp", 24, 16);
    writePicture(source / "2.jpg", 24, 16);
  }
  bool marker() const { return fs::exists(out / PathFromUtf8(kMarkerFileName)); }
};

TEST_F(ConvertCli, UsageErrorsExitTwoWithOneLineBeforeAnythingIsTouched) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"convert"},
                                             {"convert", src(), "--format", "png"},
                                             {"convert", src(), "--rotation", "45"},
                                             {"convert", src(), "--font", "comic"},
                                             {"convert", src(), "--bogus"},
                                             {"convert", src(), "-o"},
                                             {"convert", src(), "-j", "0"},
                                             {"convert", src(), "--deripple=yes"},
                                             {"convert", src(), "-o", dst(), "--set", "baud=12345"},
                                             {"convert", src(), "-o", dst(), "--set", "volume=3"},
                                             {"convert", src(), "extra"}}) {
    const Cli r = runCli(args);
    EXPECT_EQ(r.status, 2) << r.err;
    // One line naming the problem, one pointing at the help.
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_EQ(r.err.rfind("tessel-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("see tessel-cli convert --help"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(out));
  const Cli help = runCli({"convert", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: tessel-cli convert SOURCE [options]", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--set <NAME=VALUE>"), std::string::npos);
}

TEST_F(ConvertCli, ShortOptionsCombineAndDoubleDashEndsTheOptions) {
  writePicture(source / "-1.bmp", 8, 8);  // a name that looks like an option
  Cli r = runCli({"convert", "-yq", "-j2", "-o", dst(), "--", src()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // -q
  EXPECT_TRUE(marker());
  r = runCli({"convert", "-o", dst(), "-y", "--", PathToUtf8(source / "-1.bmp"), "x"});
  EXPECT_EQ(r.status, 2);
}

// A refusal exits 1, names its reason in the report and the path in the
// message, and writes nothing.
TEST_F(ConvertCli, RefusalsExitOneWithTheReasonAndThePathAndWriteNothing) {
  fs::create_directories(dir / "empty");
  const std::pair<fs::path, std::string> cases[] = {
      {dir / "missing", "source_not_found"},
      {dir / "empty", "no_pictures"},
      {source, "paths_overlap"},
  };
  for (const auto& [from, reason] : cases) {
    const fs::path to = reason == "paths_overlap" ? source / "out" : out;
    const Cli r = runCli({"convert", PathToUtf8(from), "-o", PathToUtf8(to), "--json"});
    EXPECT_EQ(r.status, 1) << reason;
    EXPECT_EQ(json(r)["reason"].toString().toStdString(), reason);
    EXPECT_NE(r.err.find(PathToUtf8(from)), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(to)) << reason;
  }
}

// The program speaks the locale's language, and names the path it refuses.
TEST_F(ConvertCli, TheRefusalIsInTheLocalesLanguageAndNamesThePath) {
  const std::string missing = PathToUtf8(dir / "missing");
  const std::pair<const char*, std::string> cases[] = {
      {"C", "Source folder not found: " + missing},
      {"en_US.UTF-8", "Source folder not found: " + missing},
      {"zh_CN.UTF-8", "源路径无效：" + missing},
  };
  for (const auto& [lang, expected] : cases) {
    const Cli r = test::runCliProcess({"convert", missing, "-o", dst()},
                                      {{"LANG", lang}, {"LC_ALL", ""}, {"LC_MESSAGES", ""},
                                       {"LANGUAGE", ""}});
    EXPECT_EQ(r.status, 1) << lang;
    EXPECT_EQ(r.err, "tessel-cli: " + expected + "\n") << lang;
  }
  // --lang wins over the locale.
  const Cli r = test::runCliProcess({"--lang", "en", "convert", missing, "-o", dst()},
                                    {{"LC_ALL", "zh_CN.UTF-8"}});
  EXPECT_EQ(r.err, "tessel-cli: Source folder not found: " + missing + "\n");
}

// In a process of its own: the environment decides where Documents is.
TEST_F(ConvertCli, DefaultOutputIsDocumentsAndNeverTheFileSystemRoot) {
  fs::create_directories(dir / "home");
  Cli r = test::runCliProcess({"convert", src(), "-y"},
                              {{"HOME", PathToUtf8(dir / "home")},
                               {"XDG_CONFIG_HOME", PathToUtf8(dir / "home" / ".config")}});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir / "home" / "Documents" / "TESSEL" / "private" / "image" / "1.zbmp"));

  r = test::runCliProcess({"convert", src(), "-y", "--json"}, {{"HOME", "/"}});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(json(r)["reason"].toString(), "no_output_folder");
  EXPECT_FALSE(fs::exists("/Documents/TESSEL/private"));
}

TEST_F(ConvertCli, BranchBNeedsConfirmation) {
  // No terminal and no --yes: refused before anything is written.
  Cli r = runCli({"convert", src(), "-o", dst()});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
  EXPECT_FALSE(marker());
  EXPECT_FALSE(fs::exists(priv));

  r = runCli({"convert", src(), "-o", dst(), "--yes", "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(marker());
  EXPECT_EQ(readText(priv / "config.txt"), "R1=03; 9600\r\nR2=08;\r\nR3=7F;\r\nRC0=01;");
  EXPECT_TRUE(fs::exists(priv / "image" / "1.zbmp"));
  EXPECT_TRUE(fs::exists(priv / "image" / "2.zbmp"));
  EXPECT_EQ(json(r)["branch"].toString(), "B");
  EXPECT_EQ(json(r)["totals"].toObject()["picturesConverted"].toInt(), 2);
}

TEST_F(ConvertCli, SetCorrectsTheParametersReadFromTheSource) {
  const std::string text = "R1=05; 38400\r\nR2=00;\r\nR3=FF;\r\n";
  writeText(source / "config.txt", text);
  Cli r = runCli({"convert", src(), "-o", dst(), "-y", "--set", "baud=115200", "--set",
                  "screen-rotation=180", "--set=restore-text-background=off"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readText(priv / "config.txt").substr(0, 14), "R1=07; 115200\r");
  EXPECT_NE(readText(priv / "config.txt").find("R3=DF;"), std::string::npos);
  EXPECT_EQ(readText(priv / "config.txt").find("RC0"), std::string::npos);

  // A wrong correction is refused before anything is touched: the output of
  // the run before stays whole.
  const std::string written = readText(priv / "config.txt");
  r = runCli({"convert", src(), "-o", dst(), "-y", "--set", "baud=1234"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("baud=1234"), std::string::npos);
  EXPECT_EQ(readText(priv / "config.txt"), written);
  EXPECT_TRUE(marker());
}

TEST_F(ConvertCli, AnswerOnATerminalConfirms) {
  // What a terminal user types reaches the confirmation (the test's input is
  // not a terminal, so the host is told it is one).
  for (const auto& [answer, status] : std::vector<std::pair<std::string, int>>{{"y\n", 0}, {"n\n", 3}, {"", 3}}) {
    std::istringstream in(answer);
    std::ostringstream outText, errText;
    cli::CliIo io{outText, errText, in, false, true, std::nullopt};
    const int got = cli::RunCli({"tessel-cli", "convert", QString::fromStdString(src()), "-o",
                                 QString::fromStdString(dst()), "--resources", TESSEL_BIN_DIR},
                                io);
    EXPECT_EQ(got, status) << answer << errText.str();
    EXPECT_NE(errText.str().find("Confirm? [y/N]"), std::string::npos);
    EXPECT_NE(errText.str().find("baud=9600"), std::string::npos);
  }
}

TEST_F(ConvertCli, BaudIndexOutsideTheListNeedsARate) {
  writeText(source / "config.txt", "R1=0A;\r\nR2=00;\r\n");
  Cli r = runCli({"convert", src(), "-o", dst(), "--yes"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("--set baud="), std::string::npos);
  EXPECT_FALSE(marker());
  r = runCli({"convert", src(), "-o", dst(), "--yes", "--set", "baud=9600"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readText(priv / "config.txt").substr(0, 11), "R1=03; 9600");
}

TEST_F(ConvertCli, FormatsPackAndBranchA) {
  Cli r = runCli({"convert", src(), "-o", dst(), "-y", "--format", "jpeg"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(priv / "image" / "1.jpg"));
  r = runCli({"convert", src(), "-o", dst(), "-y", "--format", "jpeg-hq", "--pack",
              "--compression", "smallest", "--no-reuse", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  QJsonObject settings = json(r)["settings"].toObject();
  EXPECT_EQ(settings["format"].toString(), "jpeg-hq");
  EXPECT_EQ(settings["compression"].toString(), "smallest");
  EXPECT_TRUE(settings["pack"].toBool());
  EXPECT_FALSE(settings["reuse"].toBool());
  EXPECT_EQ(fs::file_size(priv / "bin" / "image.idx"), 48u);
  EXPECT_FALSE(fs::exists(priv / "image" / "1.jpg"));

  writeText(source / "13.bin", "a");
  writeText(source / "14.bin", "b");
  r = runCli({"convert", src(), "-o", dst(), "--rotation", "90", "--font", "segment",
              "--font-display", "bitmap", "--deripple", "-j", "2", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;  // Branch A: never asks
  EXPECT_EQ(json(r)["branch"].toString(), "A");
  settings = json(r)["settings"].toObject();
  EXPECT_EQ(settings["rotation"].toString(), "90");
  EXPECT_EQ(settings["font"].toString(), "segment");
  EXPECT_EQ(settings["fontDisplay"].toString(), "bitmap");
  EXPECT_TRUE(settings["deripple"].toBool());
  EXPECT_EQ(settings["jobs"].toInt(), 2);
  EXPECT_TRUE(fs::exists(priv / "bin" / "14.bin"));
  EXPECT_EQ(fs::file_size(priv / "truefont" / "font.ttf"),
            fs::file_size(fs::path(TESSEL_BIN_DIR) / PathFromUtf8("数码管.ttf")));
}

TEST_F(ConvertCli, WarningsForSkippedInputsAndQuiet) {
  writeText(source / "3.bmp", "garbage");
  Cli r = runCli({"convert", src(), "-o", dst(), "-y"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("warning:"), std::string::npos);
  EXPECT_NE(r.err.find("3.bmp"), std::string::npos);
  r = runCli({"convert", src(), "-o", dst(), "-y", "-q"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST_F(ConvertCli, AReRunSaysWhatItReusedAndNoReuseConvertsEverything) {
  ASSERT_EQ(runCli({"convert", src(), "-o", dst(), "-y", "--json"}).status, 0);
  QJsonObject report = json(runCli({"convert", src(), "-o", dst(), "-y", "--json"}));
  EXPECT_EQ(report["totals"].toObject()["reused"].toInt(), 2);
  int marked = 0;
  for (const QJsonValue& output : report["outputs"].toArray()) {
    marked += output.toObject()["reused"].toBool();
  }
  EXPECT_EQ(marked, 2);
  const Cli verbose =
      test::runCliProcess({"--lang", "en", "convert", src(), "-o", dst(), "-y", "-v"}, {});
  EXPECT_NE(verbose.err.find("image/1.zbmp (reused)\n"), std::string::npos) << verbose.err;
  report = json(runCli({"convert", src(), "-o", dst(), "-y", "--json", "--no-reuse"}));
  EXPECT_EQ(report["totals"].toObject()["reused"].toInt(), 0);
}

// Output that cannot reach standard output is not lost silently.
TEST_F(ConvertCli, AReportOrHelpThatCannotReachStandardOutputFailsWithAMessage) {
  writeText(source / "13.bin", "t");
  writeText(source / "14.bin", "t");
  const auto runInto = [&](const QStringList& arguments) {
    std::ofstream full("/dev/full");
    std::ostringstream err;
    std::istringstream in;
    cli::CliIo io{full, err, in, false, false, std::nullopt};
    const int status = cli::RunCli(QStringList{"tessel-cli"} + arguments, io);
    EXPECT_NE(err.str().find("cannot write to standard output: " +
                             std::generic_category().message(ENOSPC)),
              std::string::npos)
        << err.str();
    return status;
  };
  EXPECT_NE(runInto({"--help"}), cli::kDone);
  EXPECT_NE(runInto({"convert", ToQString(source), "-o", ToQString(out), "--json", "-q"}),
            cli::kDone);
  EXPECT_TRUE(fs::exists(priv / "image" / "1.zbmp"));  // the run itself succeeded
}

}  // namespace
}  // namespace tessel
