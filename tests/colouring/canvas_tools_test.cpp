// The fill and the pencil on the canvas, and the two tool buttons, through real mouse events.
#include <algorithm>
#include <cmath>

#include "colouring_test.h"
#include "frame/module_state.h"
#include "platform/canvas.h"
#include "platform/failure.h"

namespace colouring_test {
namespace {

using test_support::LoadLog;
using test_support::Shows;

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x67CC34;

std::size_t Index(int x, int y) { return static_cast<std::size_t>(y) * kCanvasWidth + x; }

// What a fill of `area` with `colour` makes of `before`.
std::vector<std::uint32_t> Filled(std::vector<std::uint32_t> before, const std::vector<bool>& area,
                                  std::uint32_t colour) {
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (area[i]) before[i] = colour;
  }
  return before;
}

using CanvasToolsTest = ColouringTest;

TEST_F(CanvasToolsTest, FillPaintsTheClosedAreaInTheCurrentColourAndShowsAtOnce) {
  SoundLog sounds;
  const std::vector<std::uint32_t> start = Canvas();
  const Point first = FindClosedArea(start, kWhite, 300, 60000);
  const Point second = FindClosedArea(start, kWhite, 300, 60000, first);
  ASSERT_GE(first.x, 0) << "the start drawing has no closed white area";
  ASSERT_GE(second.x, 0);

  // Before any palette click the colour is already red.
  const std::vector<bool> first_area = AreaAround(start, first.x, first.y);
  Click(OnCanvas(first.x, first.y));
  const std::vector<std::uint32_t> after_red = Filled(start, first_area, kRed);
  ASSERT_EQ(Canvas(), after_red);
  EXPECT_EQ(Pixel(kCanvasLeft + first.x, kCanvasTop + first.y), platform::ArgbOf(kRed));

  Click(PalettePoint(2));
  Click(OnCanvas(second.x, second.y));
  EXPECT_EQ(Canvas(), Filled(after_red, AreaAround(start, second.x, second.y), kGreen));
  EXPECT_EQ(Pixel(kCanvasLeft + second.x, kCanvasTop + second.y), platform::ArgbOf(kGreen));

  EXPECT_EQ(sounds.Paths(),
            (std::vector<std::string>{Sound("\\SOUND\\SVPLAVA.WAV"), Sound("\\SOUND\\ZELENA.WAV"),
                                      Sound("\\SOUND\\SVPLAVA.WAV")}));
  for (const SoundLog::Call& c : sounds.Calls()) EXPECT_EQ(c.flags, 1);
}

// A pixel of the given value alone in a white area: only values from 10 up can be filled.
TEST_F(CanvasToolsTest, OutlineValuesUpToNineBlockTheFillAndTenFills) {
  const Point area = FindClosedArea(Canvas(), kWhite, 2000, 200000);
  ASSERT_GE(area.x, 0);
  for (std::uint32_t value : {0u, 1u, 9u, 10u, 0x1E1E1Eu}) {
    SCOPED_TRACE(value);
    SoundLog sounds;
    platform::SetPixelV(forma->Slika.hDC(), area.x, area.y, value);
    const std::vector<std::uint32_t> before = Canvas();
    Click(OnCanvas(area.x, area.y));
    std::vector<std::uint32_t> expected = before;
    if (value >= 10) expected[Index(area.x, area.y)] = kRed;
    EXPECT_EQ(Canvas(), expected);
    EXPECT_EQ(sounds.Calls().size(), value >= 10 ? 1u : 0u);
    platform::SetPixelV(forma->Slika.hDC(), area.x, area.y, kWhite);
  }
}

TEST_F(CanvasToolsTest, AnAreaPaintedWithThePalettesBlackFillsAgain) {
  const std::vector<std::uint32_t> start = Canvas();
  const Point p = FindClosedArea(start, kWhite, 300, 60000);
  ASSERT_GE(p.x, 0);
  const std::vector<bool> area = AreaAround(start, p.x, p.y);
  Click(PalettePoint(11));
  Click(OnCanvas(p.x, p.y));
  ASSERT_EQ(Canvas(), Filled(start, area, 0x1E1E1E));
  Click(PalettePoint(2));
  Click(OnCanvas(p.x, p.y));
  EXPECT_EQ(Canvas(), Filled(start, area, kGreen));
}

TEST_F(CanvasToolsTest, FillSoundFollowsTheButtonTheToolAndTheSwitch) {
  const Point p = FindClosedArea(Canvas(), kWhite, 300, 60000);
  ASSERT_GE(p.x, 0);
  const Point at = OnCanvas(p.x, p.y);
  const std::vector<std::uint32_t> start = Canvas();
  SoundLog sounds;

  // Right and middle presses fill nothing but still sound.
  for (std::uint8_t button : {SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE}) {
    test_support::PressMouse(at.x, at.y, button);
    test_support::ReleaseMouse(at.x, at.y, button);
  }
  EXPECT_EQ(Canvas(), start);
  EXPECT_EQ(sounds.Paths(), std::vector<std::string>(2, Sound("\\SOUND\\SVPLAVA.WAV")));

  // With sounds off the fill is silent.
  sounds.Clear();
  forma->zvuk_ukljucen_forma = 0;
  Click(at);
  EXPECT_NE(Canvas(), start);
  EXPECT_TRUE(sounds.Calls().empty());

  // Filling an area that already has the colour changes nothing and sounds.
  forma->zvuk_ukljucen_forma = 1;
  const std::vector<std::uint32_t> red = Canvas();
  Click(at);
  EXPECT_EQ(Canvas(), red);
  EXPECT_EQ(sounds.Calls().size(), 1u);

  // The pencil never sounds from the canvas.
  sounds.Clear();
  Click(kPencilButton);
  test_support::PressMouse(at.x, at.y);
  Move({at.x + 20, at.y}, SDL_BUTTON_LMASK);
  test_support::ReleaseMouse(at.x + 20, at.y);
  EXPECT_TRUE(sounds.Calls().empty());
}

double DistanceToSegment(double px, double py, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t = ((px - a.x) * dx + (py - a.y) * dy) / (dx * dx + dy * dy);
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(a.x + t * dx - px, a.y + t * dy - py);
}

TEST_F(CanvasToolsTest, PencilDrawsJoinedThreePixelSegmentsWhileTheLeftButtonIsHeld) {
  Click(kPencilButton);
  Click(PalettePoint(10));
  const std::vector<std::uint32_t> before = Canvas();
  const Point a{100, 100}, b{300, 100}, c{300, 250}, d{450, 400};

  LoadLog loads;
  test_support::PressMouse(kCanvasLeft + a.x, kCanvasTop + a.y);
  Move(OnCanvas(b.x, b.y), SDL_BUTTON_LMASK);
  Move(OnCanvas(c.x, c.y), SDL_BUTTON_LMASK);
  Move(OnCanvas(d.x, d.y), SDL_BUTTON_LMASK);
  EXPECT_TRUE(loads.Names().empty()) << "a drawing move reset the buttons";
  test_support::ReleaseMouse(kCanvasLeft + d.x, kCanvasTop + d.y);
  EXPECT_EQ(forma->prethodni_x, d.x);
  EXPECT_EQ(forma->prethodni_y, d.y);

  const std::vector<std::uint32_t> after = Canvas();
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const double off = std::min({DistanceToSegment(x, y, a, b), DistanceToSegment(x, y, b, c),
                                   DistanceToSegment(x, y, c, d)});
      const std::uint32_t v = after[Index(x, y)];
      if (off <= 1.0) {
        ASSERT_EQ(v, 0xFF0000u) << "gap in the line at " << x << "," << y;
      } else if (off > 1.5) {
        ASSERT_EQ(v, before[Index(x, y)]) << "paint outside the 3 px line at " << x << "," << y;
      }
    }
  }
  // Three pixels wide: the rows beside a horizontal segment are painted, two rows off not.
  EXPECT_EQ(after[Index(200, 99)], 0xFF0000u);
  EXPECT_EQ(after[Index(200, 101)], 0xFF0000u);
  EXPECT_EQ(after[Index(200, 102)], before[Index(200, 102)]);
  // Across the diagonal a 3 px line covers 3 * sqrt(2), about 4.2, pixels of each row; a
  // narrower pen fits the straight segments' rows above but not this.
  for (int y = c.y + 20; y <= d.y - 20; ++y) {
    const int middle = c.x + (y - c.y);
    int covered = 0;
    for (int x = middle - 5; x <= middle + 5; ++x) covered += after[Index(x, y)] == 0xFF0000u;
    ASSERT_GE(covered, 4) << "the diagonal is too thin in row " << y;
    ASSERT_LE(covered, 5) << "the diagonal is too wide in row " << y;
  }
}

