#pragma once
// Building the output of one icon library in memory: read, decode, compress.
// Nothing here touches the output folder or shared state, so libraries can be
// built on any thread and written afterwards in the run's order.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Limits.h"
#include "model/Settings.h"
#include "icon/IconLibrary.h"
#include "icon/Zico.h"
#include "picture/MemoryBudget.h"
#include "util/Bytes.h"

namespace tessel {

namespace fs = std::filesystem;

// A JPEG icon decoded to RGB565, rows top to bottom without padding, every
// pixel low byte first.
struct DecodedIcon {
  int width = 0;
  int height = 0;
  Bytes pixels;
};

// Decodes a picture held in memory (no temporary file). Nothing when it
// cannot be decoded, or when it is cut short or would take far more work
// than its bytes justify, as a picture file would be refused: `problem`
// then says why, when it can.
std::optional<DecodedIcon> DecodeIconPicture(ByteView data, const Limits& limits,
                                             std::string* problem = nullptr);

// One screen picture made from an icon of the picture library.
struct IconPicture {
  int id = 0;
  std::string extension;  // ".zbmp" or ".jpg"
  Bytes bytes;            // the whole file
  // A slot naming the record of an earlier slot: the index of that slot's
  // picture in `pictures`, whose bytes it shares (its own are empty).
  int sameAs = -1;
  const Bytes& file(const std::vector<IconPicture>& pictures) const {
    return sameAs >= 0 ? pictures[std::size_t(sameAs)].bytes : bytes;
  }
};

// What one library turns into.
struct BuiltIconLibrary {
  bool missing = false;    // unreadable or too short: no output at all
  bool abandoned = false;  // ran out of memory: no output at all
  bool toPictures = false; // picture library: `pictures`, and no .zico
  ZicoBuilder zico;        // the .zico content (no record: a 0-byte file)
  std::vector<IconPicture> pictures;
  int iconsFound = 0;      // entries the library holds (converted or not)
  std::vector<std::string> warnings;
  // Taken unchanged from a previous run's output instead of built: the
  // whole .zico as it is written, and the icons it holds.
  bool reused = false;
  Bytes reusedFile;
  int reusedIcons = 0;
};

// How a library is to be converted.
struct IconLibraryJob {
  fs::path path;
  IconLayout layout = IconLayout::Raw;
  int number = 0;  // the library's file number: icon/<number>.zico
  // Icl only: the icons become screen pictures encoded with the run's picture
  // encoding, rotated by `rotation`, instead of a .zico.
  bool toPictures = false;
  int rotation = 0;
};

// Builds one library from its file contents, within `work`'s limits
// (Limits::iconPixelBytes, and the pictures') and a share of its budget.
// `job.path` names the library in warnings only. Icons stored in the .zico
// are never rotated or dithered.
BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job,
                                  ByteView data, const WorkLimits& work);

// A raw library's slots reach no further than this (a 24-bit address of
// 16-bit words and a block of 1023 x 1023 pixels): only this much of a raw
// library is read, whatever its size.
constexpr std::uint64_t kRawLibraryReach = 2 * std::uint64_t(0xFFFFFF) + 2 * 1023 * 1023;

// Looks at a library's bytes once they are read (`fileSize`: the size of its
// file), before anything is built. True when it filled `built` from
// elsewhere (a previous run's output): nothing is built then.
using IconLibraryShortcut =
    std::function<bool(ByteView data, std::uint64_t fileSize, BuiltIconLibrary& built)>;

// Reads job.path (an ICL or T5UIC library larger than Limits::iconLibraryBytes
// is skipped with a warning that gives its size) and builds it within `work`'s
// limits and budget, unless `shortcut` takes it. Running out of memory
// abandons the library with a warning naming its path.
BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job,
                                  const WorkLimits& work,
                                  const IconLibraryShortcut& shortcut = {});

}  // namespace tessel
