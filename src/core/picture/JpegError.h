#pragma once
// The one way libjpeg reports to us: an error jumps back to the function that
// called setjmp with the library's message; warnings are counted by the
// library and never printed.
//
// A context embeds JpegErrors as its first member and lives outside the frame
// that calls setjmp, so its values are defined after the jump. Only plain C
// data: nothing with a destructor is skipped by the jump.
#include <csetjmp>
#include <cstdio>
// jpeglib.h expects size_t and FILE to be declared first.
#include <jpeglib.h>

namespace tessel {

struct JpegErrors {
  jpeg_error_mgr manager;  // first: the callbacks find the context through cinfo->err
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Sets up `errors` and returns the manager for cinfo.err.
jpeg_error_mgr* InstallJpegErrors(JpegErrors& errors);

}  // namespace tessel
