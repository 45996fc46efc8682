#pragma once
// tessel-cli card: copies an output to an SD card and reads it back.
#include <QStringList>

#include "cli/CliHost.h"

namespace tessel::cli {

// Runs "card" with the arguments after the command's name.
int RunCard(const QStringList& arguments, CliIo& io);

}  // namespace tessel::cli
