// TMPEGPlayer with the real decoder library: a spoken word played through the stream events
// into a WAVE file, binding failures, the library's errors, and destruction while playing.
#include "tests/components/MPEGPlayerTestSupport.h"

#include <gtest/gtest.h>

using namespace PlayerTest;

namespace {

class MPEGPlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
        ASSERT_TRUE(fs::exists(TMPEGPlayer::LibraryFileName(LibraryFolder()).toStdString()))
            << "build the Sonarel target first";
        player_ = std::make_unique<TMPEGPlayer>();
        player_->PathToDLL = LibraryFolder();
        player_->UseTimer = true;
        player_->SetTimerFreq(5);
        player_->OutFilename = QString::fromStdString(scratch_ / "out.wav");
        player_->SetOutputDevice(TOutputDevice::pcmfile);
    }

    // Runs Body and expects a TMPEGError with the code and message.
    template <typename F> static void ExpectError(F body, int code, const std::string& message)
    {
        try {
            body();
            ADD_FAILURE() << "no TMPEGError, expected " << message;
        } catch (const TMPEGError& error) {
            EXPECT_EQ(error.ErrorCode(), code);
            EXPECT_EQ(std::string(error.what()), message);
        }
    }

    TScratch scratch_;
    TStreamLog log_;  // outlives the player
    std::unique_ptr<TMPEGPlayer> player_;
};

TEST_F(MPEGPlayer, PlaysASpokenWordToItsEndAndSignalsOnce)
{
    ServeFromMemory(*player_, log_, SpokenWord());
    int ends = 0;
    QList<QPair<int, int>> positions;
    player_->OnPlayEnd = [&](TMPEGPlayer* sender) {
        EXPECT_EQ(sender, player_.get());
        ++ends;
    };
    player_->OnPosUpdate = [&](int pos, int len) { positions << qMakePair(pos, len); };
    player_->BindLibrary();
    ASSERT_TRUE(player_->IsLibraryLoaded());
    player_->OpenStream();
    EXPECT_EQ(player_->PlayedXTimes(), 1);
    const int length = player_->StreamLength();
    EXPECT_GT(length, 300);  // about a second of speech
    EXPECT_LT(length, 3000);

    player_->PlayStream();
    EXPECT_TRUE(player_->IsPlaying() || ends == 1);  // a fast file output may end in the first tick
    ASSERT_TRUE(WaitFor([&] { return ends > 0; }));
    QTest::qWait(100);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(player_->IsPlaying());
    EXPECT_EQ(player_->PlayedXTimes(), 2);
    ASSERT_FALSE(positions.isEmpty());
    for (const auto& [pos, len] : positions) {
        EXPECT_EQ(len, length);
        EXPECT_GE(pos, 0);
        EXPECT_LE(pos, len);
    }

    // The whole word went into the WAVE file: 22.05 kHz, 16-bit mono.
    const long long bytes = WaveDataSize(scratch_ / "out.wav");
    const long long expected = static_cast<long long>(length) * 22050 / 1000 * 2;
    EXPECT_NEAR(static_cast<double>(bytes), static_cast<double>(expected), 2 * 1152 * 2);

    // The library's 32-bit handle led every event back to the owner's own context pointer,
    // and the reads of the playback ran on the library's thread.
    ASSERT_EQ(log_.Opened.size(), 1u);
    EXPECT_EQ(log_.Opened[0], log_.Streams[0].get());
    EXPECT_GT(log_.Streams[0]->ReadsOffMainThread.load(), 0);

    // Playing again restarts the same range from the beginning.
    player_->PlayStream();
    ASSERT_TRUE(WaitFor([&] { return ends == 2; }));
    EXPECT_EQ(player_->PlayedXTimes(), 3);
    EXPECT_EQ(WaveDataSize(scratch_ / "out.wav"), bytes);

    player_->CloseStream();
    EXPECT_EQ(log_.Closed, log_.Opened);
    EXPECT_EQ(player_->PlayedXTimes(), 0);
    player_->UnbindLibrary();
    EXPECT_FALSE(player_->IsLibraryLoaded());
}

TEST_F(MPEGPlayer, PlaysAFileByNameWithAutoPlay)
{
    WriteFile(scratch_ / "word.mp3", SpokenWord());
    player_->SetStreamName(QString::fromStdString(scratch_ / "word.mp3"));
    player_->AutoPlay = true;
    int ends = 0;
    player_->OnPlayEnd = [&](TMPEGPlayer*) { ++ends; };
    player_->BindLibrary();
    player_->OpenStream();
    EXPECT_TRUE(player_->IsPlaying() || ends == 1);
    ASSERT_TRUE(WaitFor([&] { return ends == 1; }));
    EXPECT_GT(WaveDataSize(scratch_ / "out.wav"), 10000);
    // A new name closes the open stream.
    player_->SetStreamName(QString());
    EXPECT_FALSE(player_->IsOpened());
    ExpectError([&] { player_->OpenStream(); }, 254, "Can't play non-specified stream");
}

