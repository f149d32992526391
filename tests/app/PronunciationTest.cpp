// Pronunciation from the main window: the selected word's slice of its block's sound files
// played by the real decoder library (on the null sound device), the speak button's busy
// state, words without sound, and damaged or missing sound files.
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/app/PronunciationTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

using namespace MainWindowTest;
using namespace PronunciationTest;

namespace {

class Pronunciation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SONAREL_ALSA_DEVICE", "null", 1);
        CopyDecoderLibrary(folder.Path());
        SetSoundSource(folder.Path(), 1);
        // Block 0 (A): "apple" speaks, "arm" has none; block 1 (H): "house" speaks.
        WriteBlockSounds(folder.Path(), "ENGGER_T", 0, 2, {{0, PlayerTest::SpokenWord()}});
        WriteBlockSounds(folder.Path(), "ENGGER_T", 1, 5, {{1, PlayerTest::SpokenWord()}});
    }
    void TearDown() override
    {
        Release();
        if (window)
            window->MPEGPlayer->OnOpenStream = nullptr;
    }
    void Open()
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Count the streams the player opens, serving them as the window does.
        auto serve = window->MPEGPlayer->OnOpenStream;
        window->MPEGPlayer->OnOpenStream = [this, serve](bool& nonseekable, void*& context) {
            ++opens;
            serve(nonseekable, context);
        };
        // While held, the library's playback thread waits at its reads: the sound cannot end.
        auto read = window->MPEGPlayer->OnReadStream;
        window->MPEGPlayer->OnReadStream = [this, read](void* context, void* buffer, int count, int& done, bool& ok) {
            if (std::this_thread::get_id() != testThread) {
                std::unique_lock lock(holdLock);
                released.wait(lock, [this] { return !held; });
            }
            read(context, buffer, count, done, ok);
        };
    }
    void Hold()
    {
        std::lock_guard lock(holdLock);
        held = true;
    }
    void Release()
    {
        {
            std::lock_guard lock(holdLock);
            held = false;
        }
        released.notify_all();
    }
    void Look(const QString& word)
    {
        window->cbFind->setFocus();
        window->cbFind->lineEdit()->selectAll();
        QTest::keyClicks(window->cbFind, word);
        QTest::keyClick(window->cbFind, Qt::Key_Return);
        ASSERT_EQ(window->SelectedWord(), word);
    }
    void ClickSpeak() { QTest::mouseClick(window->bSeyWord, Qt::LeftButton); }
    bool WaitUntilIdle()
    {
        return PlayerTest::WaitFor([this] { return !window->Speaking(); });
    }
    // Clicks the speak button expecting a message; its text.
    QString ClickSpeakExpectingMessage()
    {
        TestSupport::ClickInNextModal("bOk");
        ClickSpeak();
        return TestSupport::LastModalText();
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
    int opens = 0;
    const std::thread::id testThread = std::this_thread::get_id();
    std::mutex holdLock;
    std::condition_variable released;
    bool held = false;
};

}  // namespace

TEST_F(Pronunciation, SpeakingAWordPlaysItsSliceToTheEndAndResetsTheButton)
{
    Open();
    Look("house");
    ClickSpeak();
    // The null device takes a short sound at once: it may have ended within the click.
    EXPECT_TRUE(window->Speaking() || !window->MPEGPlayer->IsPlaying());
    EXPECT_EQ(opens, 1);
    // The library played the whole word: its end byte was seen and the button is idle.
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_FALSE(window->MPEGPlayer->IsPlaying());
    EXPECT_FALSE(window->bSeyWord->isDown());
    EXPECT_GT(window->MPEGPlayer->StreamLength(), 300);
    // The first block's sounds are in "1.snd".
    Look("apple");
    ClickSpeak();
    EXPECT_TRUE(window->SoundFile.endsWith("Data/ENGGER_T/1.snd"));
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(opens, 2);
}

