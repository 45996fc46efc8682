#include "TesselApp.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "AppIcon.h"
#include "TesselDlg.h"
#include "util/Language.h"
#include "util/Paths.h"

namespace tessel {

CTesselApp::CTesselApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("tessel"));
  setApplicationVersion(QStringLiteral(TESSEL_VERSION));
  setDesktopFileName(QStringLiteral("tessel"));
  setWindowIcon(TesselIcon());
  SetProgramFolder(ToPath(applicationDirPath()));
  // The dialogs are made in the language chosen here: the system's, or the
  // one --lang names.
  arguments_ = arguments();
  language_ = TakeLanguageArgument(arguments_);
  UseLanguage(language_.language ? *language_.language : SystemLanguage());
}

int CTesselApp::run() {
  const QStringList& args = arguments_;
  if (language_.bad) {
    QTextStream(stderr) << "tessel: " << language_.errorText() << '\n';
    return 2;
  }
  if (args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))) {
    QTextStream(stdout) << QCoreApplication::translate(
        "App",
        "Usage: tessel [options] [FOLDER]\n"
        "\n"
        "Opens the Tessel dialog, which converts a DWIN project folder (DWIN_SET) into the\n"
        "KOVA_TFT SD-card layout. FOLDER (or a file inside it) is the source the dialog\n"
        "starts with.\n"
        "\n"
        "Options:\n"
        "  -h, --help     Show this text.\n"
        "  -V, --version  Show the version.\n"
        "  --lang <LANG>  The language of the dialogs: zh or en (default: the system's).\n"
        "\n"
        "Qt's own options (-platform NAME, for example) are accepted as well.\n");
    return 0;
  }
  if (args.contains(QStringLiteral("-V")) || args.contains(QStringLiteral("--version"))) {
    QTextStream(stdout) << "tessel " << TESSEL_VERSION << '\n';
    return 0;
  }
  CTesselDlg dialog;
  // "tessel FOLDER" (or a file inside it, as a file manager passes it)
  // starts with that folder as the source; "-o DIR" with that output root.
  bool sourceTaken = false;
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("-o") || arg == QLatin1String("--output") ||
        arg.startsWith(QLatin1String("--output="))) {
      const QString dir = arg.startsWith(QLatin1String("--output="))
                              ? arg.mid(9)
                              : (i + 1 < args.size() ? args[++i] : QString());
      if (dir.isEmpty()) {
        QTextStream(stderr) << "tessel: "
                            << QCoreApplication::translate("tessel::CTesselApp",
                                                           "-o 需要一个输出目录")
                            << '\n';
        return 2;
      }
      dialog.setOutputRoot(ToPath(QDir::toNativeSeparators(QFileInfo(dir).absoluteFilePath())));
    } else if (!sourceTaken && !arg.startsWith(QLatin1Char('-'))) {
      sourceTaken = dialog.takeSource(arg);
    }
  }
  dialog.exec();
  return 0;
}

int RunBeforeWindow(int argc, char** argv) {
  bool help = false, version = false;
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    help = help || arg == "-h" || arg == "--help";
    version = version || arg == "--version";
  }
  bool display = true;
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
  // Without a display Qt's platform plugin would abort the process.
  display = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
            qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#endif
  if (!help && !version && display) return -1;

  QCoreApplication core(argc, argv);
  SetProgramFolder(ToPath(QCoreApplication::applicationDirPath()));
  QStringList arguments = QCoreApplication::arguments();
  const LanguageArgument language = TakeLanguageArgument(arguments);
  UseLanguage(language.language ? *language.language : SystemLanguage());
  if (version) {
    QTextStream(stdout) << "tessel " << TESSEL_VERSION << '\n';
    return 0;
  }
  if (help) {
    QTextStream(stdout) << QCoreApplication::translate(
        "tessel::CTesselApp",
        "用法：tessel [选项] [文件夹]\n"
        "\n"
        "把 DWIN 串口屏工程的下载目录（DWIN_SET）转换为 KOVA_TFT 的 SD 卡目录。\n"
        "文件夹：打开时填入的 DWIN_SET 路径。\n"
        "\n"
        "选项：\n"
        "  -o, --output 目录   输出目录（默认：文档目录/TESSEL）\n"
        "  --lang zh|en        界面语言（默认：系统的语言）\n"
        "  -h, --help          显示本说明\n"
        "  --version           显示版本\n"
        "\n"
        "在命令行转换或写入SD卡：tessel-cli --help\n");
    return 0;
  }
  QTextStream(stderr) << "tessel: "
                      << QCoreApplication::translate(
                             "tessel::CTesselApp",
                             "需要图形界面，但没有显示器（DISPLAY 和 WAYLAND_DISPLAY 都未设置）；"
                             "在命令行转换请用 tessel-cli")
                      << '\n';
  return 1;
}

}  // namespace tessel
