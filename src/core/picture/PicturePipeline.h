#pragma once
// One picture, one way: load (the short way for plain BMPs and JPEGs, Qt for
// the rest) -> prepare (de-ripple, then rotation) -> encode (.zbmp or JPEG
// file, or a picture pack block). Pure: touches no file but the source, so
// pictures may be encoded on any thread and written in the run's order.
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Limits.h"
#include "model/Settings.h"
#include "picture/MemoryBudget.h"
#include "util/Bytes.h"

namespace tessel {

// What the encoded bytes are for.
enum class PictureTarget {
  File,       // a whole .zbmp (raw rows when compression would be longer) or .jpg file
  PackBlock,  // a picture pack block: always the zlib stream of the rows, or a JPEG file
};

// Kinds of picture pack block.
constexpr std::uint8_t kPackZlibRgb565 = 0x04;
constexpr std::uint8_t kPackJpeg = 0x08;

struct EncodedPicture {
  bool ok = false;
  std::string error;          // why there are no bytes (the reason alone)
  std::string extension;      // File: ".zbmp" or ".jpg"
  std::uint8_t packKind = 0;  // PackBlock: kPackZlibRgb565 or kPackJpeg
  int width = 0, height = 0;  // after rotation
  Bytes bytes;
  std::vector<std::string> messages;  // what the image readers said while reading it
};

// Encodes the picture file at `path` (or the picture held in `data`) with the
// encoding, turned by `rotation` (0 none, 1 = 90, 2 = 180, 3 = 270 degrees
// clockwise; exact). De-ripple acts on the unturned picture. The picture is
// refused past `work`'s limits, and decoded within a share of its budget.
// `shortcut`, when given, sees the bytes read and the file's size before
// they are decoded, on the same worker: when it answers true it has the
// picture from elsewhere, nothing is decoded and the result is empty (ok).
using PictureShortcut = std::function<bool(ByteView data, std::uint64_t fileSize)>;
EncodedPicture EncodePictureFile(const std::filesystem::path& path,
                                 const PictureEncoding& encoding, int rotation,
                                 PictureTarget target, const WorkLimits& work,
                                 const PictureShortcut& shortcut = {});
EncodedPicture EncodePictureBytes(ByteView data, const PictureEncoding& encoding, int rotation,
                                  PictureTarget target, const WorkLimits& work);

// How many pictures this process has decoded and encoded so far (the tests
// count the work a run does).
std::uint64_t PicturesEncoded();

// The size of the picture at `path` once it is decoded; nothing when it does
// not decode.
std::optional<QSize> DecodedPictureSize(const std::filesystem::path& path, const Limits& limits);

}  // namespace tessel
