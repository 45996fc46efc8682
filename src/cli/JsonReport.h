#pragma once
// The run report as one JSON document, for scripts: `tessel-cli convert --json`.
#include <QByteArray>
#include <optional>

#include "cli/CliOptions.h"
#include "convert/ConversionRun.h"

namespace tessel::cli {

QByteArray ReportJson(const ConvertOptions& options, const RunResult& result,
                      const std::optional<SetupValues>& confirmed, int exitStatus);

// Names used in the report and the verbose lines.
const char* KindName(InputKind kind);
const char* FateName(InputFate fate);

}  // namespace tessel::cli
