#pragma once
// Reading DWIN icon libraries in their three layouts. The reader works on one
// in-memory copy of the library file and decodes nothing: JPEG icons come out
// as JPEG bytes, raw icons as little-endian RGB565 pixels.
//
// Every number inside a library is big-endian. Every offset and length is
// checked against the loaded file in 64 bits before it is used, so a damaged
// or hostile library never makes the reader look outside its buffer.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "util/Bytes.h"

namespace tessel {

namespace fs = std::filesystem;

// Icl: offset table and head/body JPEG records (".icl" files).
// T5uic: 256 slots pointing at complete JPEG files (T5UIC projects).
// Raw: 16384 slots pointing at big-endian RGB565 blocks (".ico" files).
enum class IconLayout { Icl, T5uic, Raw };

// One icon of a library.
struct IconEntry {
  int id = 0;         // slot number; skipped slots use up their number too
  Bytes jpeg;         // Icl, T5uic: one complete JPEG file
  int width = 0;      // Raw: from the slot
  int height = 0;     // Raw: from the slot
  Bytes pixels;       // Raw: width * height RGB565 values, low byte first
};

// How a scan went.
struct IconScanResult {
  // The library could not be read or is too short to hold its table: it
  // yields nothing and no output is made for it.
  bool missing = false;
  // Set when the scan stopped at a damaged slot (see ReadIconLibrary); the
  // entries produced before that point stay valid.
  std::string problem;
};

using IconEntrySink = std::function<void(IconEntry&&)>;

// Smallest library sizes that are not "missing": a library must be longer
// than this many bytes.
constexpr std::uint64_t kShortestIclOrT5uic = 16;
constexpr std::uint64_t kShortestRaw = 131072;

// Scans `data` in `layout` and hands every entry to `sink`, one at a time in
// slot order, so that a large library never has all its icons in memory at
// once.
//
// Icl: the scan follows a 16-bit counter read from bytes 13-14. A count c
// below 1024 takes at most c + 1 slots (the counter wraps from 0 to 65535 on
// the last one), 1024 or more takes none. A slot whose head and body together
// are 0x40000 bytes or more is skipped without moving the counter. A slot
// whose record would start beyond the end of the file ends the scan.
// Damaged slots also end the scan, with `problem` set: an offset table that
// runs past the end of the file, a record whose head or body reaches past the
// end, and a record with an empty head (0 bytes). Ending is the only choice
// that works for a table running off the file, and it is what the layout
// itself does for records that start beyond the end, so one rule covers all
// of them.
//
// T5uic: slots 0..255; a slot whose data would end beyond the end of the file
// ends the scan (as does a slot table cut short by the end of the file, with
// `problem` set); a slot of 10 bytes or fewer is skipped.
//
// Raw: slots 0..16383 with 10-bit widths and heights; a slot of width or
// height 0, or whose block does not fit in the file, is skipped.
IconScanResult ReadIconLibrary(ByteView data, IconLayout layout, const IconEntrySink& sink);

// The layout of the library at `path`: T5uic for every library of a project
// configured by a T5UIC block file (see IsT5uicProject), else Icl for an
// ".icl" file and Raw for the rest.
IconLayout IconLayoutOf(const fs::path& path, bool t5uicProject);

// True when the project's block file (t5*.cfg) is a T5UIC one: its file name
// holds "t5uic" (a folder of that name does not count).
bool IsT5uicProject(const fs::path& t5Config);

// The JPEG file of one ICL record: the head, with the start-of-scan segment's
// trailing 0xFF fill bytes stripped (when the segment lies inside the head),
// followed by the body. Exposed for tests and fuzzers.
Bytes RebuildIclJpeg(ByteView head, ByteView body);

}  // namespace tessel
