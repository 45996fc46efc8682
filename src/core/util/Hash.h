#pragma once
// The content hash a run records for its sources and outputs, so that a later
// run can tell an unchanged file from a changed one.
#include <string>

#include "util/Bytes.h"

namespace tessel {

// SHA-256 of the bytes, in lower-case hexadecimal.
std::string ContentHash(ByteView data);

}  // namespace tessel
