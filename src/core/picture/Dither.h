#pragma once
// De-ripple: an error-diffusion dither (Floyd-Steinberg weights 7, 3, 5, 1
// over 16, integer arithmetic) that reduces every pixel to RGB565 precision
// before the picture is encoded.
#include <QImage>
#include <cstdint>

namespace tessel {

// Dithers `height` rows of `width` pixels to RGB565.
// src: rows of 3 bytes per pixel in the order blue, green, red, `srcPitch`
// bytes apart. dst: rows of 16-bit little-endian RGB565 values, `dstPitch`
// bytes apart (width * 2 for packed rows).
//
// Each channel keeps an error accumulator per pixel. A pixel's value is its
// source value plus what it received divided once by 16 (truncating toward
// zero); it is clamped to 0..255 and quantised (red and blue >> 3, green >>
// 2); its error against the reconstruction level (q * 255 / 31 or q * 255 /
// 63) is passed on undivided: 7 times to the next pixel of the row (the
// carry, dropped at the row's end), 3, 5 and 1 times to the three pixels
// below. Errors that fall outside the picture are lost.
void DitherToRgb565(const std::uint8_t* src, int width, int height, int srcPitch,
                    std::uint8_t* dst, int dstPitch);

// Replaces every pixel's colour by its dithered RGB565 value, widened again
// by shifting (red << 3, green << 2, blue << 3; the low bits stay 0). Each
// pixel keeps its alpha. The result is Format_ARGB32 when the picture has an
// alpha channel, Format_RGB32 otherwise. An empty picture stays as it is.
void ApplyDeRipple(QImage& picture);

}  // namespace tessel
