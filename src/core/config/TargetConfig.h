#pragma once
// The target display's register file, config.txt: the bytes of the file as
// each branch writes it. Lines end in CR LF; values are upper-case hex of at
// least two digits (wider values are written in full).
#include <optional>
#include <string>

#include "config/SourceConfig.h"
#include "model/SetupValues.h"

namespace tessel {

// Branch A: from the block file header's registers. A bitmap font display
// adds the RFC line.
std::string FormatBranchA(const RegisterSet& registers, FontDisplay fontDisplay);

// Branch B: from the confirmed values; no line break after the last line.
// Nothing when values.baudIndex lies outside baudRates: such a value is
// never formatted.
std::optional<std::string> FormatBranchB(const SetupValues& values, int configKind,
                                         FontDisplay fontDisplay);

// Every "\n" of `text` becomes "\r\n".
std::string WithCrLf(const std::string& text);

}  // namespace tessel
