#pragma once

#include <initializer_list>

#include "line_art_sketch.h"

// Pieces that many of the drawings share: faces, mirrored halves, joined outlines.
namespace datagen::art {

inline constexpr double kPen = 5;       // bold enough to read in a thumbnail
inline constexpr double kMiddle = 375;  // the vertical axis of the canvas
inline constexpr double kCanvasRight = 749;

// A dot eye, the kind that reads best at every size.
inline void DotEye(Sketch& s, Point centre, double radius = 10) { s.FillCircle(centre, radius); }

// A smile: the lower part of an ellipse around `centre`.
inline void Smile(Sketch& s, Point centre, double half_width, double depth) {
  s.Arc(centre, half_width, depth, 20, 160);
}

// Two dot eyes and a smile, for suns, snowmen and friendly animals.
void HappyFace(Sketch& s, Point centre, double size);

// The mirror image of `points` about the vertical line x = `axis`.
Points Mirrored(const Points& points, double axis = kMiddle);

// Pieces of an outline in drawing order, as one closed path.
Points Joined(std::initializer_list<Points> pieces);

// A horizon from edge to edge, which splits the background into sky and ground.
inline void Ground(Sketch& s, double y) { s.Line({0, y}, {kCanvasRight, y}); }

// A gentle wave from edge to edge, for water.
void Waves(Sketch& s, double y, double height, double length);

}  // namespace datagen::art
