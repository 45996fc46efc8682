#pragma once
// The folder an inspection page is written into, made the way a run makes
// its outputs: every file written fresh under a new name beside its place
// and renamed into place (never written through a link), never opened in a
// way that waits (a FIFO), and nothing removed that this page did not make.
// What stands where the page wants to write and is not a regular file (a
// link, a FIFO, a folder) is refused with a message naming it.
#include <filesystem>
#include <string>

#include "util/Bytes.h"

namespace tessel::inspect {

// Makes `folder` and the folders above it. Refused (the reason is
// returned) when `folder` or a folder the page makes inside the page
// folder is a link or not a folder; empty when it is ready.
std::string MakePageFolder(const std::filesystem::path& folder);

// Why the page may not put a file at `file`; empty when nothing or a
// regular file stands there (an earlier page's, replaced whole).
std::string PageFileProblem(const std::filesystem::path& file);

// Writes `bytes` as `file`, fresh. False, with the reason in `error`, when
// PageFileProblem refuses the place or the write fails (no partial file is
// left, an earlier file stays).
bool WritePageFile(const std::filesystem::path& file, ByteView bytes, std::string* error);

}  // namespace tessel::inspect
