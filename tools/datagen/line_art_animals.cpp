// Wild and farm animals: butterfly, snail, turtle, pig, elephant, owl.
#include <cmath>
#include <numbers>

#include "line_art_parts.h"
#include "line_art_subjects.h"

namespace datagen::art {

void DrawButterfly(Sketch& s) {
  for (bool right : {false, true}) {
    const double side = right ? 1 : -1;
    auto x = [&](double dx) { return kMiddle + side * dx; };
    s.CoverEllipse({x(100), 390}, 92, 75, side * -30);
    s.Circle({x(100), 395}, 28);
    s.CoverEllipse({x(120), 220}, 130, 95, side * 30);
    s.Circle({x(130), 212}, 40);
    s.Quad({x(10), 145}, {x(45), 80}, {x(75), 68});
    s.FillCircle({x(78), 66}, 11);
  }
  s.CoverEllipse({kMiddle, 320}, 22, 130);
  s.CoverCircle({kMiddle, 172}, 32);
}

void DrawSnail(Sketch& s) {
  Ground(s, 506);
  s.MergedOvals({{{360, 470}, 235, 34}, {{575, 395}, 36, 88, 18}});
  s.Line({560, 322}, {535, 252});
  s.Line({590, 325}, {605, 248});
  DotEye(s, {533, 247}, 13);
  DotEye(s, {607, 243}, 13);
  Smile(s, {585, 360}, 18, 14);
  // The shell: a spiral that ends on its rim, so that it stays one area.
  const Point centre{330, 330};
  s.CoverCircle(centre, 140);
  Points spiral;
  for (double a = 0; a <= 5 * std::numbers::pi; a += 0.05) {
    const double r = 18 + (140 - 18) * a / (5 * std::numbers::pi);
    spiral.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
  }
  s.Polyline(spiral);
  // A flower for the snail to visit.
  const Point bloom{678, 250};
  s.Line({bloom.x, 506}, bloom);
  s.Ellipse({bloom.x - 27, 420}, 32, 12, -30);
  for (int i = 0; i < 5; ++i) {
    const double a = 2 * std::numbers::pi * i / 5 - std::numbers::pi / 2;
    s.CoverCircle({bloom.x + 34 * std::cos(a), bloom.y + 34 * std::sin(a)}, 23);
  }
  s.CoverCircle(bloom, 21);
}

void DrawTurtle(Sketch& s) {
  for (double x : {215.0, 305.0, 415.0, 505.0}) s.Ellipse({x, 430}, 36, 44);
  s.Polygon({{165, 392}, {112, 412}, {165, 408}});
  s.Polygon({{550, 330}, {600, 310}, {600, 370}, {550, 380}});
  s.CoverCircle({625, 300}, 52);
  DotEye(s, {642, 285}, 10);
  Smile(s, {635, 308}, 22, 16);
  const Point base{360, 380};
  const Points dome = Joined({ArcPoints(base, 200, 190, 180, 360), {{560, 380}}});
  s.Cover(dome);
  s.Cover({{150, 380}, {570, 380}, {585, 392}, {570, 410}, {150, 410}, {135, 392}});
  // Plates: a hexagon in the middle and seams out to the rim.
  const Point hub{360, 285};
  Points hexagon;
  for (int i = 0; i < 6; ++i) {
    const double a = std::numbers::pi / 3 * i;
    hexagon.push_back({hub.x + 62 * std::cos(a), hub.y + 55 * std::sin(a)});
  }
  s.Polygon(hexagon);
  for (const Point& v : hexagon) {
    const double dx = v.x - hub.x;
    const double dy = v.y - hub.y;
    Point end = v;
    for (double t = 1; t < 10; t += 0.01) {
      const Point p{hub.x + t * dx, hub.y + t * dy};
      const double ex = (p.x - base.x) / 200;
      const double ey = (p.y - base.y) / 190;
      if (p.y >= base.y || ex * ex + ey * ey >= 1) break;
      end = p;
    }
    s.Line(v, end);
  }
}

void DrawPig(Sketch& s) {
  Ground(s, 492);
  for (double x : {205.0, 285.0, 380.0, 455.0}) {
    s.Polygon(Joined({{{x, 400}}, ArcPoints({x + 22, 470}, 22, 22, 180, 0), {{x + 44, 400}}}));
  }
  // A curly tail: a spiral whose outer end runs into the body.
  Points tail;
  const double turns = 2.5 * 2 * std::numbers::pi;
  for (double a = 0; a <= turns; a += 0.1) {
    const double r = 4 + 24 * a / turns;
    tail.push_back({140 - r * std::cos(a), 300 - r * std::sin(a)});
  }
  tail.push_back({195, 310});
  s.Polyline(tail);
  s.CoverEllipse({345, 340}, 170, 108);
  s.Polygon({{522, 206}, {566, 160}, {578, 226}});  // the far ear, behind the head
  s.CoverCircle({520, 280}, 78);
  s.Cover({{476, 230}, {490, 160}, {540, 206}});
  s.CoverEllipse({595, 295}, 26, 34);
  s.FillEllipse({588, 282}, 5, 8);
  s.FillEllipse({600, 305}, 5, 8);
  DotEye(s, {540, 258}, 11);
  Smile(s, {535, 315}, 28, 18);
}

void DrawElephant(Sketch& s) {
  Ground(s, 512);
  for (double x : {190.0, 262.0, 358.0, 428.0}) {
    s.Rect(x, 380, x + 50, 512);
    s.Arc({x + 26, 512}, 18, 12, 180, 360);  // toes
  }
  s.Line({162, 320}, {125, 400});
  s.FillEllipse({122, 410}, 9, 14, 20);
  s.Polygon(Joined({BezierPoints({585, 290}, {645, 360}, {655, 440}, {642, 486}),
                    {{612, 486}},
                    BezierPoints({612, 486}, {622, 430}, {605, 370}, {545, 330})}));
  s.CoverEllipse({330, 320}, 175, 125);
  s.CoverCircle({525, 258}, 86);
  s.CoverEllipse({472, 272}, 56, 76, -10);
  DotEye(s, {560, 232}, 11);
  Smile(s, {565, 270}, 18, 14);
}

void DrawOwl(Sketch& s) {
  s.CoverRect(100, 482, 650, 508);
  const Points tuft = {{268, 185}, {272, 95}, {330, 150}};
  s.Polygon(tuft);
  s.Polygon(Mirrored(tuft));
  s.CoverEllipse({kMiddle, 315}, 140, 170);
  s.Ellipse({kMiddle, 405}, 78, 70);
  s.CoverEllipse({245, 345}, 40, 100, 12);
  s.CoverEllipse({505, 345}, 40, 100, -12);
  for (double x : {320.0, 430.0}) {
    s.CoverCircle({x, 250}, 50);
    s.FillCircle({x, 255}, 20);
  }
  s.Polygon({{358, 298}, {392, 298}, {kMiddle, 338}});
  for (double x : {335.0, 415.0}) {
    for (double dx : {-16.0, 0.0, 16.0}) s.Line({x, 478}, {x + dx, 496});
  }
}

}  // namespace datagen::art
