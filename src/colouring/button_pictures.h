#pragma once

class FormaMain;

// Puts the main-screen buttons beside the canvas back to their resting pictures, for a move
// over the canvas that draws nothing. A picture that cannot be loaded ends it there, and the
// failure passes to the caller.
void reset_buttons_over_canvas(FormaMain& f);
