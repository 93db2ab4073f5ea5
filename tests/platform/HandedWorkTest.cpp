// Work handed to an owner thread by a thread that waits for it only so long: the owner runs it, or
// the hander gives up first and the owner leaves it alone; a run under way is waited for.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

#include "platform/HandedWork.h"

namespace vornix::platform::detail {
namespace {

TEST(HandedWork, RunsOnTheOwnerThreadWhenItComesFirst) {
  std::thread::id ranOn;
  int runs = 0;
  const std::function<void()> work = [&] {
    ranOn = std::this_thread::get_id();
    ++runs;
  };
  THandedWork handed(work);
  std::thread owner([&] { handed.RunIfWanted(); });
  const std::thread::id ownerId = owner.get_id();
  owner.join();
  EXPECT_TRUE(handed.Settle());
  handed.RunIfWanted();  // a second delivery of the same work
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(ranOn, ownerId);
}

TEST(HandedWork, IsLeftAloneOnceTheHanderHasGivenUp) {
  int runs = 0;
  const std::function<void()> work = [&] { ++runs; };
  THandedWork handed(work);
  EXPECT_FALSE(handed.Settle());
  std::thread([&] { handed.RunIfWanted(); }).join();
  EXPECT_EQ(runs, 0);
}

// The hander settles while the owner runs the work: it returns only once the work is over, and a
// work that throws still counts as run.
TEST(HandedWork, ARunUnderWayIsWaitedFor) {
  for (const bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "the work throws" : "the work returns");
    std::promise<void> started;
    std::atomic<bool> settling{false};
    std::atomic<bool> over{false};
    const std::function<void()> work = [&] {
      started.set_value();
      while (!settling) std::this_thread::yield();
      over = true;
      if (throws) throw std::runtime_error("fails on the owner thread");
    };
    THandedWork handed(work);
    std::thread owner([&] { handed.RunIfWanted(); });
    started.get_future().wait();
    settling = true;
    EXPECT_TRUE(handed.Settle());
    EXPECT_TRUE(over);
    owner.join();
  }
}

}  // namespace
}  // namespace vornix::platform::detail
