// tessel-cli: converts a DWIN project folder from the command line.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>

#include "cli/Cli.h"
#include "util/Paths.h"
#include "util/Platform.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  tessel::SetProgramFolder(tessel::ToPath(QCoreApplication::applicationDirPath()));
  tessel::cli::CliIo io{std::cout, std::cerr, std::cin, tessel::IsTerminal(stderr), tessel::IsTerminal(stdin),
                        tessel::SystemLanguage(), tessel::TerminalColumns()};
  io.handleSignals = true;
#ifdef _WIN32
  // QCoreApplication::arguments() decodes the platform's argument encoding.
  return tessel::cli::RunCli(QCoreApplication::arguments(), io);
#else
  // Byte for byte: a folder name that is not UTF-8 stays the folder it names.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << tessel::ToQString(std::filesystem::path(argv[i]));
  return tessel::cli::RunCli(arguments, io);
#endif
}
