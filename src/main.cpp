#include <cstdio>
#include <exception>

#include "frame/forma_main.h"
#include "platform/form.h"

int main() {
  try {
    FormaMain forma;
    return platform::Run(forma);
  } catch (const std::exception& failure) {
    // Only the window itself can fail here, before anything is shown (no display, no video).
    std::fprintf(stderr, "colouring-book: %s\n", failure.what());
    return 1;
  }
}