TEST_F(CanvasToolsTest, PencilLeavesNoMarkOnPressAndReleaseNorWithTwoButtonsHeld) {
  Click(kPencilButton);
  const std::vector<std::uint32_t> before = Canvas();
  const Point at = OnCanvas(200, 200);
  Click(at);
  EXPECT_EQ(Canvas(), before);

  // Left and right held together draw nothing and put the buttons back to rest.
  test_support::PressMouse(at.x, at.y);
  test_support::PressMouse(at.x, at.y, SDL_BUTTON_RIGHT);
  LoadLog loads;
  Move({at.x + 50, at.y}, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
  EXPECT_EQ(Canvas(), before);
  EXPECT_EQ(loads.Names().size(), 5u);
  test_support::ReleaseMouse(at.x + 50, at.y, SDL_BUTTON_RIGHT);
  test_support::ReleaseMouse(at.x + 50, at.y);

  // With the fill tool a held left button draws nothing: pressed on the outline, which
  // fills nothing either.
  Click(kFillButton);
  std::size_t outline = 0;
  while (before[outline] != 0) ++outline;
  const Point dark =
      OnCanvas(static_cast<int>(outline % kCanvasWidth), static_cast<int>(outline / kCanvasWidth));
  test_support::PressMouse(dark.x, dark.y);
  Move({dark.x + 50, dark.y + 50}, SDL_BUTTON_LMASK);
  test_support::ReleaseMouse(dark.x + 50, dark.y + 50);
  EXPECT_EQ(Canvas(), before);
}

TEST_F(CanvasToolsTest, ToolClicksSetTheToolPicturesAndPointerIcon) {
  struct Case {
    Point button;
    std::int16_t tool;
    std::vector<std::string> loads;
  };
  const Case cases[] = {
      {kPencilButton, 0, {"OLOVKA1.JPG", "KAPLJICA2.JPG", "CETKA.ICO"}},
      {kPencilButton, 0, {"OLOVKA1.JPG", "KAPLJICA2.JPG", "CETKA.ICO"}},
      {kFillButton, -1, {"OLOVKA2.JPG", "KAPLJICA1.JPG", "KANTICA8.ICO"}},
  };
  EXPECT_EQ(forma->kapljica_izabrana, -1);
  for (const Case& c : cases) {
    Move(c.button);
    LoadLog loads;
    test_support::PressMouse(c.button.x, c.button.y);
    test_support::ReleaseMouse(c.button.x, c.button.y);
    EXPECT_EQ(forma->kapljica_izabrana, c.tool);
    EXPECT_EQ(loads.Names(), c.loads);
    EXPECT_TRUE(Shows(forma->olovka, c.loads[0]));
    EXPECT_TRUE(Shows(forma->kapljica, c.loads[1]));
    const platform::Picture& icon = forma->Slika.MouseIcon();
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->source.ends_with(c.loads[2])) << icon->source;
    EXPECT_EQ(forma->Slika.HotX(), icon->width / 2);  // an icon points with its centre
    EXPECT_EQ(forma->Slika.HotY(), icon->height / 2);
  }
}

