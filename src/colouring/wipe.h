#pragma once

#include <cstdint>

#include "platform/canvas.h"

// The wipe's two halves, apart so that tests can reach each pattern and the draw itself.

// Draws a sweep pattern 1 to 8 from the random-number generator, re-seeding it after every
// draw; a 0 is drawn again.
std::int16_t draw_wipe_pattern();

// Whitens the canvas pixel by pixel in the given pattern, fetching its device context anew
// for every write: 450,000 writes for patterns 1 to 4, 900,000 for 5 to 8.
void sweep_wipe_pattern(platform::Canvas& canvas, std::int16_t pattern);
