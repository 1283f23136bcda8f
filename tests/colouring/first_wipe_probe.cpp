// A helper program for the wipe tests, not a test of its own: starts the program afresh, clicks
// the blank paper once and writes the number of the sweep pattern it saw to the file named on
// the command line. It ends with 0 once the report is written, 1 if start-up failed.
#include <fstream>

#include "colouring_test.h"

namespace colouring_test {
namespace {

// The colouring page's fixture, run by hand: the program started as in every colouring test.
class FirstWipe : public ColouringTest {
 public:
  int Report(const char* report) {
    SetUp();
    if (HasFatalFailure()) {
      TearDown();
      return 1;
    }
    std::vector<std::uint32_t> writes;
    forma->Slika.OnDirectWrite = [&](int x, int y) { writes.push_back(Packed(x, y)); };
    Click(kPapir);
    std::ofstream(report) << PatternOf(writes) << "\n";
    TearDown();
    return 0;
  }

 private:
  void TestBody() override {}
};

}  // namespace
}  // namespace colouring_test

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  return colouring_test::FirstWipe().Report(argv[1]);
}
