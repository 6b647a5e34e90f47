// What a JPEG decoder holds while it decodes, known from the header alone.
//
// A file of a few hundred kilobytes may declare a picture of 400 megapixels; decoded
// progressively, libjpeg then keeps every coefficient of the picture (over a gigabyte)
// before the first row comes out. Readers estimate that before decoding and hold the
// library to the estimate, so that a file needing more fails cleanly instead.
#pragma once

#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace tilvendo {

// The bytes the decoder will hold for `info` after jpeg_read_header and the choice of the
// output: the whole picture's coefficients for files of several scans (progressive ones),
// and for every file its row buffers. A generous upper bound.
uint64_t JpegDekoderBedarf(j_decompress_ptr info);

// Lets the decoder hold no more than `bytes`: asking for more ends the decoding with an
// error (there is no backing store) instead of allocating it. Call before
// jpeg_start_decompress.
void JpegDekoderBegrenzen(j_decompress_ptr info, uint64_t bytes);

}  // namespace tilvendo
