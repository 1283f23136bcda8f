#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/directx7.h"
#include "platform/failure.h"

namespace {

// The headless video driver's display has the one mode 1024 x 768, the program's own.
class HeadlessDisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_ = SDL_CreateWindow("display", 0, 0, 640, 480, 0);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    draw_ = directx_.DirectDrawCreate("");
  }
  void TearDown() override {
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool FullScreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }

  platform::DirectX7 directx_;
  std::shared_ptr<platform::DirectDraw7> draw_;
  SDL_Window* window_ = nullptr;
};

TEST_F(HeadlessDisplayTest, ModeTheDisplayHasGoesFullScreenAndRestores) {
  draw_->RestoreDisplayMode();  // nothing set yet: nothing happens
  draw_->SetCooperativeLevel(window_, platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
  draw_->SetDisplayMode(1024, 768, 16, 0, 0);
  EXPECT_TRUE(FullScreen());
  draw_->RestoreDisplayMode();
  EXPECT_FALSE(FullScreen());
}

TEST_F(HeadlessDisplayTest, ModeTheDisplayLacksFailsAndLeavesTheWindowAsItWas) {
  draw_->SetCooperativeLevel(window_, platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
  EXPECT_THROW(draw_->SetDisplayMode(800, 600, 16, 0, 0), platform::RuntimeError);
  EXPECT_FALSE(FullScreen());
  int width = 0, height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
}

TEST_F(HeadlessDisplayTest, ModeNeedsAWindowFirst) {
  EXPECT_THROW(draw_->SetDisplayMode(1024, 768, 16, 0, 0), platform::RuntimeError);
  EXPECT_THROW(draw_->SetCooperativeLevel(nullptr, platform::DDSCL_FULLSCREEN),
               platform::RuntimeError);
}

TEST_F(HeadlessDisplayTest, OnlyThePrimarySurfaceCanBeMade) {
  platform::DDSURFACEDESC2 primary;
  primary.lFlags = platform::DDSD_CAPS;
  primary.ddsCaps.lCaps = platform::DDSCAPS_PRIMARYSURFACE;
  EXPECT_NE(draw_->CreateSurface(primary), nullptr);

  platform::DDSURFACEDESC2 no_caps;
  no_caps.ddsCaps.lCaps = platform::DDSCAPS_PRIMARYSURFACE;
  EXPECT_THROW(draw_->CreateSurface(no_caps), platform::RuntimeError);
  platform::DDSURFACEDESC2 other;
  other.lFlags = platform::DDSD_CAPS;
  other.ddsCaps.lCaps = 0x40;
  EXPECT_THROW(draw_->CreateSurface(other), platform::RuntimeError);
}

}  // namespace
