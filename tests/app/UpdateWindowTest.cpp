// The update in the main window against a local server: the menu command, the download panel
// with its gradient bar, the stop button, closing the window during a download, the automatic
// check by days, and the administrators-only rule.
#include "app/UpdateThread.h"
#include "app/UpdateVersionList.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/ShapeButton.h"
#include "components/GradientProgress.h"
#include "components/MBox.h"
#include "platform/qt/OpenUrl.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/app/PackageTestSupport.h"
#include "tests/platform/HttpTestServer.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;
using namespace MainWindowTest;
using HttpTest::TRequest;
using HttpTest::TResponse;

namespace {

// Waits on a condition end as soon as it holds; the limit only matters when something hangs.
constexpr int kPatienceMs = 60000;
// The downloads that the cases stop would take 100 s: a stop must come well before that.
constexpr int kStopWithinMs = 30000;

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        list_ = "VERMAJ=4\r\nVERMIN=1\r\nFILE=lexora-setup.deb\r\nFILESIZE=400000\r\n";
        // 100 pieces a second apart: a download that the cases stop never ends by itself first.
        installer_.Body = std::string(400000, 'L');
        installer_.ChunkSize = 4000;
        installer_.ChunkDelayMs = 1000;
        setenv("LEXORA_UPDATE_URL", server_.Url("/").c_str(), 1);
        previous_ = SetOpenUrlHandler([this](const QUrl& url) {
            opened_.push_back(url);
            return true;
        });
        w_ = std::make_unique<TfLexDictionary>(folder_.Path());
        w_->Settings.UpdEnbl = false;  // the automatic check runs only where a case asks for it
        for (const char16_t* line :
             {u"MsgUpdateVer=A new version is available.", u"MsgUpdateQu=Download it now?",
              u"MsgStartUpdate=Start the installation now?", u"MsgStopUpdate=Stop downloading the update?",
              u"MsgStillUpdating=An update is still in progress. Stop it and exit?",
              u"MsgUpdating=An update is already in progress.", u"MsgNoUpdate=You are using the latest version.",
              u"MsgOnlyAdminMayDoThis=Only an administrator may do this."})
            w_->LangStrings.Add(line);
        w_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w_.get()));
    }
    void TearDown() override
    {
        w_.reset();
        SetOpenUrlHandler(previous_);
        unsetenv("LEXORA_UPDATE_URL");
        qputenv("LEXORA_ADMIN", "1");
    }

    TResponse Serve(const TRequest& r)
    {
        if (r.Path == kVersionListPath) {
            TResponse a;
            a.Body = list_;
            return a;
        }
        if (r.Path == kDownloadPath)
            return installer_;
        TResponse missing;
        missing.Status = 404;
        return missing;
    }

    // Starts a manual check and agrees to the download; returns once the bar moves.
    void StartDownload()
    {
        TestSupport::ClickInNextModal("bYes");
        w_->miUpdateNow->trigger();
        ASSERT_TRUE(w_->Updating);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w_->pDownload->isVisible() && w_->ProgressBar1->Position() > 0; },
                                    kPatienceMs));
        EXPECT_EQ(TestSupport::LastModalText(), "A new version is available.\nDownload it now?");
        EXPECT_EQ(w_->ProgressBar1->Maximum(), 400000);
    }

    std::string Target() const { return folder_.Path().toStdString() + "Updates/lexora-setup.deb"; }

    TProgramFolder folder_{{EnglishGerman()}};
    std::string list_;
    TResponse installer_;
    HttpTest::TServer server_{[this](const TRequest& r) { return Serve(r); }};
    TOpenUrlHandler previous_;
    std::vector<QUrl> opened_;
    std::unique_ptr<TfLexDictionary> w_;
};

}  // namespace

TEST_F(UpdateWindow, DownloadFillsTheBarAndOpensTheInstaller)
{
    installer_.ChunkDelayMs = 1;
    // The download may end before this thread looks again: both questions are answered as
    // they come, and the bar is read while the second one is open.
    QString download, start;
    std::int32_t position = -1, maximum = -1;
    bool panel = false;
    TestSupport::AnswerNextModal([&](QWidget* first) {
        download = TestSupport::LastModalText();
        TestSupport::AnswerNextModal([&](QWidget* second) {
            start = TestSupport::LastModalText();
            position = w_->ProgressBar1->Position();
            maximum = w_->ProgressBar1->Maximum();
            panel = w_->pDownload->isVisible();
            QTest::mouseClick(second->findChild<QAbstractButton*>("bYes"), Qt::LeftButton);
        });
        QTest::mouseClick(first->findChild<QAbstractButton*>("bYes"), Qt::LeftButton);
    });
    w_->miUpdateNow->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w_->Updating; }, kPatienceMs));
    EXPECT_EQ(download, "A new version is available.\nDownload it now?");
    EXPECT_EQ(start, "Start the installation now?");
    EXPECT_TRUE(panel);
    EXPECT_EQ(maximum, 400000);
    EXPECT_EQ(position, 400000);  // full when it asks
    EXPECT_FALSE(w_->pDownload->isVisible());
    EXPECT_EQ(w_->ProgressBar1->Position(), 0);
    EXPECT_EQ(PackageTest::ReadFile(Target()), installer_.Body);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].toLocalFile().toStdString(), Target());
    EXPECT_GT(w_->Settings.UpdLast, static_cast<std::int64_t>(std::time(nullptr)) - 60);
    EXPECT_EQ(w_->UpdateThread, nullptr);
}

