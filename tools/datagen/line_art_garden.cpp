// Fruit, sweets, plants and the snowman.
#include <cmath>
#include <numbers>

#include "line_art_parts.h"
#include "line_art_subjects.h"

namespace datagen::art {
namespace {

// The point a fraction `t` of the way from `a` to `b`.
Point Between(Point a, Point b, double t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

}  // namespace

void DrawApple(Sketch& s) {
  s.Polygon({{366, 200}, {352, 112}, {376, 106}, {390, 196}});  // stem, hidden below the top
  const Points apple = Joined({
      BezierPoints({kMiddle, 190}, {440, 130}, {590, 170}, {582, 330}),
      BezierPoints({582, 330}, {575, 470}, {475, 540}, {420, 522}),
      QuadPoints({420, 522}, {kMiddle, 505}, {330, 522}),
      BezierPoints({330, 522}, {275, 540}, {175, 470}, {168, 330}),
      BezierPoints({168, 330}, {160, 170}, {310, 130}, {kMiddle, 190}),
  });
  s.Cover(apple);
  s.Ellipse({445, 128}, 58, 26, -25);
  s.Line({395, 152}, {495, 105});
  s.Ellipse({245, 285}, 24, 48, 20);
  // A worm peeping out of its hole.
  s.Ellipse({500, 430}, 34, 16);
  s.CoverRect(486, 372, 514, 430);
  s.CoverCircle({500, 350}, 32);
  HappyFace(s, {500, 350}, 40);
}

void DrawIceCream(Sketch& s) {
  const Point left{300, 318};
  const Point right{450, 318};
  const Point tip{kMiddle, 560};
  s.Polygon({left, right, tip});
  s.Line(Between(left, tip, 0.25), Between(right, tip, 0.7));
  s.Line(Between(right, tip, 0.25), Between(left, tip, 0.7));
  s.Circle({kMiddle, 98}, 26);
  s.Quad({kMiddle, 72}, {385, 42}, {412, 32});
  s.Polygon({{418, 152}, {470, 88}, {486, 101}, {434, 165}});  // a wafer in the top scoop
  s.CoverCircle({kMiddle, 195}, 72);
  s.CoverEllipse({kMiddle, 300}, 100, 72);
}

void DrawMushroom(Sketch& s) {
  Ground(s, 500);
  s.Polygon(Joined({BezierPoints({305, 300}, {300, 400}, {280, 460}, {285, 500}),
                    BezierPoints({465, 500}, {470, 460}, {450, 400}, {445, 300})}));
  s.Cover(Joined({ArcPoints({kMiddle, 310}, 235, 200, 180, 360),
                  QuadPoints({610, 310}, {kMiddle, 360}, {140, 310})}));
  s.Circle({270, 230}, 36);
  s.Circle({400, 170}, 32);
  s.Circle({510, 255}, 30);
  s.Circle({385, 270}, 24);
  s.Circle({480, 188}, 20);
  HappyFace(s, {kMiddle, 420}, 60);
}

void DrawFlower(Sketch& s) {
  const Point centre{kMiddle, 200};
  s.Line({kMiddle, 250}, {kMiddle, 480});
  s.Ellipse({318, 405}, 58, 22, -30);
  s.Ellipse({432, 365}, 58, 22, 30);
  for (int i = 0; i < 6; ++i) {
    const double a = 2 * std::numbers::pi * i / 6 - std::numbers::pi / 2;
    s.CoverEllipse({centre.x + 88 * std::cos(a), centre.y + 88 * std::sin(a)}, 52, 36,
                   a * 180 / std::numbers::pi);
  }
  s.CoverCircle(centre, 52);
  HappyFace(s, centre, 50);
  s.Cover({{300, 480}, {450, 480}, {430, 570}, {320, 570}});
  s.CoverRect(290, 470, 460, 500);
}

void DrawTree(Sketch& s) {
  Ground(s, 532);
  s.Polygon({{340, 330}, {325, 532}, {425, 532}, {410, 330}});
  s.MergedOvals({{{kMiddle, 165}, 105, 100},
                 {{265, 230}, 88, 85},
                 {{485, 230}, 88, 85},
                 {{315, 305}, 85, 70},
                 {{435, 305}, 85, 70}});
  for (Point apple :
       {Point{300, 190}, Point{445, 175}, Point{380, 285}, Point{245, 285}, Point{505, 290}}) {
    s.Circle(apple, 22);
  }
  s.Ellipse({kMiddle, 450}, 16, 24);
}

void DrawSnowman(Sketch& s) {
  Ground(s, 540);
  s.Line({275, 390}, {170, 300});
  s.Line({200, 326}, {185, 280});
  s.Line({475, 390}, {580, 300});
  s.Line({550, 326}, {565, 280});
  s.CoverCircle({kMiddle, 428}, 115);
  s.CoverCircle({kMiddle, 238}, 80);
  s.CoverRect(300, 160, 450, 176);
  s.Rect(326, 80, 424, 160);
  s.Line({326, 138}, {424, 138});
  DotEye(s, {345, 222}, 10);
  DotEye(s, {405, 222}, 10);
  s.Polygon({{375, 244}, {440, 258}, {375, 268}});
  Smile(s, {kMiddle, 262}, 38, 28);
  s.Cover({{302, 300}, {448, 300}, {455, 330}, {295, 330}});
  s.Cover({{410, 325}, {440, 325}, {452, 400}, {420, 405}});
  for (double y : {380.0, 430.0, 480.0}) s.FillCircle({kMiddle, y}, 10);
}

}  // namespace datagen::art
