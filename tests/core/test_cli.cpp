// tessel-cli as a program: its synopsis, help and version, the mistakes made
// before a command has its arguments, and the shape of every usage error.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/Cli.h"
#include "cli/HelpText.h"
#include "support/TestSupport.h"

namespace tessel {
namespace {

using test::runCli;
using Cli = test::CliRun;

int lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// No arguments: the synopsis of every command on the error stream, exit 2;
// help, help COMMAND, -V and version answer on standard output.
TEST(Cli, TheProgramAloneHelpAndVersionAnswer) {
  const Cli alone = runCli({});
  EXPECT_EQ(alone.status, cli::kUsage);
  EXPECT_EQ(alone.out, "");
  const Cli help = runCli({"help"});
  for (const char* synopsis : {"convert SOURCE", "inspect PATH", "card OUTPUT_ROOT CARD_ROOT",
                               "help [COMMAND]"}) {
    EXPECT_NE(alone.err.find(std::string("tessel-cli ") + synopsis), std::string::npos)
        << alone.err;
    EXPECT_NE(help.out.find(std::string("\n  ") + synopsis), std::string::npos) << help.out;
  }
  EXPECT_EQ(help.out, runCli({"--help"}).out);
  EXPECT_EQ(help.out, runCli({"-h"}).out);
  for (const char* command : {"convert", "inspect", "card"}) {
    const Cli own = runCli({command, "--help"});
    EXPECT_EQ(own.status, cli::kDone) << command;
    EXPECT_EQ(own.out.rfind(std::string("Usage: tessel-cli ") + command, 0), 0u) << own.out;
    EXPECT_EQ(runCli({"help", command}).out, own.out) << command;
  }
  for (const char* version : {"-V", "--version", "version"}) {
    const Cli r = runCli({version});
    EXPECT_EQ(r.status, cli::kDone);
    EXPECT_EQ(r.out, std::string("tessel-cli ") + TESSEL_VERSION + "\n");
  }
}

// A usage error is one line naming the problem and one pointing at the help
// that answers it: the program's before a command, else the command's own.
TEST(Cli, UsageErrorsPointAtTheHelpThatAnswersThem) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"frobnicate"}, "see tessel-cli help"},
      {{"--frobnicate", "convert"}, "see tessel-cli help"},
      {{"help", "nonsense"}, "see tessel-cli help"},
      {{"help", "help"}, "see tessel-cli help"},
      {{"help", "convert", "inspect"}, "see tessel-cli help"},
      {{"--lang", "xx", "help"}, "see tessel-cli help"},
      {{"convert", "--bogus"}, "see tessel-cli convert --help"},
      {{"inspect", "--bogus"}, "see tessel-cli inspect --help"},
      {{"card", "--bogus"}, "see tessel-cli card --help"},
  };
  for (const auto& [args, pointer] : cases) {
    const Cli r = runCli(args);
    EXPECT_EQ(r.status, cli::kUsage) << args[0];
    EXPECT_EQ(lines(r.err), 2) << r.err;
    EXPECT_EQ(r.err.rfind("tessel-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\n" + pointer + "\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  // Qt's parser errors in the program's shape, in the language in use.
  const Cli en = test::runCliProcess({"--lang", "en", "convert", "x", "--bogus"}, {});
  EXPECT_EQ(en.err.rfind("tessel-cli: unknown option '--bogus'\n", 0), 0u) << en.err;
  const Cli zh = test::runCliProcess({"--lang", "zh", "inspect", "x", "-o"}, {});
  EXPECT_EQ(zh.err.rfind("tessel-cli: -o ", 0), 0u) << zh.err;
  EXPECT_EQ(zh.err.find("Missing"), std::string::npos) << zh.err;
}

// The help is wrapped by display width: a Chinese character takes two
// columns, and no line breaks inside an option value.
TEST(Cli, TheChineseHelpFitsEightyColumns) {
  for (const char* command : {"convert", "inspect"}) {
    const Cli help = test::runCliProcess({"--lang", "zh", "help", command}, {{"COLUMNS", "80"}});
    ASSERT_EQ(help.status, cli::kDone);
    const QString text = QString::fromStdString(help.out);
    EXPECT_TRUE(text.contains(QStringLiteral("选项"))) << help.out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
      EXPECT_LE(cli::DisplayWidth(line), 80) << line.toStdString();
    }
  }
  const Cli convert = test::runCliProcess({"--lang", "zh", "convert", "--help"}, {});
  EXPECT_NE(convert.out.find("ascii|cjk|segment|segment-bold|segment-italic"), std::string::npos);
  EXPECT_EQ(cli::DisplayWidth(QStringLiteral("图片a")), 5);
}

}  // namespace
}  // namespace tessel
