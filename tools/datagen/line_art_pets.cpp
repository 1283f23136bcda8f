// Pets and toys: cat, dog, teddy bear, bird, fish, duck.
#include <cmath>

#include "line_art_parts.h"
#include "line_art_subjects.h"

namespace datagen::art {

void DrawCat(Sketch& s) {
  s.Polygon(Joined({BezierPoints({480, 500}, {610, 490}, {630, 380}, {590, 320}),
                    BezierPoints({565, 335}, {595, 390}, {575, 460}, {478, 468})}));
  s.CoverEllipse({kMiddle, 430}, 130, 120);
  s.Ellipse({kMiddle, 455}, 62, 72);
  s.CoverEllipse({325, 540}, 38, 22);
  s.CoverEllipse({425, 540}, 38, 22);
  const Points ear = {{278, 185}, {288, 68}, {362, 128}};
  s.Polygon(ear);
  s.Polygon(Mirrored(ear));
  s.CoverCircle({kMiddle, 235}, 110);
  for (double x : {333.0, 417.0}) {
    s.Ellipse({x, 215}, 22, 30);
    s.FillEllipse({x + 3, 222}, 9, 16);
  }
  s.FillPolygon({{360, 255}, {390, 255}, {kMiddle, 272}});
  s.Arc({362, 272}, 13, 12, 0, 180);
  s.Arc({388, 272}, 13, 12, 0, 180);
  for (double dy : {-8.0, 10.0}) {
    s.Line({305, 268 + dy}, {222, 262 + 2.2 * dy});
    s.Line({445, 268 + dy}, {528, 262 + 2.2 * dy});
  }
}

void DrawDog(Sketch& s) {
  s.Polygon(Joined({QuadPoints({470, 470}, {560, 470}, {585, 380}),
                    QuadPoints({560, 375}, {545, 440}, {470, 440})}));
  s.CoverEllipse({kMiddle, 425}, 105, 115);
  s.CoverRect(328, 440, 366, 530);
  s.CoverRect(384, 440, 422, 530);
  s.CoverEllipse({340, 540}, 36, 20);
  s.CoverEllipse({410, 540}, 36, 20);
  s.Cover({{318, 296}, {432, 296}, {438, 328}, {312, 328}});  // collar, its top under the chin
  s.Circle({kMiddle, 346}, 15);
  s.CoverCircle({kMiddle, 215}, 100);
  s.CoverEllipse({268, 230}, 36, 82, 15);
  s.CoverEllipse({482, 230}, 36, 82, -15);
  s.Ellipse({412, 185}, 28, 32);
  DotEye(s, {340, 188});
  DotEye(s, {412, 188});
  s.Ellipse({kMiddle, 262}, 52, 36);
  s.FillEllipse({kMiddle, 245}, 18, 12);
  s.Line({kMiddle, 255}, {kMiddle, 275});
  s.Arc({352, 272}, 23, 12, 0, 180);
  s.Arc({398, 272}, 23, 12, 0, 180);
}

void DrawTeddyBear(Sketch& s) {
  s.CoverEllipse({272, 360}, 36, 72, 35);
  s.CoverEllipse({478, 360}, 36, 72, -35);
  s.CoverEllipse({kMiddle, 410}, 110, 120);
  s.Ellipse({kMiddle, 420}, 60, 70);
  for (double x : {300.0, 450.0}) {
    s.CoverEllipse({x, 520}, 52, 42);
    s.Ellipse({x, 525}, 26, 20);
  }
  for (double x : {295.0, 455.0}) {
    s.Circle({x, 118}, 42);
    s.Circle({x, 118}, 20);
  }
  s.CoverCircle({kMiddle, 200}, 98);
  DotEye(s, {338, 180});
  DotEye(s, {412, 180});
  s.Ellipse({kMiddle, 238}, 46, 36);
  s.FillEllipse({kMiddle, 222}, 15, 10);
  s.Line({kMiddle, 230}, {kMiddle, 248});
  Smile(s, {kMiddle, 240}, 22, 16);
}

void DrawBird(Sketch& s) {
  s.CoverRect(60, 440, 690, 466);
  s.Ellipse({600, 420}, 40, 16, -20);
  s.Ellipse({130, 420}, 40, 16, 20);
  for (double x : {325.0, 375.0}) {
    s.Line({x, 400}, {x, 440});
    s.Line({x, 440}, {x - 14, 452});
    s.Line({x, 440}, {x + 14, 452});
  }
  s.Polygon({{240, 320}, {140, 280}, {150, 370}, {250, 345}});
  s.Polygon({{468, 262}, {540, 285}, {466, 308}});
  s.Polygon({{340, 200}, {320, 150}, {360, 190}, {375, 140}, {385, 195}});
  s.CoverEllipse({350, 300}, 130, 110);
  s.CoverEllipse({320, 315}, 72, 45, -20);
  DotEye(s, {420, 255}, 12);
}

void DrawFish(Sketch& s) {
  const Point body{340, 300};
  const double rx = 190;
  const double ry = 125;
  s.Polygon({{505, 300}, {652, 185}, {620, 300}, {652, 415}});
  s.Polygon(Joined({BezierPoints({250, 215}, {280, 120}, {380, 110}, {430, 212})}));
  s.Polygon({{310, 415}, {350, 480}, {400, 415}});
  s.CoverEllipse(body, rx, ry);
  // Stripes meet the outline exactly, so that each band is its own area.
  for (double x : {350.0, 440.0}) {
    const double half = ry * std::sqrt(1 - std::pow((x - body.x) / rx, 2));
    s.Quad({x, body.y - half}, {x + 30, body.y}, {x, body.y + half});
  }
  s.Circle({230, 270}, 28);
  s.FillCircle({236, 272}, 12);
  Smile(s, {180, 320}, 24, 14);
  s.Circle({115, 175}, 20);
  s.Circle({90, 115}, 15);
  s.Circle({115, 65}, 12);
}

void DrawDuck(Sketch& s) {
  Waves(s, 420, 9, 100);
  const Point sun{110, 110};
  s.Circle(sun, 55);
  HappyFace(s, sun, 56);
  s.MergedOvals({{{600, 85}, 50, 32}, {{552, 100}, 34, 24}, {{648, 100}, 34, 24}});
  s.Cover(Joined({BezierPoints({140, 285}, {150, 470}, {480, 520}, {585, 385}),
                  BezierPoints({585, 385}, {600, 330}, {560, 300}, {500, 300}),
                  BezierPoints({500, 300}, {400, 360}, {260, 340}, {140, 285})}));
  s.Cover(Joined({BezierPoints({230, 360}, {290, 310}, {410, 330}, {440, 390}),
                  BezierPoints({440, 390}, {400, 440}, {290, 430}, {230, 360})}));
  s.CoverCircle({470, 232}, 75);
  s.CoverEllipse({565, 248}, 48, 20);
  s.Line({520, 248}, {610, 248});
  DotEye(s, {488, 212}, 11);
}

}  // namespace datagen::art
