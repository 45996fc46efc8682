#include "model/OutputWriter.h"

#include <system_error>

namespace tessel {

void OutputWriter::failed(const fs::path& path, std::string error) {
  failed_ = true;
  report_.writeFailures.push_back(path);
  report_.warn(std::move(error), path);
}

bool OutputWriter::write(const fs::path& path, std::initializer_list<ByteView> parts) {
  if (halted()) return false;
  std::string error;
  std::uint64_t size = 0;
  if (WriteParts(path, parts, &error, faults_, &size)) {
    report_.wrote(path, size);
    return true;
  }
  failed(path, std::move(error));
  return false;
}

bool OutputWriter::copy(const fs::path& from, const fs::path& to) {
  if (halted()) return false;
  std::string error;
  std::uint64_t size = 0;
  const CopyResult result = CopyInto(from, to, &error, faults_, &size, stop_);
  if (result != CopyResult::Done && stopped()) return false;  // stopped: not a failure
  switch (result) {
    case CopyResult::Done:
      report_.wrote(to, size);
      report_.madeFrom(from, to, InputFate::Copied);
      return true;
    case CopyResult::NoSource:
      return false;
    case CopyResult::ReadFailed:
      // The input is at fault, not the output.
      report_.skipped(from, error);
      return false;
    case CopyResult::WriteFailed: {
      // The target folder is missing: a quiet failure, as for a missing source.
      std::error_code ec;
      if (!fs::is_directory(to.parent_path(), ec)) return false;
      report_.setFate(from, InputFate::Skipped, error);
      failed(to, std::move(error));
      return false;
    }
  }
  return false;
}

}  // namespace tessel
