#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "frame/module_state.h"

namespace panels_test {

namespace fs = std::filesystem;

// The 20 controls of the main screen; the blank-paper button is the one a freeze hides.
inline std::vector<platform::PictureBox*> MainScreen(FormaMain& f) {
  std::vector<platform::PictureBox*> all = {&f.Slika,  &f.MoreImages, &f.MuteWave, &f.MusicOn,
                                            &f.Rubber, &f.Papir,      &f.kapljica, &f.olovka};
  for (int nn = 1; nn <= 12; ++nn) all.push_back(&f.Paleta(nn));
  return all;
}

inline void PressCtrl(SDL_Keycode key) { test_support::TypeKey(key, KMOD_LCTRL); }

// Points inside the panels' controls.
using test_support::Point;
constexpr Point kNoButton{600, 430}, kYesButton{400, 430}, kExitBackground{330, 280};
constexpr Point kCloseButton{660, 280}, kMakerButton{500, 480}, kWebSiteButton{400, 420},
    kAboutBackground{330, 300};

// A stand-in for the desktop's web-page opener, first on PATH: it writes its pid and the
// address it was given to a record file, and ends.
class RecordingBrowser {
 public:
  RecordingBrowser() : record_(dir_.path() / "opened.txt") {
    const fs::path script = dir_.path() / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\necho \"$$ $1\" >> '" << record_.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);
    old_path_ = ::getenv("PATH") ? ::getenv("PATH") : "";
    ::setenv("PATH", (dir_.path().string() + ":" + old_path_).c_str(), 1);
  }
  ~RecordingBrowser() {
    ::setenv("PATH", old_path_.c_str(), 1);
    for (const Opened& o : Read()) ::kill(o.pid, SIGKILL);  // normally long gone already
  }

  struct Opened {
    pid_t pid;
    std::string address;
  };
  std::vector<Opened> Read() const {
    std::vector<Opened> all;
    std::ifstream in(record_);
    for (std::string line; std::getline(in, line);) {
      const auto space = line.find(' ');
      if (space == std::string::npos) continue;
      all.push_back({static_cast<pid_t>(std::stol(line.substr(0, space))), line.substr(space + 1)});
    }
    return all;
  }
  // The addresses opened so far, once `count` of them have arrived or five seconds passed.
  std::vector<std::string> Addresses(std::size_t count) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Read().size() < count && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<std::string> addresses;
    for (const Opened& o : Read()) addresses.push_back(o.address);
    return addresses;
  }

 private:
  test_support::TempFolder dir_;
  fs::path record_;
  std::string old_path_;
};

// The program started, with printing pointed at a print server that is not there, so that
// no test sends a page to a real printer by accident.
class PanelsTest : public test_support::AppTest {
 protected:
  void SetUp() override {
    ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
    AppTest::SetUp();
    StartProgram();
    ASSERT_FALSE(ended.has_value());
    ASSERT_EQ(forma->ActiveControl(), &forma->Slika);
  }
  void TearDown() override {
    AppTest::TearDown();
    ::unsetenv("CUPS_SERVER");
  }

  bool ExitDialogShown() {
    return forma->Izlaz.Visible() && forma->Da.Visible() && forma->Ne.Visible();
  }
  bool AboutPanelShown() {
    return forma->Registered.Visible() && forma->visit_site.Visible() && forma->Firma.Visible() &&
           forma->Zatvori.Visible();
  }
  bool SavedPictureExists() { return fs::exists(data->File("MY_PICTURE/01.GIF")); }

  // The frame's pixels inside the panels' rectangle.
  std::vector<std::uint32_t> PanelArea() {
    std::vector<std::uint32_t> area;
    const auto& frame = forma->Frame();
    for (int y = 259; y < 259 + 250; ++y) {
      for (int x = 312; x < 312 + 400; ++x) area.push_back(frame[y * forma->ClientWidth() + x]);
    }
    return area;
  }
};

}  // namespace panels_test
