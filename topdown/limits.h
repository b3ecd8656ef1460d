// Every hard limit on what an input may make the program do, with its reason.
// Files come from strangers (forums, archives): a header may claim anything,
// so no size is trusted, and no memory is allocated, until these limits and
// the file's length have shown that the data can exist.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skyplate {

// The largest picture held whole in memory: 2^28 pixels are 1 GiB of colours,
// beyond which a track maker's machine would swap instead of building. Width
// and height are each bounded by it too (a picture 1 pixel high may be 2^28
// wide).
inline constexpr std::int64_t kMaxInMemoryPixels = std::int64_t{1} << 28;

// The largest mask streamed: streaming needs no memory per pixel, so only the
// output file's 32-bit size field bounds it (which it checks as well).
inline constexpr std::int64_t kMaxStreamedPixels = std::int64_t{1} << 40;

// Run-length encoded pixel data this short cannot honestly describe more than
// this many pixels per byte: a row costs at least its end-of-line mark (2
// bytes), so only pictures wider than 2048 pixels whose rows are all empty, or
// data that skips most of the picture with deltas or ends early, come near
// it. Without it a 30-byte file could make us allocate and resample a
// gigabyte of black.
inline constexpr std::int64_t kMaxRlePixelsPerByte = 1024;

// Track file lines longer than this keep only their start: no section name
// or key we look for is anywhere near this long, so a line of megabytes costs
// no more to look at than a short one.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// The largest track file read: real ones are a few kilobytes, and the whole
// file is held in memory (twice while a UTF-16 one is converted).
inline constexpr std::uint64_t kMaxTrackFileBytes = std::uint64_t{64} << 20;

}  // namespace skyplate
