#pragma once
// tessel-cli inspect: the page of an output, or a check that writes nothing.
#include <QStringList>

#include "cli/CliHost.h"

namespace tessel::cli {

// Runs "inspect" with the arguments after the command's name.
int RunInspect(const QStringList& arguments, CliIo& io);

}  // namespace tessel::cli
