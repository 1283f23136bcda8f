#include "app_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "frame/module_state.h"
#include "platform/canvas.h"
#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/runtime.h"

namespace test_support {
namespace fs = std::filesystem;

DataDir::DataDir() : path_(root_.path() / "Colouring Book") {
  fs::create_directories(path_);
  const fs::path app = COLOURING_APP_DIR;
  for (const char* dir : {"PICTURE", "SOUND", "MUSIC"}) {
    fs::create_directories(path_ / dir);
    if (fs::exists(app / dir)) fs::copy(app / dir, path_ / dir, fs::copy_options::recursive);
  }
  // Empty, whatever a user printed from the build tree.
  fs::create_directories(path_ / "MY_PICTURE");
  for (const auto& entry : fs::directory_iterator(app)) {
    if (entry.is_regular_file()) fs::copy(entry.path(), path_ / entry.path().filename());
  }
}

void DataDir::Remove(std::string_view relative) const { fs::remove_all(File(relative)); }

void DataDir::Overwrite(std::string_view relative, char fill,
                        std::optional<std::uintmax_t> new_length) const {
  const std::uintmax_t length = new_length ? *new_length : fs::file_size(File(relative));
  std::ofstream out(File(relative), std::ios::binary | std::ios::trunc);
  const std::string bytes(length, fill);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

std::uint32_t WindowId() {
  // Pushed events carry no window in particular; the form takes them all.
  return 0;
}

void Push(SDL_Event& e) {
  SDL_PushEvent(&e);
  Pump();
}

}  // namespace

void Pump() { platform::DoEvents(); }

void MoveMouse(int x, int y, std::uint32_t sdl_buttons) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = WindowId();
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = sdl_buttons;
  Push(e);
}

static void Button(bool down, int x, int y, std::uint8_t button) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = WindowId();
  e.button.button = button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  Push(e);
}

void PressMouse(int x, int y, std::uint8_t button) { Button(true, x, y, button); }
void ReleaseMouse(int x, int y, std::uint8_t button) { Button(false, x, y, button); }

void ClickMouse(int x, int y) {
  MoveMouse(x, y);
  PressMouse(x, y, SDL_BUTTON_LEFT);
  ReleaseMouse(x, y, SDL_BUTTON_LEFT);
}

void MoveOnto(const platform::Control& c) {
  const platform::Rect b = c.Bounds();
  MoveMouse(b.x + b.w / 2, b.y + b.h / 2);
}

void ClickOn(const platform::Control& c) {
  const platform::Rect b = c.Bounds();
  ClickMouse(b.x + b.w / 2, b.y + b.h / 2);
}

void PumpFor(std::chrono::milliseconds how_long) {
  const auto end = std::chrono::steady_clock::now() + how_long;
  while (std::chrono::steady_clock::now() < end) {
    Pump();
    SDL_Delay(2);
  }
}

void SendKey(bool down, SDL_Keycode key, std::uint16_t modifiers) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = WindowId();
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = modifiers;
  Push(e);
}

void TypeKey(SDL_Keycode key, std::uint16_t modifiers) {
  SendKey(true, key, modifiers);
  SendKey(false, key, modifiers);
}

std::string ShownName(const platform::PictureBox& box) {
  const platform::Picture& p = box.GetPicture();
  if (!p) return "(none)";
  const std::string& s = p->source;
  const auto cut = s.find_last_of("\\/:");
  return cut == std::string::npos ? s : s.substr(cut + 1);
}

bool Shows(const platform::PictureBox& box, std::string_view file_name) {
  return ShownName(box) == file_name;
}

LoadLog::LoadLog() {
  platform::SetPictureLoadObserver([this](const std::string& path) {
    const auto cut = path.find_last_of("\\/");
    names_.push_back(cut == std::string::npos ? path : path.substr(cut + 1));
  });
}

LoadLog::~LoadLog() { platform::SetPictureLoadObserver(nullptr); }

void AppTest::SetUp() {
  data = std::make_unique<DataDir>();
  reset_module_state();
  platform::SetAppPath(data->Path().string());
  platform::SetClockOffset(0);
  platform::SetClockRate(clock_rate);
  platform::SetDirectDrawingPace(0);
}

void AppTest::TearDown() {
  if (forma) {
    // Leaves without unloading: an unload would open the maker's web page.
    if (forma->hook_id != 0) platform::UnhookWindowsHookEx(forma->hook_id);
    forma.reset();
  }
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  platform::SetClockRate(1.0);
  platform::SetDirectDrawingPace(300000.0);
  data.reset();
}

void AppTest::StartProgram(const std::function<void(FormaMain&)>& before_load) {
  forma = std::make_unique<FormaMain>();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (before_load) before_load(*forma);
  try {
    forma->Load();
    forma->Show();
  } catch (const platform::ProgramEnd& end) {
    ended = end.status;
  }
}

std::uint32_t AppTest::Pixel(int x, int y) {
  return forma->Frame()[static_cast<std::size_t>(y) * forma->ClientWidth() + x];
}

std::uint32_t AppTest::CanvasColour(int x, int y) {
  return static_cast<std::uint32_t>(
      forma->Slika.Point(static_cast<float>(x), static_cast<float>(y)));
}

}  // namespace test_support
