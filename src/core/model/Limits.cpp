#include "model/Limits.h"

#include "util/Text.h"

namespace tessel {

std::string LimitSentence(const LimitFault& f) {
  switch (f.kind) {
    case LimitKind::None:
      return {};
    case LimitKind::PictureSide:
      return trText("Limits", "picture is %1 x %2 pixels, larger than %3 on a side")
          .arg(f.width)
          .arg(f.height)
          .arg(f.limit);
    case LimitKind::DecodedBytes:
      return trText("Limits", "picture is %1 x %2 pixels, more than %3 MiB decoded")
          .arg(f.width)
          .arg(f.height)
          .arg(f.limit >> 20);
    case LimitKind::JpegScans:
      return trText("Limits", "a JPEG of more than %1 scans").arg(f.limit);
    case LimitKind::RlePixels:
      return trText("Limits",
                    "a run-length BMP of %1 x %2 pixels in %3 bytes of data (at most %4 pixels a "
                    "byte are taken)")
          .arg(f.width)
          .arg(f.height)
          .arg(f.amount)
          .arg(f.limit);
    case LimitKind::IconLibraryBytes:
      return trText("Limits", "icon library of %1 bytes is larger than the limit of %2 MiB")
          .arg(f.amount)
          .arg(f.limit >> 20);
    case LimitKind::IconPixelBytes:
      return (f.atLeast ? trText("Limits",
                                 "its icons hold more than %1 bytes of RGB565 pixels, more than "
                                 "the limit of %2 MiB")
                        : trText("Limits",
                                 "its icons hold %1 bytes of RGB565 pixels, more than the limit "
                                 "of %2 MiB"))
          .arg(f.amount)
          .arg(f.limit >> 20);
    case LimitKind::InspectedBytes:
      return trText("Limits", "it is %1 bytes, more than the %2 read for it")
          .arg(f.amount)
          .arg(f.limit);
  }
  return {};
}

LimitFault PictureSizeFault(const Limits& limits, std::uint64_t width, std::uint64_t height) {
  LimitFault fault{LimitKind::None, width, height};
  if (width > limits.pictureSide || height > limits.pictureSide) {
    fault.kind = LimitKind::PictureSide;
    fault.limit = limits.pictureSide;
  } else if (width * height * 4u > limits.decodedBytes) {
    fault.kind = LimitKind::DecodedBytes;
    fault.limit = limits.decodedBytes;
  }
  return fault;
}

}  // namespace tessel
