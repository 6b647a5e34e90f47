// Error handling for the JPEG library that neither prints nor ends the process.
//
// The library reports a fatal error by calling error_exit, which must not return. Ours
// jumps back to the `sprung` set by the function that made the library call. Every such
// function sets it with setjmp right before its calls and holds no objects with
// destructors, so the jump skips nothing but the library's own frames.
//
// A decoder jumps back the same way on the warnings after which the library would make
// up the rest of the picture (grey or garbage rows for a cut-off or broken file): such a
// picture is refused rather than used half invented. Milder warnings (stray bytes
// between markers, common in camera files) and all traces are dropped silently.
#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace tilvendo {

struct JpegFehlerbehandlung {
  jpeg_error_mgr mgr{};
  std::jmp_buf sprung{};
};

// Fills `fehler` and returns the manager to put into the library object's `err`.
jpeg_error_mgr* StilleFehlerbehandlung(JpegFehlerbehandlung& fehler);

}  // namespace tilvendo
