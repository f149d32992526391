// Windows thread priorities become the nice value of the one thread they are applied to.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "decoder/PlayThread.h"

namespace {

TEST(ThreadPriorityTest, LoweringAppliesToThatThreadOnly)
{
    const int callerNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    std::atomic<int> seen{-100};
    std::thread worker([&] {
        const auto tid = static_cast<pid_t>(syscall(SYS_gettid));
        sonarel::ApplyThreadPriority(tid, -15);  // idle
        seen = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    });
    worker.join();
    EXPECT_EQ(seen.load(), 19);
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))), callerNice);
}

TEST(ThreadPriorityTest, OrderOfTheWindowsValuesIsKept)
{
    int previous = 20;
    for (int p : {-15, -2, -1, 0, 1, 2, 15}) {
        EXPECT_LT(sonarel::NiceForPriority(p), previous) << p;
        previous = sonarel::NiceForPriority(p);
    }
    EXPECT_EQ(sonarel::NiceForPriority(0), 0);
    EXPECT_EQ(sonarel::NiceForPriority(7), 0);  // not a Windows value: normal
}

}  // namespace
