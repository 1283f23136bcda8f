// The eight screen procedures: what each one sets, what it leaves alone, and the frozen screen
// under real input.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "frame/module_state.h"
#include "frame_fixture.h"

namespace frame_test {
namespace {

struct ControlState {
  bool visible, enabled;
  std::string picture;
  bool operator==(const ControlState&) const = default;
};
struct WindowState {
  std::map<std::string, ControlState> controls;
  std::string background;
  std::int16_t screen, drawing;
  bool operator==(const WindowState&) const = default;
};

using Procedure = void (FormaMain::*)();
struct Case {
  const char* name;
  Procedure procedure;
};
const Case kProcedures[] = {
    {"ugasi_glavni_ekran", &FormaMain::ugasi_glavni_ekran},
    {"upali_glavni_ekran", &FormaMain::upali_glavni_ekran},
    {"glavni_ekran_zamrznut", &FormaMain::glavni_ekran_zamrznut},
    {"glavni_ekran_odmrznut", &FormaMain::glavni_ekran_odmrznut},
    {"galerijski_ekran_zamrznut", &FormaMain::galerijski_ekran_zamrznut},
    {"galerijski_ekran_odmrznut", &FormaMain::galerijski_ekran_odmrznut},
    {"galerijski_ekran_ugasi", &FormaMain::galerijski_ekran_ugasi},
    {"Prikazi_More_Images", &FormaMain::Prikazi_More_Images},
};

class ScreensTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    StartFully();
    // Pictures that no screen procedure may change: a selected colour, a coloured canvas.
    forma->load_picture(forma->PaletaZelena, "\\PICTURE\\BOJE3_02.JPG");
    forma->load_picture(forma->Galerija(3), "\\PICTURE\\GALERIJA1ZUTE_05.JPG");
    forma->Slika.SetForeColor(0x00FF00);
    forma->Slika.Line(10, 10, 200, 200);
  }

  WindowState State() const {
    WindowState s;
    for (const platform::Control* c : forma->Controls()) {
      const auto* box = dynamic_cast<const platform::PictureBox*>(c);
      s.controls[c->Name()] = {c->Visible(), c->Enabled(),
                               box ? test_support::ShownName(*box) : ""};
    }
    s.background = forma->GetPicture() ? forma->GetPicture()->source : "";
    s.screen = galerija_prikazana;
    s.drawing = trenutna_slika;
    return s;
  }

  std::vector<platform::PictureBox*> MainScreen() const {
    std::vector<platform::PictureBox*> all = {
        &forma->Slika,  &forma->MoreImages, &forma->MuteWave, &forma->MusicOn,
        &forma->Rubber, &forma->Papir,      &forma->kapljica, &forma->olovka};
    for (int nn = 1; nn <= 12; ++nn) all.push_back(&forma->Paleta(nn));
    return all;
  }
};

TEST_F(ScreensTest, EachProcedureGivesTheSameStateCalledOnceOrTwice) {
  for (const Case& c : kProcedures) {
    SCOPED_TRACE(c.name);
    const auto canvas = forma->Slika.Image()->pixels;
    (forma.get()->*c.procedure)();
    const WindowState once = State();
    (forma.get()->*c.procedure)();
    EXPECT_EQ(State(), once);
    EXPECT_EQ(forma->Slika.Image()->pixels, canvas);
  }
}

TEST_F(ScreensTest, ProceduresChangeOnlyVisibilityEnabledStateAndBackground) {
  const WindowState start = State();
  for (const Case& c : kProcedures) {
    SCOPED_TRACE(c.name);
    (forma.get()->*c.procedure)();
    const WindowState now = State();
    EXPECT_EQ(now.screen, start.screen);
    EXPECT_EQ(now.drawing, start.drawing);
    for (const auto& [name, control] : now.controls) {
      EXPECT_EQ(control.picture, start.controls.at(name).picture) << name;
    }
  }
}

