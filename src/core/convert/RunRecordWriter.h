#pragma once
// Builds the run record (model/RunRecord.h) from what a completed run
// reported, and writes it beside private/.
#include <string>

#include "convert/ConversionRun.h"
#include "convert/Reuse.h"
#include "model/OutputWriter.h"
#include "model/RunRecord.h"
#include "util/FileIO.h"

namespace tessel {

// The rotations the run applied: to the picture files (and pack entries),
// and to the picture library's screens.
struct RecordRotations {
  int pictures = 0;
  int pictureLibrary = 0;
};

// `made` adds what each output was made from, for a later run's reuse.
RunRecord BuildRunRecord(const RunResult& result, const std::filesystem::path& sourceFolder,
                         const RecordRotations& rotations, const MadeFactsMap* made = nullptr);

// Writes the record as `file` through the run's writer (a failure is
// reported there like any other). The run writes it under a name of its own
// and puts it beside private/ (OutputLayout::runRecord) with the output.
bool WriteRunRecord(const RunResult& result, const std::filesystem::path& sourceFolder,
                    const RecordRotations& rotations, const std::filesystem::path& file,
                    OutputWriter& out, const MadeFactsMap* made = nullptr);

}  // namespace tessel
