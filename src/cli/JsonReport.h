#pragma once
// The run report as one JSON document, for scripts: `tessel-cli convert --json`.
#include <QByteArray>
#include <optional>

#include "cli/ConvertCommand.h"
#include "convert/ConversionRun.h"

namespace tessel::cli {

// The version of the document's shape: a script checks it before it reads on.
inline constexpr int kReportSchema = 2;

QByteArray ReportJson(const ConvertOptions& options, const RunResult& result,
                      const std::optional<SetupValues>& confirmed, int exitStatus);

// The tokens of the report that scripts compare (listed in the README).
const char* KindName(InputKind kind);
const char* FateName(InputFate fate);

}  // namespace tessel::cli
