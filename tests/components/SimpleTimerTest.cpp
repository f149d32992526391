// Shared timers: arming, suspending by period or handler, and the shared handler's lifetime.
#include "components/SimpleTimer.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

TEST(SimpleTimer, ArmWithoutPeriodFailsAndLeavesTheTimerInactive)
{
    int ticks = 0;
    TSimpleTimer timer(0, [&](TSimpleTimer&) { ++ticks; });
    EXPECT_FALSE(timer.Arm());
    EXPECT_FALSE(timer.Active());
    timer.SetActive(true);
    EXPECT_FALSE(timer.Active());
    QTest::qWait(60);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(timer.Disarm(true));  // nothing runs, nothing to stop
}

TEST(SimpleTimer, ZeroPeriodSuspendsAndANewPeriodResumes)
{
    int ticks = 0;
    TSimpleTimer timer(20, [&](TSimpleTimer& sender) {
        EXPECT_EQ(sender.Period(), 20u);
        ++ticks;
    });
    ASSERT_TRUE(timer.Arm());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 60000));

    timer.SetPeriod(0);
    EXPECT_TRUE(timer.Active());
    EXPECT_FALSE(timer.Running());
    const int suspendedAt = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, suspendedAt);

    timer.SetPeriod(20);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > suspendedAt; }, 60000));
    timer.SetActive(false);
    EXPECT_FALSE(timer.Active());
    const int stoppedAt = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(SimpleTimer, EmptyHandlerSuspendsARunningTimer)
{
    int ticks = 0;
    TSimpleTimer timer(15, [&](TSimpleTimer&) { ++ticks; });
    timer.SetActive(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 60000));
    timer.SetOnTick({});
    EXPECT_TRUE(timer.Active());
    EXPECT_FALSE(timer.Running());
    // A handler and a period bring it back.
    timer.SetOnTick([&](TSimpleTimer&) { ticks += 100; });
    timer.SetPeriod(16);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 100; }, 60000));
}

TEST(SimpleTimer, TheSharedHandlerLivesWhileTimersExist)
{
    ASSERT_EQ(TSimpleTimerHandler::Instance(), nullptr);
    {
        TSimpleTimer first;
        EXPECT_EQ(first.Period(), 1000u);
        ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
        TSimpleTimer second;
        EXPECT_EQ(TSimpleTimerHandler::Instance()->TimerCount(), 2);
    }
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);

    // A new timer after that makes a new handler and runs.
    int ticks = 0;
    TSimpleTimer again(10, [&](TSimpleTimer&) { ++ticks; });
    ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
    EXPECT_TRUE(again.Arm());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 60000));
}

TEST(SimpleTimer, ATickMayDestroyTheLastTimer)
{
    auto timer = std::make_unique<TSimpleTimer>();
    bool ticked = false;
    timer->SetOnTick([&](TSimpleTimer&) {
        ticked = true;
        timer.reset();
    });
    timer->SetPeriod(10);
    ASSERT_TRUE(timer->Arm());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticked; }, 60000));
    // The handler goes once the tick is over.
    EXPECT_TRUE(QTest::qWaitFor([] { return TSimpleTimerHandler::Instance() == nullptr; }, 60000));
}
