#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/forma_main.h"
#include "point.h"
#include "temp_folder.h"

namespace test_support {

// A private copy of the generated data set (PICTURE, SOUND, MUSIC, MOVARI.EXE and the web
// pages) with an empty MY_PICTURE of its own, in a fresh directory whose name mixes case, as
// a user's might; removed again when it goes.
class DataDir {
 public:
  DataDir();
  DataDir(const DataDir&) = delete;
  DataDir& operator=(const DataDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path File(std::string_view relative) const { return path_ / relative; }
  void Remove(std::string_view relative) const;
  // Rewrites a file with other bytes; the length stays unless `new_length` is given.
  void Overwrite(std::string_view relative, char fill,
                 std::optional<std::uintmax_t> new_length = std::nullopt) const;

 private:
  TempFolder root_;
  std::filesystem::path path_;
};

// Real input through SDL's event queue, then one pass of the event loop.
void MoveMouse(int x, int y, std::uint32_t sdl_buttons = 0);
void PressMouse(int x, int y, std::uint8_t sdl_button = SDL_BUTTON_LEFT);
void ReleaseMouse(int x, int y, std::uint8_t sdl_button = SDL_BUTTON_LEFT);
void ClickMouse(int x, int y);
inline void Move(Point p, std::uint32_t sdl_buttons = 0) { MoveMouse(p.x, p.y, sdl_buttons); }
inline void Click(Point p) { ClickMouse(p.x, p.y); }
// The same at the middle of a control as it lies on the window now.
void MoveOnto(const platform::Control& c);
void ClickOn(const platform::Control& c);
// Key down and up, with modifiers held (KMOD_CTRL, ...).
void TypeKey(SDL_Keycode key, std::uint16_t modifiers = KMOD_NONE);
void SendKey(bool down, SDL_Keycode key, std::uint16_t modifiers = KMOD_NONE);
void Pump();
// Runs the event loop for a while of real time.
void PumpFor(std::chrono::milliseconds how_long);

// Whether a control shows the picture loaded from this data file ("BOJE2_01.JPG"), or the
// design picture of that name.
bool Shows(const platform::PictureBox& box, std::string_view file_name);
// The file name of what a control shows, for messages.
std::string ShownName(const platform::PictureBox& box);

// Records every picture load while it lives: file names only ("BOJE1_05.JPG").
class LoadLog {
 public:
  LoadLog();
  ~LoadLog();
  const std::vector<std::string>& Names() const { return names_; }
  void Clear() { names_.clear(); }

 private:
  std::vector<std::string> names_;
};

// The program started as main starts it, with its data set copied to a private directory
// and the clock running fast, so that the start-up waits pass in milliseconds.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the window and runs start-up; an end of the program during it is kept in `ended`.
  // `before_load` has a look at the window after it is made and before start-up runs.
  void StartProgram(const std::function<void(FormaMain&)>& before_load = nullptr);
  std::uint32_t Pixel(int x, int y);         // the composed frame at window pixel (x, y)
  std::uint32_t CanvasColour(int x, int y);  // colour value 0x00BBGGRR on the canvas

  double clock_rate = 500.0;
  std::unique_ptr<DataDir> data;
  std::unique_ptr<FormaMain> forma;
  std::optional<int> ended;
};

}  // namespace test_support
