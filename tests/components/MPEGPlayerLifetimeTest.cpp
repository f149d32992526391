// TMPEGPlayer while the library's playback thread runs: pause and resume, closing and
// destroying in the middle of a long sound.
#include "tests/components/MPEGPlayerTestSupport.h"

#include <gtest/gtest.h>

using namespace PlayerTest;

namespace {

// Two minutes of speech: the word's frames over and over (bare frames join up).
const std::string& LongSound()
{
    static const std::string sound = [] {
        std::string s;
        for (int i = 0; i < 150; ++i)
            s += SpokenWord();
        return s;
    }();
    return sound;
}

class MPEGPlayerLifetime : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
        player_ = std::make_unique<TMPEGPlayer>();
        player_->PathToDLL = LibraryFolder();
        player_->UseTimer = true;
        player_->SetTimerFreq(5);
        ServeFromMemory(*player_, log_, LongSound());
        player_->OnPlayEnd = [this](TMPEGPlayer*) { ++ends_; };
        player_->BindLibrary();
        player_->OpenStream();
    }

    TStreamLog log_;
    std::unique_ptr<TMPEGPlayer> player_;
    int ends_ = 0;
};

TEST_F(MPEGPlayerLifetime, PausesAndResumesOnTheDevice)
{
    player_->PlayStream();
    // A real position: before its first frame the library reports one beyond the length.
    ASSERT_TRUE(WaitFor([&] {
        const int position = player_->CurrentPosition();
        return position > 100 && position <= player_->StreamLength();
    }));
    player_->SetPaused(true);
    EXPECT_TRUE(player_->IsPaused());
    // The playback thread pauses at its next frame; from then on it reads nothing.
    ASSERT_TRUE(WaitFor([] { return LibraryPlayerMode(LibraryFolder()) == 4; }));
    const int reads = log_.Streams[0]->Reads.load();
    const int position = player_->CurrentPosition();
    QTest::qWait(200);
    EXPECT_EQ(log_.Streams[0]->Reads.load(), reads);
    EXPECT_EQ(player_->CurrentPosition(), position);

    player_->PlayStream();  // resumes
    EXPECT_FALSE(player_->IsPaused());
    ASSERT_TRUE(WaitFor([&] { return player_->CurrentPosition() > position; }));
    EXPECT_TRUE(player_->IsPlaying());
    EXPECT_EQ(ends_, 0);
    player_->CloseStream();
    EXPECT_EQ(log_.Closed, log_.Opened);
}

TEST_F(MPEGPlayerLifetime, DestroyingWhilePlayingWaitsForThePlaybackThread)
{
    player_->PlayStream();
    ASSERT_TRUE(WaitFor([&] { return log_.Streams[0]->ReadsOffMainThread.load() > 0; }));
    player_->SetPaused(true);
    player_.reset();  // stops, closes the stream and unloads the library
    ASSERT_EQ(log_.Closed, log_.Opened);
    const int reads = log_.Streams[0]->Reads.load();
    QTest::qWait(100);
    EXPECT_EQ(log_.Streams[0]->Reads.load(), reads);  // nothing reads the stream any more
    EXPECT_EQ(ends_, 0);

    // The library was left clean: a new player binds and plays.
    TStreamLog log;  // outlives the player, as the owner's streams must
    TMPEGPlayer again;
    again.PathToDLL = LibraryFolder();
    again.BindLibrary();
    ServeFromMemory(again, log, SpokenWord());
    again.OpenStream();
    again.PlayStream();
    EXPECT_TRUE(again.IsPlaying());
    // ... and is destroyed while playing, without being paused first.
}

TEST_F(MPEGPlayerLifetime, UnbindingWhilePlayingClosesTheStreamOnce)
{
    player_->PlayStream();
    ASSERT_TRUE(WaitFor([&] { return log_.Streams[0]->ReadsOffMainThread.load() > 0; }));
    player_->UnbindLibrary();
    EXPECT_FALSE(player_->IsLibraryLoaded());
    EXPECT_FALSE(player_->IsPlaying());
    EXPECT_EQ(log_.Closed, log_.Opened);
    QTest::qWait(50);
    EXPECT_EQ(ends_, 0);  // the timer stopped with the library
    player_.reset();
    EXPECT_EQ(log_.Closed.size(), 1u);
}

}  // namespace