TEST_F(CanvasToolsTest, AToolClickStopsAtAMissingPictureAndTheProgramGoesOn) {
  struct Case {
    const char* missing;
    const char* olovka_shows;
  };
  // The tool is set before the first picture; each picture is loaded before the next.
  for (const Case& c : {Case{"OLOVKA1.JPG", "OLOVKA2.JPG"}, Case{"KAPLJICA2.JPG", "OLOVKA1.JPG"}}) {
    SCOPED_TRACE(c.missing);
    Click(kFillButton);
    const platform::Picture icon_before = forma->Slika.MouseIcon();
    data->Remove(std::string("PICTURE/") + c.missing);
    Click(kPencilButton);
    EXPECT_EQ(forma->kapljica_izabrana, 0);
    EXPECT_TRUE(Shows(forma->olovka, c.olovka_shows));
    EXPECT_TRUE(Shows(forma->kapljica, "KAPLJICA1.JPG"));
    EXPECT_EQ(forma->Slika.MouseIcon(), icon_before);
    // Nothing in the click catches the failure.
    EXPECT_THROW(forma->olovka_Click(), platform::RuntimeError);

    // The program goes on.
    Click(PalettePoint(4));
    EXPECT_EQ(trenutna_boja, 0x00FFCC00);
    Click(kFillButton);
    EXPECT_EQ(forma->kapljica_izabrana, -1);
    trenutna_boja = 0xFF;
    std::filesystem::copy(std::filesystem::path(COLOURING_APP_DIR) / "PICTURE" / c.missing,
                          data->File(std::string("PICTURE/") + c.missing));
  }
}

// Positions come in whole pixels from the window; a half, were there one, goes to the even
// neighbour.
TEST_F(CanvasToolsTest, APressKeepsItsPointRoundedHalfToEven) {
  Click(kPencilButton);
  forma->Slika_MouseDown(1, 0, 10.5f, 11.5f);
  EXPECT_EQ(forma->prethodni_x, 10);
  EXPECT_EQ(forma->prethodni_y, 12);
  forma->Slika_MouseMove(1, 0, 20.5f, 13.5f);
  EXPECT_EQ(forma->prethodni_x, 20);
  EXPECT_EQ(forma->prethodni_y, 14);
}

}  // namespace
}  // namespace colouring_test
