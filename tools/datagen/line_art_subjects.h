#pragma once

#include "line_art_sketch.h"

// One function a subject; each draws onto a blank 750 x 600 sketch with the bold pen.
namespace datagen::art {

void DrawSunnyHouse(Sketch& s);
void DrawCat(Sketch& s);
void DrawFish(Sketch& s);
void DrawCar(Sketch& s);
void DrawButterfly(Sketch& s);
void DrawSnail(Sketch& s);
void DrawBalloons(Sketch& s);
void DrawCastle(Sketch& s);
void DrawTrain(Sketch& s);
void DrawApple(Sketch& s);
void DrawTurtle(Sketch& s);
void DrawIceCream(Sketch& s);
void DrawRocket(Sketch& s);
void DrawTeddyBear(Sketch& s);
void DrawSnowman(Sketch& s);
void DrawMushroom(Sketch& s);
void DrawFlower(Sketch& s);
void DrawBird(Sketch& s);
void DrawTree(Sketch& s);
void DrawSailboat(Sketch& s);
void DrawDog(Sketch& s);
void DrawDuck(Sketch& s);
void DrawKite(Sketch& s);
void DrawPig(Sketch& s);
void DrawElephant(Sketch& s);
void DrawOwl(Sketch& s);

}  // namespace datagen::art
