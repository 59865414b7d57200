// The second thread that reads the back of a large file: every entry comes
// over, in order, however the two threads keep pace, and what stopped the
// reading is raised on the thread that takes them.
#include "exchange/importing/back_reading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace tabrel {
namespace {

// Reads 0..`count`-1; the second batch waits until the first was taken,
// so that the taker finds the queue empty before the reading has ended.
std::vector<int> TakeAll(int count) {
  std::atomic<bool> first_taken = false;
  int next = 0;
  BackReading<int> reading([&](int& entry) {
    if (next == 256) first_taken.wait(false);
    if (next == count) return false;
    entry = next++;
    return true;
  });
  std::vector<int> taken;
  for (std::vector<int> batch; reading.Take(batch);) {
    taken.insert(taken.end(), batch.begin(), batch.end());
    first_taken = true;
    first_taken.notify_one();
  }
  return taken;
}

TEST(BackReadingTest, HandsOverEveryEntryInOrder) {
  for (const int count : {0, 1, 255, 256, 257, 1000}) {
    std::vector<int> wanted(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) wanted[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(TakeAll(count), wanted) << count;
  }
}

TEST(BackReadingTest, RaisesWhatStoppedTheReadingAfterTheBatchesBefore) {
  std::atomic<bool> first_taken = false;
  int next = 0;
  BackReading<int> reading([&](int& entry) {
    if (next == 256) first_taken.wait(false);
    if (next == 600) throw std::runtime_error("unreadable");
    entry = next++;
    return true;
  });
  std::vector<int> batch;
  ASSERT_TRUE(reading.Take(batch));
  EXPECT_EQ(batch.size(), 256u);
  first_taken = true;
  first_taken.notify_one();
  ASSERT_TRUE(reading.Take(batch));
  EXPECT_EQ(batch.front(), 256);
  EXPECT_THROW(reading.Take(batch), std::runtime_error);
}

}  // namespace
}  // namespace tabrel
