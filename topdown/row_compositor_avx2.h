// The AVX2 form of the row compositing, for processors that have it.
#pragma once

#include "topdown/plane_blend.h"
#include "topdown/row_compositor.h"

namespace skyplate {

// True when this processor runs AVX2 code.
bool HaveAvx2();

// Composes whole blocks of 16 of the `count` pixels of one run within one
// repeat of the tiles (`tiles`: the four tiles' planes at the run's start)
// and returns how many pixels it composed; the caller does the rest.
int ComposeBlocksAvx2(const BgrPixel* mask, const ConstPlanes (&tiles)[4], int count,
                      BgrPixel* out);
int ComposeBlocksAvx2(const Colour* mask, const ConstPlanes (&tiles)[4], int count, Colour* out);

}  // namespace skyplate
