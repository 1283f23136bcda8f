// Houses, vehicles and toys.
#include <cmath>
#include <numbers>

#include "line_art_parts.h"
#include "line_art_subjects.h"

namespace datagen::art {
namespace {

void SunRays(Sketch& s, Point centre, double inner, double outer, int count) {
  for (int i = 0; i < count; ++i) {
    const double a = 2 * std::numbers::pi * (i + 0.5) / count;
    s.Line({centre.x + inner * std::cos(a), centre.y + inner * std::sin(a)},
           {centre.x + outer * std::cos(a), centre.y + outer * std::sin(a)});
  }
}

// A wheel with a hub, in front of whatever it overlaps.
void Wheel(Sketch& s, Point centre, double radius) {
  s.CoverCircle(centre, radius);
  s.Circle(centre, radius * 0.4);
}

// A bow tied where two strings meet: two triangular loops.
void Bow(Sketch& s, Point knot, double size) {
  s.Cover({knot, {knot.x - size, knot.y - 0.6 * size}, {knot.x - size, knot.y + 0.6 * size}});
  s.Cover({knot, {knot.x + size, knot.y - 0.6 * size}, {knot.x + size, knot.y + 0.6 * size}});
}

}  // namespace

void DrawSunnyHouse(Sketch& s) {
  Ground(s, 520);
  const Point sun{185, 160};
  s.Circle(sun, 78);
  SunRays(s, sun, 98, 135, 10);
  HappyFace(s, sun, 80);
  s.Rect(590, 190, 628, 300);  // chimney, partly hidden by the roof
  s.Rect(415, 300, 645, 520);
  s.Cover({{385, 300}, {530, 165}, {675, 300}});
  s.Rect(450, 395, 520, 520);
  s.FillCircle({505, 462}, 6);
  s.Rect(560, 355, 622, 430);
  s.Line({591, 355}, {591, 430});
  s.Line({560, 392}, {622, 392});
  // A tree beside the house and a cloud in the sky.
  s.Rect(268, 400, 298, 520);
  s.MergedOvals({{{283, 360}, 62, 55}, {{250, 400}, 40, 32}, {{318, 400}, 40, 32}});
  s.MergedOvals({{{610, 80}, 52, 34}, {{560, 95}, 36, 26}, {{662, 95}, 36, 26}});
  s.Circle({120, 470}, 14);
  s.Line({120, 484}, {120, 520});
}

void DrawCar(Sketch& s) {
  Ground(s, 497);
  s.Polygon({{100, 430},
             {100, 335},
             {130, 300},
             {230, 300},
             {290, 200},
             {470, 200},
             {545, 300},
             {620, 300},
             {652, 335},
             {652, 430}});
  s.Polygon({{305, 220}, {368, 220}, {368, 290}, {255, 290}});
  s.Polygon({{392, 220}, {458, 220}, {512, 290}, {392, 290}});
  s.Line({380, 300}, {380, 425});
  s.FillPolygon({{395, 320}, {425, 320}, {425, 330}, {395, 330}});
  s.Ellipse({632, 345}, 11, 17);
  Wheel(s, {225, 440}, 55);
  Wheel(s, {530, 440}, 55);
}

void DrawBalloons(Sketch& s) {
  struct Balloon {
    Point centre;
    double rx, ry;
  };
  const Balloon balloons[] = {{{250, 175}, 85, 105}, {{500, 175}, 85, 105}, {{375, 255}, 90, 110}};
  const Point knot{375, 520};
  for (const Balloon& b : balloons) {
    const Point tip{b.centre.x, b.centre.y + b.ry};
    s.Quad({tip.x, tip.y + 12}, {(tip.x + knot.x) / 2 + 25, (tip.y + knot.y) / 2}, knot);
    s.Cover({tip, {tip.x - 14, tip.y + 16}, {tip.x + 14, tip.y + 16}});
    s.CoverEllipse(b.centre, b.rx, b.ry);
    s.Ellipse({b.centre.x - 0.45 * b.rx, b.centre.y - 0.4 * b.ry}, 14, 26, 25);
  }
  Bow(s, knot, 40);
}

void DrawCastle(Sketch& s) {
  Ground(s, 540);
  // The wall between the towers, with battlements along its top.
  Points wall = {{230, 540}, {230, 270}};
  for (double x = 230; x < 520; x += 58) {
    wall.insert(wall.end(), {{x, 240}, {x + 29, 240}, {x + 29, 270}, {x + 58, 270}});
  }
  wall.push_back({520, 540});
  s.Polygon(wall);
  for (double tower : {170.0, 580.0}) {
    s.CoverRect(tower - 62, 175, tower + 62, 540);
    s.Cover({{tower - 80, 175}, {tower, 62}, {tower + 80, 175}});
    s.Line({tower, 62}, {tower, 28});
    s.Polygon({{tower, 28}, {tower + 48, 40}, {tower, 54}});
    s.Polygon(Joined(
        {ArcPoints({tower, 265}, 22, 22, 180, 360), {{tower + 22, 320}, {tower - 22, 320}}}));
    s.Polygon(Joined(
        {ArcPoints({tower, 410}, 22, 22, 180, 360), {{tower + 22, 465}, {tower - 22, 465}}}));
  }
  s.Polygon(Joined({ArcPoints({kMiddle, 440}, 60, 60, 180, 360), {{435, 540}, {315, 540}}}));
  s.Line({kMiddle, 380}, {kMiddle, 540});
  s.Polygon({{265, 320}, {305, 320}, {305, 370}, {265, 370}});
  s.Polygon({{445, 320}, {485, 320}, {485, 370}, {445, 370}});
}

void DrawTrain(Sketch& s) {
  Ground(s, 492);
  // A wagon behind the engine, with a load of balls.
  s.Circle({75, 275}, 32);
  s.Circle({150, 275}, 32);
  s.CoverRect(30, 295, 200, 430);
  s.Line({200, 405}, {232, 405});
  Wheel(s, {75, 452}, 38);
  Wheel(s, {155, 452}, 38);
  // The engine: cab, boiler, chimney and cow-catcher.
  s.Polygon(Joined({ArcPoints({460, 282}, 32, 30, 180, 360), {{492, 290}, {428, 290}}}));
  s.Polygon({{540, 282}, {540, 215}, {522, 182}, {598, 182}, {580, 215}, {580, 282}});
  s.CoverRect(370, 280, 645, 430);
  s.CoverRect(232, 188, 370, 430);
  s.CoverRect(220, 165, 385, 188);
  s.Rect(262, 222, 340, 292);
  s.Circle({620, 320}, 15);
  s.Polygon({{645, 380}, {700, 430}, {645, 430}});
  Wheel(s, {300, 440}, 52);
  Wheel(s, {460, 452}, 40);
  Wheel(s, {570, 452}, 40);
  // Puffs of smoke drifting back from the chimney.
  s.Circle({590, 130}, 26);
  s.Circle({540, 80}, 32);
  s.Circle({460, 60}, 34);
}

void DrawRocket(Sketch& s) {
  s.Polygon({{318, 330}, {250, 430}, {250, 470}, {318, 425}});
  s.Polygon(Mirrored({{318, 330}, {250, 430}, {250, 470}, {318, 425}}));
  s.Polygon({{340, 445}, {kMiddle, 565}, {410, 445}, {392, 490}, {kMiddle, 455}, {358, 490}});
  s.CoverRect(316, 200, 434, 425);
  s.Cover(Joined({QuadPoints({316, 200}, {320, 110}, {kMiddle, 60}),
                  QuadPoints({kMiddle, 60}, {430, 110}, {434, 200})}));
  s.Polygon({{336, 425}, {414, 425}, {400, 448}, {350, 448}});
  s.Circle({kMiddle, 285}, 40);
  s.Circle({kMiddle, 285}, 26);
  s.Polygon(StarPoints({150, 150}, 38, 16, 5));
  s.Polygon(StarPoints({600, 300}, 38, 16, 5));
}

void DrawSailboat(Sketch& s) {
  Waves(s, 505, 10, 90);
  s.Line({380, 402}, {380, 70});
  s.Polygon({{392, 90}, {392, 378}, {575, 378}});
  s.Polygon({{368, 125}, {368, 378}, {225, 378}});
  s.Polygon({{380, 70}, {380, 36}, {432, 53}});
  s.Polygon({{140, 400}, {610, 400}, {545, 480}, {205, 480}});
  for (double x : {285.0, 375.0, 465.0}) s.Circle({x, 440}, 16);
}

void DrawKite(Sketch& s) {
  const Point top{kMiddle, 55};
  const Point bottom{kMiddle, 395};
  s.Polygon({top, {515, 215}, bottom, {235, 215}});
  s.Line(top, bottom);
  s.Line({235, 215}, {515, 215});
  const Points tail = BezierPoints(bottom, {290, 450}, {470, 500}, {330, 592});
  s.Polyline(tail);
  for (double t : {0.3, 0.62, 0.92}) {
    const Point p = tail[static_cast<std::size_t>(t * (tail.size() - 1))];
    Bow(s, p, 38);
  }
}

}  // namespace datagen::art