TEST_F(Pronunciation, ClicksWhileSpeakingAreIgnoredAndTheNextClickPlaysAgain)
{
    Open();
    Look("house");
    Hold();
    ClickSpeak();
    ASSERT_TRUE(window->Speaking());
    ClickSpeak();
    ClickSpeak();
    QCoreApplication::postEvent(window.get(), new QEvent(LexEvents::SpeakWord));
    QCoreApplication::processEvents();
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(window->MPEGPlayer->PlayedXTimes(), 2);
    Release();
    ASSERT_TRUE(WaitUntilIdle());
    Hold();
    ClickSpeak();
    EXPECT_TRUE(window->Speaking());
    EXPECT_EQ(opens, 2);
    Release();
    ASSERT_TRUE(WaitUntilIdle());
}

TEST_F(Pronunciation, WordsWithoutSoundAndUserWordsPlayNothing)
{
    Open();
    Look("arm");  // its record has length 0
    ClickSpeak();
    EXPECT_FALSE(window->Speaking());
    EXPECT_EQ(opens, 0);

    // A word the user added to the maker's dictionary has no sound at all.
    ASSERT_EQ(window->Dictionary->AddWord(u"hobby", "{\\rtf1 hobby - Hobby\\par}"), 0);
    window->MergeUserWords(u'H');
    Look("hobby");
    EXPECT_EQ(window->SoundWordIndex, -1);
    ClickSpeak();
    EXPECT_FALSE(window->Speaking());
    EXPECT_EQ(opens, 0);
}

TEST_F(Pronunciation, DamagedIndexRecordsReadNothingOutsideTheSoundFile)
{
    DamageRecord(folder.Path(), "ENGGER_T", 1, 1, 0, 1LL << 40);  // a claimed terabyte
    DamageRecord(folder.Path(), "ENGGER_T", 0, 0, -5, 100);       // before the file's start
    Open();
    Look("house");
    EXPECT_EQ(ClickSpeakExpectingMessage(), "Input stream error");
    EXPECT_FALSE(window->Speaking());
    Look("apple");
    EXPECT_EQ(ClickSpeakExpectingMessage(), "Input stream error");
    EXPECT_FALSE(window->Speaking());
    // An index too short for the word's record reads as "no sound".
    PlayerTest::WriteFile(folder.DataFile("ENGGER_T/2.idx"), std::string(30, '\0'));
    Look("house");
    ClickSpeak();
    EXPECT_FALSE(window->Speaking());
}

TEST_F(Pronunciation, TruncatedOrMissingSoundFilesAreReported)
{
    const std::string data = folder.DataFile("ENGGER_T/2.snd");
    PlayerTest::WriteFile(data, PlayerTest::ReadFile(data).substr(0, 100));
    Open();
    Look("house");
    EXPECT_EQ(ClickSpeakExpectingMessage(), "Input stream error");
    EXPECT_FALSE(window->Speaking());

    std::filesystem::remove(data);
    const QString text = ClickSpeakExpectingMessage();
    EXPECT_TRUE(text.startsWith("Can not find file: ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Data/ENGGER_T/2.snd")) << text.toStdString();
}

TEST_F(Pronunciation, SoundsOnCdNeedTheDriveSetAndItsMedium)
{
    SetSoundSource(folder.Path(), 0);
    Open();
    window->Settings.CDROM.clear();
    Look("house");
    bool asked = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        asked = true;
        modal->close();
    });
    ClickSpeak();
    EXPECT_TRUE(asked);
    // A drive that is no mounted medium.
    window->Settings.CDROM = u"/no/such/cdrom/";
    asked = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        asked = true;
        modal->close();
    });
    ClickSpeak();
    EXPECT_TRUE(asked);
    EXPECT_EQ(opens, 0);
}

TEST_F(Pronunciation, WithoutTheDecoderLibrarySpeakingSaysSo)
{
    QFile::remove(folder.Path() + "libSonarel.so");
    Open();
    Look("house");
    EXPECT_EQ(ClickSpeakExpectingMessage(), "MPEG library not loaded");
    EXPECT_FALSE(window->Speaking());
}