TEST_F(MPEGPlayer, AMissingLibraryOrExportLeavesItUnbound)
{
    EXPECT_EQ(TMPEGPlayer::LibraryFileName(""), "libSonarel.so");
    EXPECT_EQ(TMPEGPlayer::LibraryFileName("/opt/lexora"), "/opt/lexora/libSonarel.so");
    EXPECT_EQ(TMPEGPlayer::LibraryFileName("/opt/lexora/"), "/opt/lexora/libSonarel.so");

    player_->PathToDLL = QString::fromStdString(scratch_.Path());
    ExpectError([&] { player_->BindLibrary(); }, 0, "Can't load MPEG library");
    EXPECT_FALSE(player_->IsLibraryLoaded());
    WriteFile(scratch_ / "libSonarel.so", "not a shared library");
    ExpectError([&] { player_->BindLibrary(); }, 0, "Can't load MPEG library");

    CopyWithoutExport(LibraryFolder(), scratch_ / "lib", "GetCurrentPos");
    player_->PathToDLL = QString::fromStdString(scratch_ / "lib");
    ExpectError([&] { player_->BindLibrary(); }, 0, "MPEG library not loaded");
    EXPECT_FALSE(player_->IsLibraryLoaded());

    // Unbound, every operation says so.
    ExpectError([&] { player_->OpenStream(); }, 0, "MPEG library not loaded");
    ExpectError([&] { player_->PlayStream(); }, 0, "MPEG library not loaded");
    ExpectError([&] { player_->SetPaused(true); }, 0, "MPEG library not loaded");
    ExpectError([&] { player_->CurrentPosition(); }, 0, "MPEG library not loaded");

    // The complete library binds afterwards.
    player_->PathToDLL = LibraryFolder();
    player_->BindLibrary();
    EXPECT_TRUE(player_->IsLibraryLoaded());
}

TEST_F(MPEGPlayer, LibraryErrorsBecomeMPEGErrors)
{
    player_->BindLibrary();
    player_->FromStream = true;  // but no OnOpenStream handler
    ExpectError([&] { player_->OpenStream(); }, 3, "Input stream error");
    EXPECT_FALSE(player_->IsOpened());
    EXPECT_EQ(player_->LastErrorCode(), 3);

    ServeFromMemory(*player_, log_, std::string(5000, 'x'));  // no MPEG frame in it
    ExpectError([&] { player_->OpenStream(); }, 3, "Input stream error");
    EXPECT_EQ(log_.Closed, log_.Opened);  // the library released the stream it opened

    player_->FromStream = false;
    player_->SetStreamName(QString::fromStdString(scratch_ / "missing.mp3"));
    ExpectError([&] { player_->OpenStream(); }, 3, "Input stream error");

    ExpectError([&] { player_->SetPaused(true); }, 2, "Incorrect mode");
    player_->SetPaused(false);  // nothing plays: nothing to do
    EXPECT_FALSE(player_->IsPaused());

    // A second player in the process meets the one player object of the library.
    TMPEGPlayer second;
    second.PathToDLL = LibraryFolder();
    ExpectError([&] { second.BindLibrary(); }, 2, "Incorrect mode");
    EXPECT_FALSE(second.IsLibraryLoaded());
}

TEST_F(MPEGPlayer, AFailedStartIsRaisedAndDoesNotCountAsPlaying)
{
    ServeFromMemory(*player_, log_, SpokenWord());
    int ends = 0;
    player_->OnPlayEnd = [&](TMPEGPlayer*) { ++ends; };
    player_->OutFilename = QString::fromStdString(scratch_ / "no/such/folder/out.wav");
    player_->SetOutputDevice(TOutputDevice::pcmfile);
    player_->BindLibrary();
    player_->OpenStream();
    ExpectError([&] { player_->PlayStream(); }, 5, "Output device failure");
    EXPECT_FALSE(player_->IsPlaying());

    // The next attempt, with a file that can be written, plays to the end.
    player_->OutFilename = QString::fromStdString(scratch_ / "out.wav");
    player_->PlayStream();
    EXPECT_TRUE(player_->IsPlaying() || ends == 1);  // a fast file output may end in the first tick
    ASSERT_TRUE(WaitFor([&] { return ends == 1; }));
}

TEST_F(MPEGPlayer, TheTimerFollowsTimerFreqAndUseTimer)
{
    player_->SetTimerFreq(0);
    EXPECT_FALSE(player_->UseTimer);
    ServeFromMemory(*player_, log_, SpokenWord());
    int updates = 0;
    int ends = 0;
    player_->OnPosUpdate = [&](int, int) { ++updates; };
    player_->OnPlayEnd = [&](TMPEGPlayer*) { ++ends; };
    player_->BindLibrary();
    player_->PlayStream();  // opens first
    EXPECT_TRUE(player_->IsOpened());
    QTest::qWait(300);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(player_->IsPlaying());  // without the timer the end is never seen

    player_->PositionTimerTick();  // the tick itself still notices it
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(player_->IsPlaying());
}

TEST_F(MPEGPlayer, PriorityValuesMapBothWays)
{
    EXPECT_EQ(player_->PlayerPriority(), TPlayPriority::Normal);
    player_->SetPlayerPriority(TPlayPriority::Idle);
    EXPECT_EQ(player_->PlayerPriority(), TPlayPriority::Idle);
    player_->BindLibrary();
    player_->SetPlayerPriority(TPlayPriority::TimeCritical);
    EXPECT_EQ(player_->PlayerPriority(), TPlayPriority::TimeCritical);

    TMPEGPlayer other;
    EXPECT_EQ(other.OutputDevice(), TOutputDevice::wavemapper);
    other.SetOutputDevice(TOutputDevice::pcmfile);  // no file name yet: stays on the device
    EXPECT_EQ(other.OutputDevice(), TOutputDevice::wavemapper);
}

}  // namespace
