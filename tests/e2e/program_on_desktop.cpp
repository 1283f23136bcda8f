#include "program_on_desktop.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "frame/design_pictures.h"

namespace e2e {
namespace {

constexpr double kCloseEnough = 0.9;

}  // namespace

int PaletteLeft(int nn) {
  constexpr std::array<int, 12> kLefts = {8, 93, 176, 261, 345, 428, 513, 596, 680, 764, 848, 932};
  return kLefts.at(static_cast<std::size_t>(nn - 1));
}
Point PaletteButton(int nn) { return {PaletteLeft(nn) + 40, 717}; }

Place Thumbnail(int i) {
  constexpr std::array<int, 5> kLefts = {54, 198, 341, 485, 629}, kTops = {48, 185, 322, 459, 596};
  return {kLefts.at(static_cast<std::size_t>((i - 1) % 5)),
          kTops.at(static_cast<std::size_t>((i - 1) / 5))};
}
int ThumbnailNumber(int i) { return 18 * ((i - 1) / 5) + 2 * ((i - 1) % 5) + 1; }

void ProgramOnDesktop::SetUp() {
  for (const char* tool : {"xdotool", "import", "convert", "xprop", "xwininfo", "xdpyinfo"}) {
    if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
  }
  if (!XvfbSession::Installed()) GTEST_SKIP() << "Xvfb or openbox is not installed";
  if (on_xorg_ && !XorgSession::Installed()) {
    GTEST_SKIP() << "Xorg with the dummy driver is not installed, or this is not root";
  }
  if (from_package_) {
    for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"}) {
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    install_ = std::make_unique<Installation>(Installation::FromPackage(temp_.path() / "package"));
  } else {
    install_ = std::make_unique<Installation>(temp_.path() / "prefix");
  }
  browser_ = std::make_unique<RecordingBrowser>(temp_.path() / "browser");
}

void ProgramOnDesktop::Launch(int width, int height, Environment changes) {
  const std::string display = !on_xorg_                 ? x_.Start(width, height, 24)
                              : xorg_.display().empty() ? xorg_.Start()
                                                        : xorg_.display();
  desktop_ = std::make_unique<Desktop>(display, kBareWindow.x, kBareWindow.y);
  changes["DISPLAY"] = display;
  changes["SDL_VIDEODRIVER"] = std::nullopt;  // the desktop's own
  changes["PATH"] = browser_->folder().string() + ":" + std::getenv("PATH");
  if (!changes.contains("XDG_DATA_HOME")) changes["XDG_DATA_HOME"] = UserData().string();
  // Without a print server of the test's own, no page can reach a real printer by accident.
  if (!changes.contains("CUPS_SERVER")) changes["CUPS_SERVER"] = "/nonexistent/cups.sock";
  const auto started = std::chrono::steady_clock::now();
  program_ = std::make_unique<Started>(std::vector<std::string>{install_->Command().string()},
                                       changes, (temp_.path() / "program.log").string());

  // Start-up holds two three-second waits, and the display mode may change between them;
  // after both nothing changes by itself.
  const bool full_screen_mode = on_xorg_ || (width == 1024 && height == 768);
  const auto deadline = started + 40s;
  bool ready = false;
  while (!ready && std::chrono::steady_clock::now() < deadline && program_->Running()) {
    std::this_thread::sleep_for(100ms);
    const std::vector<std::string> windows = desktop_->Windows("Colouring Book", true);
    if (windows.empty()) continue;
    window_ = windows.front();
    const Image shot = Shot();
    ready = std::chrono::steady_clock::now() - started > 6500ms &&
            ShownAt(shot, {832, 241}, {"MOREIMAGES1.JPG"}) == "MOREIMAGES1.JPG" &&
            ShownAt(shot, {936, 412}, {"PAPIR1.JPG"}) == "PAPIR1.JPG" &&
            (!full_screen_mode ||
             desktop_->Property(window_, "_NET_WM_STATE").find("FULLSCREEN") != std::string::npos);
  }
  ASSERT_TRUE(program_->Running()) << "the program ended during start-up";
  ASSERT_TRUE(ready) << "no main screen after start-up";
}

bool ProgramOnDesktop::PanelShown(const Image& shot, const std::string& picture) {
  return Likeness(shot, kPanel.left, kPanel.top, Picture(picture).Part(0, 0, 300, 120)) > 0.95;
}

bool ProgramOnDesktop::WaitForPanel(const std::string& picture, bool shown) {
  return WaitForShot([&](const Image& shot) { return PanelShown(shot, picture) == shown; });
}

Image ProgramOnDesktop::CanvasShot() const {
  return desktop_->Shot(kCanvas.left, kCanvas.top, kCanvasWidth, kCanvasHeight);
}

const Image& ProgramOnDesktop::Picture(const std::string& name) {
  auto known = pictures_.find(name);
  if (known != pictures_.end()) return known->second;
  fs::path file = install_->Data("PICTURE/" + name);
  if (name == "START.GIF") {
    // Built into the program rather than installed.
    const auto bytes = design_pictures::Get(name);
    file = temp_.path() / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  return pictures_.emplace(name, ReadPicture(file)).first->second;
}

std::string ProgramOnDesktop::ShownAt(const Image& shot, Place at,
                                      const std::vector<std::string>& names) {
  std::string best;
  double best_likeness = kCloseEnough;
  for (const std::string& name : names) {
    const double likeness = Likeness(shot, at.left, at.top, Picture(name));
    if (likeness > best_likeness) {
      best = name;
      best_likeness = likeness;
    }
  }
  return best;
}

std::string ProgramOnDesktop::WaitUntilShown(Place at, const std::string& name,
                                             const std::vector<std::string>& others,
                                             std::chrono::seconds limit) {
  std::vector<std::string> names = others;
  names.push_back(name);
  std::string shown;
  WaitForShot([&](const Image& shot) { return (shown = ShownAt(shot, at, names)) == name; }, limit);
  return shown.empty() ? "none of them" : shown;
}

bool ProgramOnDesktop::WaitForShot(const std::function<bool(const Image&)>& condition,
                                   std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  do {
    if (condition(Shot())) return true;
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

ProgramOnDesktop::Fill ProgramOnDesktop::FillLargestArea(const Image& before) {
  const Point area = InsideLargestEnclosedArea(before);
  if (area.x < 0) {
    ADD_FAILURE() << "the canvas shows no enclosed area";
    return {area, std::nullopt};
  }
  desktop().Click(kCanvas.left + area.x, kCanvas.top + area.y);
  return {area, ChangedCanvas(before)};
}

std::optional<Image> ProgramOnDesktop::ColourAndPrint() {
  const std::optional<Image> coloured = FillLargestArea(CanvasShot()).after;
  if (!coloured) {
    ADD_FAILURE() << "the fill changed nothing";
    return std::nullopt;
  }
  desktop().Keys("ctrl+p");
  EXPECT_TRUE(WaitForShot([&](const Image& shot) {
    return Likeness(shot, kPanel.left, kPanel.top, Picture("PRINTING.JPG")) > 0.95;
  })) << "no printing notice";
  return coloured;
}

std::optional<Image> ProgramOnDesktop::ChangedCanvas(const Image& from,
                                                     std::chrono::seconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Image earlier = from;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(100ms);
    Image now = CanvasShot();
    if (!(now == from) && now == earlier) return now;
    earlier = std::move(now);
  }
  return std::nullopt;
}

bool ProgramOnDesktop::Iconic() const {
  return desktop_->Property(window_, "WM_STATE").find("Iconic") != std::string::npos;
}

::testing::AssertionResult FilledArea(const Image& before, const Image& after, Point pressed,
                                      Rgb colour) {
  const Rgb old = before.At(pressed.x, pressed.y);
  std::vector<char> in_area(static_cast<std::size_t>(before.width) * before.height, 0);
  std::vector<Point> todo{pressed};
  in_area[static_cast<std::size_t>(pressed.y) * before.width + pressed.x] = 1;
  while (!todo.empty()) {
    const Point p = todo.back();
    todo.pop_back();
    for (const Point n :
         {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
      if (n.x < 0 || n.y < 0 || n.x >= before.width || n.y >= before.height) continue;
      char& mark = in_area[static_cast<std::size_t>(n.y) * before.width + n.x];
      if (mark == 0 && before.At(n.x, n.y) == old) {
        mark = 1;
        todo.push_back(n);
      }
    }
  }
  int wrong_inside = 0, wrong_outside = 0, area = 0;
  for (int y = 0; y < before.height; ++y) {
    for (int x = 0; x < before.width; ++x) {
      const bool inside = in_area[static_cast<std::size_t>(y) * before.width + x] != 0;
      area += inside;
      if (inside) wrong_inside += !(after.At(x, y) == colour);
      if (!inside) wrong_outside += !(after.At(x, y) == before.At(x, y));
    }
  }
  if (wrong_inside == 0 && wrong_outside == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << wrong_inside << " of the area's " << area << " pixels lack " << ToString(colour)
         << ", and " << wrong_outside << " pixels outside it changed";
}

Point InsideLargestEnclosedArea(const Image& canvas) {
  const int w = canvas.width, h = canvas.height;
  std::vector<int> label(static_cast<std::size_t>(w) * h, -1);
  struct Area {
    int size = 0;
    bool touches_edge = false;
  };
  std::vector<Area> areas;
  for (int y0 = 0; y0 < h; ++y0) {
    for (int x0 = 0; x0 < w; ++x0) {
      if (label[static_cast<std::size_t>(y0) * w + x0] >= 0 || !(canvas.At(x0, y0) == kWhite)) {
        continue;
      }
      const int id = static_cast<int>(areas.size());
      Area area;
      std::vector<Point> todo{{x0, y0}};
      label[static_cast<std::size_t>(y0) * w + x0] = id;
      while (!todo.empty()) {
        const Point p = todo.back();
        todo.pop_back();
        ++area.size;
        area.touches_edge =
            area.touches_edge || p.x == 0 || p.y == 0 || p.x == w - 1 || p.y == h - 1;
        for (const Point n :
             {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
          if (n.x < 0 || n.y < 0 || n.x >= w || n.y >= h) continue;
          int& l = label[static_cast<std::size_t>(n.y) * w + n.x];
          if (l < 0 && canvas.At(n.x, n.y) == kWhite) {
            l = id;
            todo.push_back(n);
          }
        }
      }
      areas.push_back(area);
    }
  }
  int best = -1;
  for (int i = 0; i < static_cast<int>(areas.size()); ++i) {
    if (!areas[i].touches_edge && (best < 0 || areas[i].size > areas[best].size)) best = i;
  }
  if (best < 0) return {-1, -1};
  // The first point of that area with a margin of four pixels of it all around.
  for (int y = 4; y < h - 4; ++y) {
    for (int x = 4; x < w - 4; ++x) {
      bool clear = true;
      for (int dy = -4; dy <= 4 && clear; ++dy) {
        for (int dx = -4; dx <= 4 && clear; ++dx) {
          clear = label[static_cast<std::size_t>(y + dy) * w + x + dx] == best;
        }
      }
      if (clear) return {x, y};
    }
  }
  return {-1, -1};
}

}  // namespace e2e