TEST_F(UpdateWindow, StopButtonEndsTheDownload)
{
    StartDownload();
    // A second command while it runs only says so.
    TestSupport::ClickInNextModal("bOk");
    w_->miUpdateNow->trigger();
    EXPECT_EQ(TestSupport::LastModalText(), "An update is already in progress.");
    // No: it goes on.
    TestSupport::ClickInNextModal("bNo");
    QTest::mouseClick(w_->ShapeButton2, Qt::LeftButton);
    EXPECT_EQ(TestSupport::LastModalText(), "Stop downloading the update?");
    EXPECT_TRUE(w_->Updating);
    TestSupport::ClickInNextModal("bYes");
    QTest::mouseClick(w_->ShapeButton2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w_->Updating; }, kStopWithinMs));
    EXPECT_FALSE(w_->pDownload->isVisible());
    EXPECT_FALSE(fs::exists(Target()));
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(w_->Settings.UpdLast, 1104537600);
}

TEST_F(UpdateWindow, ClosingDuringADownloadAsksThenStopsAndWaitsForTheThread)
{
    StartDownload();
    TestSupport::ClickInNextModal("bNo");
    EXPECT_FALSE(w_->close());
    EXPECT_EQ(TestSupport::LastModalText(), "An update is still in progress. Stop it and exit?");
    EXPECT_TRUE(w_->Updating);
    TestSupport::ClickInNextModal("bYes");
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(w_->close());
    EXPECT_LT(clock.elapsed(), kStopWithinMs);
    EXPECT_FALSE(w_->Updating);
    EXPECT_EQ(w_->UpdateThread, nullptr);
    EXPECT_FALSE(fs::exists(Target()));
    EXPECT_FALSE(fs::exists(Target() + ".part"));
}

TEST_F(UpdateWindow, AutomaticCheckRunsAfterMoreThanUpdCntDays)
{
    list_ = "VERMAJ=3\r\nVERMIN=2\r\n";
    w_->Settings.UpdEnbl = true;
    w_->Settings.UpdCnt = 7;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    w_->Settings.UpdLast = now - 7 * 86400 - 60;
    w_->CheckAutoUpdate();
    EXPECT_FALSE(w_->Updating);
    w_->Settings.UpdLast = now - 8 * 86400 - 60;
    w_->CheckAutoUpdate();
    EXPECT_TRUE(w_->Updating);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w_->Updating; }, kPatienceMs));
    EXPECT_GE(w_->Settings.UpdLast, now);  // not newer: the time moves on, and nothing is shown
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(UpdateWindow, OnlyAnAdministratorMayUpdate)
{
    qputenv("LEXORA_ADMIN", "0");
    TestSupport::ClickInNextModal("bOk");
    w_->miUpdateNow->trigger();
    EXPECT_EQ(TestSupport::LastModalText(), "Only an administrator may do this.");
    EXPECT_FALSE(w_->Updating);
    w_->Settings.UpdEnbl = true;
    w_->CheckAutoUpdate();
    EXPECT_FALSE(w_->Updating);
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(UpdateWindow, ClosingDuringTheVersionCheckAsksToo)
{
    // The list never comes (100 bytes a second apart): the check hangs until it is stopped.
    list_ = "VERMAJ=4\r\n";
    HttpTest::TServer stalled([](const TRequest&) {
        TResponse a;
        a.Body = std::string(100, 'x');
        a.ChunkSize = 1;
        a.ChunkDelayMs = 1000;
        return a;
    });
    setenv("LEXORA_UPDATE_URL", stalled.Url("/").c_str(), 1);
    w_->miUpdateNow->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stalled.Requests().empty(); }, kPatienceMs));
    TestSupport::ClickInNextModal("bNo");
    EXPECT_FALSE(w_->close());
    EXPECT_EQ(TestSupport::LastModalText(), "An update is still in progress. Stop it and exit?");
    EXPECT_TRUE(w_->Updating);
    TestSupport::ClickInNextModal("bYes");
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(w_->close());
    EXPECT_LT(clock.elapsed(), kStopWithinMs);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(w_->Updating);
}