TEST_F(ScreensTest, HidingAndShowingTheMainScreen) {
  const std::string background = State().background;
  forma->glavni_ekran_zamrznut();
  forma->ugasi_glavni_ekran();
  for (platform::PictureBox* c : MainScreen()) {
    EXPECT_FALSE(c->Visible()) << c->Name();
    EXPECT_EQ(c->Enabled(), c == &forma->Papir) << c->Name() << ": enabled state untouched";
  }
  forma->upali_glavni_ekran();
  for (platform::PictureBox* c : MainScreen()) EXPECT_TRUE(c->Visible()) << c->Name();
  EXPECT_EQ(State().background, background);
}

TEST_F(ScreensTest, FreezeAndUnfreezeOfTheMainScreen) {
  forma->glavni_ekran_zamrznut();
  for (platform::PictureBox* c : MainScreen()) {
    const bool paper = c == &forma->Papir;
    EXPECT_EQ(c->Visible(), !paper) << c->Name();
    EXPECT_EQ(c->Enabled(), paper) << c->Name();
  }
  forma->glavni_ekran_odmrznut();
  for (platform::PictureBox* c : MainScreen()) {
    EXPECT_TRUE(c->Visible()) << c->Name();
    EXPECT_TRUE(c->Enabled()) << c->Name();
  }
}

TEST_F(ScreensTest, FrozenMainScreenTakesNoClicks) {
  forma->glavni_ekran_zamrznut();
  const auto canvas = forma->Slika.Image()->pixels;
  for (platform::PictureBox* c : MainScreen()) ClickOn(*c);
  test_support::PressMouse(960, 440);  // where the hidden blank-paper button lies
  test_support::ReleaseMouse(960, 440);

  EXPECT_EQ(muzika_iskljucena, 1);
  EXPECT_EQ(forma->muzika_svira, 0);
  EXPECT_EQ(zvuk_ukljucen, 1);
  EXPECT_EQ(trenutna_boja, 255) << "no colour chosen";
  EXPECT_EQ(forma->kapljica_izabrana, -1) << "no tool chosen";
  EXPECT_EQ(galerija_prikazana, 0) << "gallery not opened";
  EXPECT_EQ(forma->Slika.Image()->pixels, canvas) << "canvas neither filled nor wiped";
}

TEST_F(ScreensTest, GalleryScreenProcedures) {
  for (int i = 1; i <= 25; ++i) forma->Galerija(i).SetVisible(true);
  forma->Prikazi_More_Images();
  EXPECT_TRUE(forma->Back.Visible());
  EXPECT_EQ(test_support::ShownName(forma->Back), "BACK1.JPG");
  EXPECT_EQ(forma->GetPicture()->source, putanja_programa + "\\PICTURE\\GALERIJA.JPG");

  forma->galerijski_ekran_zamrznut();
  for (int i = 1; i <= 25; ++i) EXPECT_FALSE(forma->Galerija(i).Enabled()) << i;
  EXPECT_TRUE(forma->Back.Enabled());
  forma->galerijski_ekran_odmrznut();
  for (int i = 1; i <= 25; ++i) EXPECT_TRUE(forma->Galerija(i).Enabled()) << i;

  forma->galerijski_ekran_ugasi();
  EXPECT_FALSE(forma->Back.Visible());
  for (int i = 1; i <= 25; ++i) EXPECT_FALSE(forma->Galerija(i).Visible()) << i;
  EXPECT_EQ(forma->GetPicture()->source, putanja_programa + "\\PICTURE\\GLAVNA.JPG");
  EXPECT_EQ(test_support::ShownName(forma->Galerija(3)), "GALERIJA1ZUTE_05.JPG");
}

TEST_F(ScreensTest, MissingBackgroundEndsOnlyTheLoad) {
  data->Remove("PICTURE/GALERIJA.JPG");
  forma->Prikazi_More_Images();
  EXPECT_TRUE(forma->Back.Visible());
  EXPECT_EQ(forma->GetPicture()->source, "design:GLAVNA.JPG");

  forma->Galerija(1).SetVisible(true);
  data->Remove("PICTURE/GLAVNA.JPG");
  forma->galerijski_ekran_ugasi();
  EXPECT_FALSE(forma->Back.Visible());
  EXPECT_FALSE(forma->Galerija(1).Visible());
  EXPECT_EQ(forma->GetPicture()->source, "design:GLAVNA.JPG");
}

}  // namespace
}  // namespace frame_test
