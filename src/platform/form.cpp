#include "platform/form.h"

#include <SDL.h>

#include <algorithm>

#include "platform/canvas.h"
#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/video_driver.h"

namespace platform {
namespace {

Form* g_form = nullptr;
constexpr std::uint64_t kWritesPerDirectFrame = 5000;
double g_direct_pace = 300000.0;  // one 750 x 600 pass shows in about a second and a half

void EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return;
  // The desktop's own shortcuts must reach the keyboard filter while the keyboard is grabbed.
  SDL_SetHint(SDL_HINT_ALLOW_ALT_TAB_WHILE_GRABBED, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The frame is copied to the window's own surface; letting SDL put a GPU renderer behind
  // that surface would make it recreate the window when it is first drawn.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  PreferSessionVideoDriver();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
    throw RuntimeError(std::string("no video: ") + SDL_GetError());
  }
  RequireVisibleVideoDriver();
  // SDL's Wayland backend has no surface of its own to copy to: there the renderer behind
  // it is the only one, and the window is made for it from the start.
  if (OnWayland()) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
}

Rect Intersect(Rect a, Rect b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
  if (x1 <= x0 || y1 <= y0) return Rect{};
  return Rect{x0, y0, x1 - x0, y1 - y0};
}

Rect Union(Rect a, Rect b) {
  if (a.w == 0 || a.h == 0) return b;
  const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return Rect{x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

void SetDirectDrawingPace(double writes_per_second) { g_direct_pace = writes_per_second; }

Form::Form(std::string caption, int client_width, int client_height)
    : caption_(std::move(caption)),
      width_(client_width),
      height_(client_height),
      frame_(static_cast<std::size_t>(client_width) * static_cast<std::size_t>(client_height),
             0xFF000000u) {
  EnsureVideo();
  const Uint32 renderer_flag = OnWayland() ? SDL_WINDOW_OPENGL : 0;
  window_ = SDL_CreateWindow(caption_.c_str(), 0, 0, width_, height_,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | renderer_flag);
  if (window_ == nullptr) throw RuntimeError(std::string("no window: ") + SDL_GetError());
  dirty_.push_back(Rect{0, 0, width_, height_});
  g_form = this;
}

Form::~Form() {
  // The controls may be gone already (a derived form's members die first): leave them be.
  if (g_form == this) g_form = nullptr;
  if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void Form::Add(Control& control) {
  control.form_ = this;
  controls_.push_back(&control);
  Invalidate(control.Bounds());
  ++layout_generation_;
}

void Form::Add(Timer& timer) { timers_.push_back(&timer); }

void Form::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  Invalidate(Rect{0, 0, width_, height_});
}

void Form::SetIcon(const Picture& icon) {
  if (!icon || window_ == nullptr) return;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(icon->pixels.data()), icon->width, icon->height, 32,
      icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (s == nullptr) return;
  SDL_SetWindowIcon(window_, s);
  SDL_FreeSurface(s);
}

void Form::SetMouseIcon(Picture icon, int hot_x, int hot_y) {
  mouse_icon_ = std::move(icon);
  hot_x_ = hot_x;
  hot_y_ = hot_y;
}

void Form::SetVisible(bool visible) {
  visible_ = visible;
  if (visible && !shown_once_) {
    shown_once_ = true;
    Control* first = nullptr;
    for (Control* c : controls_) {
      if (CanHoldFocus(*c) && (first == nullptr || c->TabIndex() < first->TabIndex())) first = c;
    }
    focus_ = first;
  }
  if (window_ == nullptr) return;
  if (visible) {
    // No key pressed while the window appears may reach the desktop.
    ShowWindowHoldingKeyboard(window_);
    needs_present_ = true;
    present_all_ = true;
  } else {
    SDL_HideWindow(window_);
    UpdateKeyboardGrab(window_);
  }
}

void Form::SetFocus(Control* control) {
  if (control != nullptr && !CanHoldFocus(*control)) return;
  focus_ = control;
}

void Form::Load() {
  if (OnLoad) RunHandler(OnLoad);
}

void Form::Show() {
  if (unloaded_) return;
  if (!visible_) SetVisible(true);
  Present();
}

void Form::Unload() {
  // A second request that arrives while the unload handler processes events is the same unload.
  if (unloaded_ || unloading_) return;
  unloading_ = true;
  std::int16_t cancel = 0;
  if (OnUnload) RunHandler([&] { OnUnload(cancel); });
  unloaded_ = true;
  visible_ = false;
  if (window_ != nullptr) {
    UpdateKeyboardGrab(nullptr);
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
}

bool Form::CanHoldFocus(const Control& c) const {
  return c.TakesFocus() && c.Visible() && c.Enabled();
}

// A focused control that goes away hands the focus on along the tab order, or to the form.
void Form::ControlUnavailable(Control& control) {
  if (capture_ == &control) {
    capture_ = nullptr;
    held_ = 0;
  }
  if (focus_ != &control) return;
  focus_ = nullptr;
  Control* next = nullptr;
  for (Control* c : controls_) {
    if (c == &control || !CanHoldFocus(*c)) continue;
    const bool after = c->TabIndex() > control.TabIndex();
    if (next == nullptr) {
      next = c;
      continue;
    }
    const bool next_after = next->TabIndex() > control.TabIndex();
    // The nearest one after it; failing that, the first from the start.
    if (after != next_after ? after : c->TabIndex() < next->TabIndex()) next = c;
  }
  focus_ = next;
}

void Form::MoveFocus(bool forward) {
  std::vector<Control*> order;
  for (Control* c : controls_) {
    if (CanHoldFocus(*c)) order.push_back(c);
  }
  if (order.empty()) return;
  std::sort(order.begin(), order.end(),
            [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
  auto it = std::find(order.begin(), order.end(), focus_);
  if (it == order.end()) {
    focus_ = forward ? order.front() : order.back();
  } else if (forward) {
    focus_ = (it + 1 == order.end()) ? order.front() : *(it + 1);
  } else {
    focus_ = (it == order.begin()) ? order.back() : *(it - 1);
  }
}

void Form::Invalidate(Rect area) {
  area = Intersect(area, Rect{0, 0, width_, height_});
  if (area.w == 0) return;
  needs_present_ = true;
  for (Rect& d : dirty_) {
    if (Intersect(d, area).w != 0) {
      d = Union(d, area);
      return;
    }
  }
  if (dirty_.size() >= 16) {
    Rect all = dirty_.front();
    for (const Rect& d : dirty_) all = Union(all, d);
    dirty_.assign(1, Union(all, area));
    return;
  }
  dirty_.push_back(area);
}

void Form::LayoutChanged(Control& control) {
  ++layout_generation_;
  Invalidate(control.Bounds());
}

void Form::Compose() {
  std::vector<Rect> areas;
  areas.swap(dirty_);
  for (const Rect& a : areas) {
    ComposeArea(a);
    Unshown(a);
  }
}

void Form::Unshown(Rect area) {
  if (present_all_) return;
  for (Rect& u : unshown_) {
    if (Intersect(u, area).w != 0) {
      u = Union(u, area);
      return;
    }
  }
  // Many small areas cost more in calls than one larger copy.
  if (unshown_.size() >= 16) {
    present_all_ = true;
    unshown_.clear();
    return;
  }
  unshown_.push_back(area);
}

void Form::ComposeArea(Rect area) {
  // Background first, then the controls from the bottom of the stack up.
  static const PictureData kNoPicture;
  const PictureData& bg = picture_ ? *picture_ : kNoPicture;
  // Row by row: the part the picture covers, then black past its edge.
  const int right = area.x + area.w;
  for (int y = area.y; y < area.y + area.h; ++y) {
    std::uint32_t* row = frame_.data() + static_cast<std::ptrdiff_t>(y) * width_;
    int x = area.x;
    if (y < bg.height) {
      const std::uint32_t* src = bg.pixels.data() + static_cast<std::ptrdiff_t>(y) * bg.width;
      for (const int end = std::min(right, bg.width); x < end; ++x) row[x] = src[x] | 0xFF000000u;
    }
    std::fill(row + x, row + right, 0xFF000000u);
  }
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const Control& c = **it;
    if (!c.Visible()) continue;
    const Rect clip = Intersect(area, c.Bounds());
    if (clip.w != 0) c.Paint(frame_.data(), width_, clip);
  }
}

const std::vector<std::uint32_t>& Form::Frame() {
  Compose();
  return frame_;
}

void Form::Present() {
  Compose();
  if (window_ == nullptr || !visible_ || !needs_present_) return;
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (screen == nullptr) return;
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(frame_.data(), width_, height_, 32,
                                                        width_ * 4, SDL_PIXELFORMAT_ARGB8888);
  if (src == nullptr) return;
  // The frame is opaque: a plain copy, not the per-pixel blend SDL would do for its alpha.
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  if (direct_unshown_.w != 0) {
    Unshown(direct_unshown_);
    direct_unshown_ = Rect{};
  }
  // A new or resized window surface holds nothing of the frame yet.
  const bool new_surface =
      screen != presented_surface_ || screen->w != presented_w_ || screen->h != presented_h_;
  if (new_surface || present_all_) {
    if (new_surface && (screen->w > width_ || screen->h > height_))
      SDL_FillRect(screen, nullptr, 0);
    SDL_BlitSurface(src, nullptr, screen, nullptr);
    SDL_UpdateWindowSurface(window_);
  } else if (!unshown_.empty()) {
    std::vector<SDL_Rect> rects;
    rects.reserve(unshown_.size());
    for (const Rect& u : unshown_) {
      const Rect on_screen = Intersect(u, Rect{0, 0, screen->w, screen->h});
      if (on_screen.w == 0) continue;
      SDL_Rect r{on_screen.x, on_screen.y, on_screen.w, on_screen.h};
      SDL_Rect to = r;
      SDL_BlitSurface(src, &r, screen, &to);
      rects.push_back(r);
    }
    if (!rects.empty()) {
      SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    }
  }
  SDL_FreeSurface(src);
  presented_surface_ = screen;
  presented_w_ = screen->w;
  presented_h_ = screen->h;
  unshown_.clear();
  present_all_ = false;
  needs_present_ = false;
}

bool Form::DirectVisible(const Control& canvas, int x, int y) {
  if (direct_mask_for_ != &canvas || direct_mask_generation_ != layout_generation_) {
    // A pixel reaches the screen where the canvas shows: inside the client area and under
    // no visible control that lies above it.
    const Rect b = canvas.Bounds();
    direct_mask_.assign(static_cast<std::size_t>(b.w) * static_cast<std::size_t>(b.h), 0);
    if (canvas.Visible()) {
      for (int cy = 0; cy < b.h; ++cy) {
        for (int cx = 0; cx < b.w; ++cx) {
          const int fx = b.x + cx, fy = b.y + cy;
          if (fx < 0 || fy < 0 || fx >= width_ || fy >= height_) continue;
          bool covered = false;
          for (const Control* c : controls_) {
            if (c == &canvas) break;
            if (c->Visible() && c->Bounds().Contains(fx, fy)) {
              covered = true;
              break;
            }
          }
          direct_mask_[static_cast<std::size_t>(cy) * b.w + cx] = covered ? 0 : 1;
        }
      }
    }
    direct_mask_for_ = &canvas;
    direct_mask_generation_ = layout_generation_;
  }
  return direct_mask_[static_cast<std::size_t>(y) * canvas.Width() + x] != 0;
}

void Form::CountDirectWrite() {
  ++direct_writes_;
  if (g_direct_pace <= 0 || direct_writes_ % kWritesPerDirectFrame != 0) return;
  needs_present_ = true;
  Present();
  const std::uint64_t due =
      direct_started_ms_ +
      static_cast<std::uint64_t>(static_cast<double>(direct_writes_) * 1000.0 / g_direct_pace);
  const std::uint64_t now = SDL_GetTicks64();
  if (due > now) SDL_Delay(static_cast<std::uint32_t>(due - now));
}

void Form::DirectWrite(const Control& canvas, int x, int y, std::uint32_t argb) {
  if (!DirectVisible(canvas, x, y)) return;
  const Rect b = canvas.Bounds();
  frame_[static_cast<std::size_t>(b.y + y) * width_ + (b.x + x)] = argb;
  direct_unshown_ = Union(direct_unshown_, Rect{b.x + x, b.y + y, 1, 1});
  needs_present_ = true;
}

std::uint32_t Form::DirectRead(const Control& canvas, int x, int y) const {
  const Rect b = canvas.Bounds();
  const int fx = b.x + x, fy = b.y + y;
  if (fx < 0 || fy < 0 || fx >= width_ || fy >= height_) return 0xFF000000u;
  return frame_[static_cast<std::size_t>(fy) * width_ + fx];
}

void Form::BeginDirectDrawing() {
  // What the screen shows must be up to date before writes go straight onto it.
  Compose();
  direct_writes_ = 0;
  direct_started_ms_ = SDL_GetTicks64();
}

void Form::EndDirectDrawing() {
  needs_present_ = true;
  Present();
}

void Form::RunTimers(std::uint64_t now_ms) {
  // A tick may wait and process events itself, so the list is walked by index.
  for (std::size_t i = 0; i < timers_.size(); ++i) timers_[i]->RunIfDue(now_ms);
}

int Form::MsUntilNextTimer(std::uint64_t now_ms) const {
  std::uint64_t wait = ~0ull;
  for (const Timer* t : timers_) {
    if (!t->enabled_ || t->interval_ <= 0) continue;
    wait = std::min(wait, t->due_ms_ > now_ms ? t->due_ms_ - now_ms : 0);
  }
  if (wait == ~0ull) return -1;
  return static_cast<int>(std::min<std::uint64_t>(wait, 1u << 30));
}

namespace {

// Pointer moves with no button held that queue up behind one another are handled as the
// last of them, as the desktop hands moves on when a program falls behind: only where the
// pointer is now matters to the hover pictures, and a slow machine catches up at once.
bool Superseded(const SDL_Event& event) {
  if (event.type != SDL_MOUSEMOTION || event.motion.state != 0) return false;
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return false;
  return next.type == SDL_MOUSEMOTION && next.motion.state == 0 &&
         next.motion.windowID == event.motion.windowID;
}

}  // namespace

void DoEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (g_form != nullptr && !Superseded(event)) g_form->HandleEvent(event);
  }
  if (g_form == nullptr) return;
  g_form->RunTimers(SDL_GetTicks64());
  g_form->Present();
}

int Run(Form& form) {
  try {
    form.Load();
    form.Show();
    while (!form.Unloaded()) {
      // Asleep until the next event, or the next timer that falls due.
      const int wait = form.MsUntilNextTimer(SDL_GetTicks64());
      SDL_Event event;
      if (wait != 0 && SDL_WaitEventTimeout(&event, wait) && !Superseded(event)) {
        form.HandleEvent(event);
      }
      DoEvents();
    }
  } catch (const ProgramEnd& end) {
    return end.status;
  }
  return 0;
}

}  // namespace platform
