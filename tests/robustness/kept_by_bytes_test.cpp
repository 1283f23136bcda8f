// What the decode caches keep stays within their budget whatever they are handed: a file far
// larger than the budget is made and given, never kept, and pushes nothing else out.
#include "platform/kept_by_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace robustness {
namespace {

using Made = std::shared_ptr<const std::size_t>;
constexpr std::size_t kBudget = 1000;

class KeptByBytesTest : public testing::Test {
 protected:
  // Gets `size` bytes for the path, its made thing as large again; true when it was made now
  // rather than found kept.
  bool MadeNow(const std::string& path, std::size_t size) {
    bool made = false;
    kept_.Get(path, std::vector<unsigned char>(size, 7), [&](const auto& bytes) {
      made = true;
      return std::make_shared<const std::size_t>(bytes.size());
    });
    return made;
  }

  platform::KeptByBytes<Made> kept_{kBudget, [](const Made& made) { return *made; }};
};

TEST_F(KeptByBytesTest, AThingOverTheBudgetIsNeverKeptAndPushesNothingOut) {
  ASSERT_TRUE(MadeNow("small", 200));
  EXPECT_FALSE(MadeNow("small", 200)) << "the same bytes were made again";
  for (const std::size_t huge : {kBudget / 2 + 1, kBudget, 10 * kBudget}) {
    SCOPED_TRACE(huge);
    EXPECT_TRUE(MadeNow("huge", huge));
    EXPECT_TRUE(MadeNow("huge", huge)) << "kept, with its bytes, over the budget";
    EXPECT_FALSE(MadeNow("small", 200)) << "pushed out by what was not kept";
  }
}

}  // namespace
}  // namespace robustness
