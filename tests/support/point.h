#pragma once

namespace test_support {

// A point in window pixels; on a desktop the window's client area lies at the screen's
// top-left, so it is a screen point too.
struct Point {
  int x, y;
};

}  // namespace test_support
