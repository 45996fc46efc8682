#pragma once
// The limits a run and an inspection work within: how large a picture, an
// icon library or a file of the output may be, how much work a small file
// may ask for, and how much memory the work in flight may take. The defaults
// are the program's; a run takes its limits from RunOptions, an inspection
// from InspectOptions. Each limit is compared in one place, and a fault says
// which limit was passed: LimitSentence turns it into the user's words.
#include <cstdint>
#include <string>

namespace tessel {

struct Limits {
  // Pictures wider or taller than this are refused: both outputs store the
  // sides as 16-bit numbers.
  std::uint64_t pictureSide = 65535;
  // Pictures whose decoded size as 32-bit pixels passes this are refused.
  std::uint64_t decodedBytes = std::uint64_t(512) << 20;
  // The memory the workers' pictures and icon libraries in flight may take
  // together, so that more workers do not multiply the peak. A worker waits
  // for its share (MemoryBudget); one larger than this waits until it is
  // alone.
  std::uint64_t bytesInFlight = std::uint64_t(512) << 20;
  // The first bytes of a picture file read to learn what the rest will cost
  // (a JPEG's size lies after its metadata segments).
  std::uint64_t pictureHeadBytes = std::uint64_t(64) << 10;
  // Progressive JPEGs with more scans than this are refused: every scan is a
  // pass over the whole picture.
  std::uint64_t jpegScans = 100;
  // A run-length BMP spends at least two bytes on 255 pixels unless it skips
  // pixels: one declaring more than this many pixels per byte of data is
  // refused (a small file that would take a large picture's memory and time).
  std::uint64_t rlePixelsPerByte = 128;
  // The largest ICL or T5UIC library read. Far above any display's flash, it
  // keeps a run on several threads from holding gigabytes of library files.
  std::uint64_t iconLibraryBytes = std::uint64_t(512) << 20;
  // The icons of one library may hold this much RGB565 together (an icon
  // named by many slots counts for each): far above any real library.
  std::uint64_t iconPixelBytes = std::uint64_t(256) << 20;
  // The largest file of each kind an inspection reads whole.
  std::uint64_t inspectedPictureBytes = std::uint64_t(1) << 30;
  std::uint64_t inspectedLibraryBytes = std::uint64_t(1) << 32;
  std::uint64_t inspectedPackBytes = std::uint64_t(1) << 32;
  std::uint64_t inspectedPackIndexBytes = std::uint64_t(65536) * 16;
  std::uint64_t inspectedTextBytes = std::uint64_t(1) << 20;
  std::uint64_t inspectedFontBytes = std::uint64_t(256) << 20;
};

// Which limit a file goes past.
enum class LimitKind {
  None,
  PictureSide,       // width, height, limit: Limits::pictureSide
  DecodedBytes,      // width, height, limit: Limits::decodedBytes
  JpegScans,         // limit: Limits::jpegScans
  RlePixels,         // width, height, amount (bytes of data), limit: Limits::rlePixelsPerByte
  IconLibraryBytes,  // amount (the file's bytes), limit: Limits::iconLibraryBytes
  IconPixelBytes,    // amount (the icons' bytes; with atLeast, where counting stopped),
                     // limit: Limits::iconPixelBytes
  InspectedBytes,    // amount (the file's bytes), limit: the Limits::inspected* of its kind
};

struct LimitFault {
  LimitKind kind = LimitKind::None;
  std::uint64_t width = 0, height = 0;
  std::uint64_t amount = 0;
  std::uint64_t limit = 0;
  bool atLeast = false;
  explicit operator bool() const { return kind != LimitKind::None; }
};

// The fault, in the user's language, without the file's name ("picture is
// 70000 x 2 pixels, larger than 65535 on a side"); empty for none.
std::string LimitSentence(const LimitFault& fault);

// A picture of this size: past pictureSide, past decodedBytes, or none.
LimitFault PictureSizeFault(const Limits& limits, std::uint64_t width, std::uint64_t height);
inline bool PictureSizeAllowed(const Limits& limits, std::uint64_t width, std::uint64_t height) {
  return !PictureSizeFault(limits, width, height);
}

}  // namespace tessel
