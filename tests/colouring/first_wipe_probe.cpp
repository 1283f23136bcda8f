// Starts the program afresh, clicks the blank paper once and writes the number of the sweep
// pattern it saw to the file named on the command line.
#include <fstream>

#include "colouring_test.h"

namespace colouring_test {
namespace {

std::string g_report;

class FirstWipe : public ColouringTest {};

TEST_F(FirstWipe, Report) {
  std::vector<std::uint32_t> writes;
  forma->Slika.OnDirectWrite = [&](int x, int y) { writes.push_back(Packed(x, y)); };
  Click(kPapir);
  std::ofstream(g_report) << PatternOf(writes) << "\n";
}

}  // namespace
}  // namespace colouring_test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) return 2;
  colouring_test::g_report = argv[1];
  return RUN_ALL_TESTS();
}
