#include "colouring_test.h"

#include <deque>

#include "frame/module_state.h"
#include "platform/canvas.h"
#include "platform/sound.h"

namespace colouring_test {

Point PalettePoint(int nn) {
  static constexpr int kLefts[12] = {8, 93, 176, 261, 345, 428, 513, 596, 680, 764, 848, 932};
  return {kLefts[nn - 1] + 40, 715};
}

SoundLog::SoundLog() {
  platform::SetSoundObserver([this](const std::string& path, std::int32_t flags) {
    calls_.push_back({path, flags});
  });
}

SoundLog::~SoundLog() { platform::SetSoundObserver(nullptr); }

std::vector<std::string> SoundLog::Paths() const {
  std::vector<std::string> paths;
  for (const Call& c : calls_) paths.push_back(c.path);
  return paths;
}

std::vector<std::uint32_t> CanvasValues(const platform::Canvas& canvas) {
  const platform::Picture image = canvas.Image();
  std::vector<std::uint32_t> values;
  values.reserve(image->pixels.size());
  for (std::uint32_t argb : image->pixels) values.push_back(platform::ColourValueOf(argb));
  return values;
}

std::vector<bool> AreaAround(const std::vector<std::uint32_t>& values, int x, int y) {
  std::vector<bool> in(values.size(), false);
  const std::uint32_t value = values[static_cast<std::size_t>(y) * kCanvasWidth + x];
  std::deque<Point> queue{{x, y}};
  in[static_cast<std::size_t>(y) * kCanvasWidth + x] = true;
  while (!queue.empty()) {
    const Point p = queue.front();
    queue.pop_front();
    for (Point n : {Point{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}}) {
      if (n.x < 0 || n.y < 0 || n.x >= kCanvasWidth || n.y >= kCanvasHeight) continue;
      const std::size_t i = static_cast<std::size_t>(n.y) * kCanvasWidth + n.x;
      if (in[i] || values[i] != value) continue;
      in[i] = true;
      queue.push_back(n);
    }
  }
  return in;
}

std::size_t Count(const std::vector<bool>& area) {
  std::size_t n = 0;
  for (bool b : area) n += b ? 1 : 0;
  return n;
}

Point FindClosedArea(const std::vector<std::uint32_t>& values, std::uint32_t value,
                     std::size_t min_size, std::size_t max_size, Point skip) {
  std::vector<bool> tried(values.size(), false);
  for (int y = 5; y < kCanvasHeight; y += 10) {
    for (int x = 5; x < kCanvasWidth; x += 10) {
      const std::size_t i = static_cast<std::size_t>(y) * kCanvasWidth + x;
      if (values[i] != value || tried[i]) continue;
      const std::vector<bool> area = AreaAround(values, x, y);
      for (std::size_t k = 0; k < area.size(); ++k) tried[k] = tried[k] || area[k];
      if (skip.x >= 0 && area[static_cast<std::size_t>(skip.y) * kCanvasWidth + skip.x]) continue;
      const std::size_t n = Count(area);
      bool touches_edge = false;
      for (int e = 0; e < kCanvasWidth && !touches_edge; ++e) {
        touches_edge =
            area[e] || area[static_cast<std::size_t>(kCanvasHeight - 1) * kCanvasWidth + e];
      }
      for (int e = 0; e < kCanvasHeight && !touches_edge; ++e) {
        touches_edge = area[static_cast<std::size_t>(e) * kCanvasWidth] ||
                       area[static_cast<std::size_t>(e) * kCanvasWidth + kCanvasWidth - 1];
      }
      if (!touches_edge && n >= min_size && n <= max_size) return {x, y};
    }
  }
  return {-1, -1};
}

namespace {

enum class Pass { TopDownRows, LeftRightColumns, RightLeftColumns, BottomUpRows, EvenRows };

void Append(std::vector<std::uint32_t>& out, Pass pass) {
  switch (pass) {
    case Pass::TopDownRows:
      for (int y = 0; y < kCanvasHeight; ++y)
        for (int x = 0; x < kCanvasWidth; ++x) out.push_back(Packed(x, y));
      break;
    case Pass::LeftRightColumns:
      for (int x = 0; x < kCanvasWidth; ++x)
        for (int y = 0; y < kCanvasHeight; ++y) out.push_back(Packed(x, y));
      break;
    case Pass::RightLeftColumns:
      for (int x = kCanvasWidth - 1; x >= 0; --x)
        for (int y = 0; y < kCanvasHeight; ++y) out.push_back(Packed(x, y));
      break;
    case Pass::BottomUpRows:
      for (int y = kCanvasHeight - 1; y >= 0; --y)
        for (int x = kCanvasWidth - 1; x >= 0; --x) out.push_back(Packed(x, y));
      break;
    case Pass::EvenRows:
      for (int y = 0; y < kCanvasHeight; y += 2)
        for (int x = 0; x < kCanvasWidth; ++x) out.push_back(Packed(x, y));
      break;
  }
}

}  // namespace

std::vector<std::uint32_t> ExpectedWipeWrites(int pattern) {
  static constexpr Pass kOrder[4] = {Pass::TopDownRows, Pass::LeftRightColumns,
                                     Pass::RightLeftColumns, Pass::BottomUpRows};
  static constexpr Pass kSecond[4] = {Pass::LeftRightColumns, Pass::TopDownRows,
                                      Pass::RightLeftColumns, Pass::BottomUpRows};
  std::vector<std::uint32_t> out;
  out.reserve(675000);
  if (pattern <= 4) {
    Append(out, kOrder[pattern - 1]);
  } else {
    Append(out, Pass::EvenRows);
    Append(out, kSecond[pattern - 5]);
  }
  return out;
}

int PatternOf(const std::vector<std::uint32_t>& writes) {
  for (int p = 1; p <= 8; ++p) {
    if (writes == ExpectedWipeWrites(p)) return p;
  }
  return 0;
}

void ColouringTest::SetUp() {
  AppTest::SetUp();
  StartProgram();
  ASSERT_FALSE(ended.has_value()) << "start-up ended the program";
  ASSERT_EQ(galerija_prikazana, 0);
}

std::string ColouringTest::Sound(const char* literal) const { return putanja_programa + literal; }

}  // namespace colouring_test
