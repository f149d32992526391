// The update thread against a real HTTP server on 127.0.0.1, with the window's side recorded:
// versions newer, equal and older, the questions and their answers, the download with its
// progress, a 404, a body longer than FILESIZE, a body stopped half way, FILE = "../../x",
// stop and destruction during a download, and a proxy with user and password.
#include "app/UpdateThread.h"
#include "app/UpdateVersionList.h"
#include "platform/qt/OpenUrl.h"
#include "tests/app/PackageTestSupport.h"
#include "tests/platform/HttpTestServer.h"
#include "tests/support/FileSizeLimit.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <sys/stat.h>
#include <optional>

namespace fs = std::filesystem;
using HttpTest::TRequest;
using HttpTest::TResponse;

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 60000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

std::string Installer(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 7 + 3);
    return s;
}

struct TMessage {
    QString Text;
    int Buttons;
    int Icon;
};

class UpdateThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDir_ = dir_.path() + "/";
        previousOpen_ = SetOpenUrlHandler([this](const QUrl& url) {
            opened_.push_back(url);
            return true;
        });
    }
    void TearDown() override { SetOpenUrlHandler(previousOpen_); }

    TResponse Serve(const TRequest& r)
    {
        TResponse a;
        if (r.Path == kVersionListPath) {
            a = listResponse_;
            a.Body = list_;
        } else if (r.Path == kDownloadPath) {
            a = installerResponse_;
        } else {
            a.Status = 404;
        }
        return a;
    }

    TUpdateOptions Options(const HttpTest::TServer& server, bool manual)
    {
        TUpdateOptions o;
        o.Manual = manual;
        o.AppDir = appDir_;
        o.Server = server.Url("/");
        o.Name = "Lexora XP&x=1";
        o.Company = "Tavor Soft";
        o.Version = "3.2/1";
        o.StallSeconds = 5;
        return o;
    }

    TUpdateWindow Window()
    {
        TUpdateWindow w;
        w.ShowMessage = [this](const QString& text, int buttons, int icon) {
            messages_.push_back({text, buttons, icon});
            if (buttons == 0)
                return 1;
            if (answers_.empty())
                return 7;
            const int a = answers_.front();
            answers_.pop_front();
            return a;
        };
        w.Text = [](const char* key) { return QString::fromLatin1(key); };
        w.ShowDownloadPanel = [this](bool visible) {
            panel_ = visible;
            panelShown_ = panelShown_ || visible;
        };
        w.ShowMaximum = [this](std::int32_t m) { maximum_ = m; };
        w.ShowPosition = [this](std::int32_t p) { positions_.push_back(p); };
        w.StoreUpdateTime = [this] { ++stored_; };
        w.Finished = [this] { finished_ = true; };
        return w;
    }

    // Runs a check to its end.
    void Run(const HttpTest::TServer& server, bool manual, std::uint16_t updStt = 0)
    {
        TUpdateOptions o = Options(server, manual);
        o.UpdStt = updStt;
        TUpdateThread thread(o, Window());
        ASSERT_TRUE(WaitFor([this] { return finished_; }));
    }

    std::string UpdatesFile(const std::string& name) const { return (appDir_ + "Updates/").toStdString() + name; }

    QTemporaryDir dir_;
    QString appDir_;
    TOpenUrlHandler previousOpen_;
    std::string list_;
    TResponse listResponse_;
    TResponse installerResponse_;
    std::vector<TMessage> messages_;
    std::deque<int> answers_;
    std::vector<QUrl> opened_;
    bool panel_ = false, panelShown_ = false, finished_ = false;
    int stored_ = 0;
    std::int32_t maximum_ = -1;
    std::vector<std::int32_t> positions_;
};

std::size_t DownloadRequests(const HttpTest::TServer& server)
{
    std::size_t n = 0;
    for (const TRequest& r : server.Requests())
        n += r.Path == kDownloadPath ? 1 : 0;
    return n;
}

}  // namespace

TEST(UpdateVersionList, ComparisonIsByTextAndValuesAreCleaned)
{
    EXPECT_TRUE(IsNewerVersion("4", "0"));
    EXPECT_TRUE(IsNewerVersion("3", "3"));
    EXPECT_FALSE(IsNewerVersion("3", "2"));
    EXPECT_FALSE(IsNewerVersion("3", "10"));
    EXPECT_FALSE(IsNewerVersion("10", "0"));
    EXPECT_FALSE(IsNewerVersion("2", "9"));
    EXPECT_EQ(VersionListValue("a=1\r\nvermaj=4\r\nVERMAJ=5\n", "VERMAJ"), "4");
    EXPECT_EQ(VersionListValue("FILE=a=b", "FILE"), "a=b");
    EXPECT_EQ(VersionListValue("FILES=x", "FILE"), "");
    EXPECT_EQ(InstallerFileName("../../x"), "x");
    EXPECT_EQ(InstallerFileName("C:\\setup\\lexora.exe"), "lexora.exe");
    EXPECT_EQ(InstallerFileName(".."), "");
    EXPECT_EQ(InstallerFileName("a/"), "");
    EXPECT_EQ(InstallerFileName("a\nb"), "");
    EXPECT_EQ(InstallerFileSize(" 1234 "), 1234);
    EXPECT_FALSE(InstallerFileSize("-5"));
    EXPECT_FALSE(InstallerFileSize("0"));
    EXPECT_FALSE(InstallerFileSize("12a"));
    EXPECT_FALSE(InstallerFileSize("99999999999"));
    EXPECT_EQ(DownloadUrl("http://h/", "A B", "C&D", "1=2", "x y"),
              "http://h/upd.php?name=A%20B&org=C%26D&ver=1%3D2&file=x%20y");
    setenv("LEXORA_UPDATE_URL", "http://127.0.0.1:1/", 1);
    EXPECT_EQ(UpdateServerAddress(), "http://127.0.0.1:1/");
    unsetenv("LEXORA_UPDATE_URL");
    EXPECT_FALSE(UpdateServerAddress().empty());
}

TEST_F(UpdateThread, NoNewerVersion)
{
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    for (const char* versions : {"VERMAJ=3\r\nVERMIN=2\r\n", "VERMAJ=3\r\nVERMIN=10\r\n", "VERMAJ=10\nVERMIN=0\n",
                                 "VERMAJ=3\r\nVERMIN=1\r\n"}) {
        list_ = std::string(versions) + "FILE=setup.bin\r\nFILESIZE=10\r\n";
        messages_.clear();
        stored_ = 0;
        finished_ = false;
        Run(server, true);
        ASSERT_EQ(messages_.size(), 1u) << versions;
        EXPECT_EQ(messages_[0].Text, "MsgNoUpdate");
        EXPECT_EQ(messages_[0].Icon, 1);
        EXPECT_GE(stored_, 1);
        // Automatic: nothing shown, the time stored all the same.
        messages_.clear();
        stored_ = 0;
        finished_ = false;
        Run(server, false);
        EXPECT_TRUE(messages_.empty());
        EXPECT_GE(stored_, 1);
    }
    EXPECT_EQ(DownloadRequests(server), 0u);
}

TEST_F(UpdateThread, NewerVersionDownloadsWithProgressAndOpensTheInstaller)
{
    const std::string body = Installer(300000);
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=300000\r\n";
    installerResponse_.Body = body;
    installerResponse_.ChunkSize = 30000;
    installerResponse_.ChunkDelayMs = 5;
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    answers_ = {6, 6};
    Run(server, true);

    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].Text, "MsgUpdateVer\nMsgUpdateQu");
    EXPECT_EQ(messages_[0].Buttons, 1);
    EXPECT_EQ(messages_[1].Text, "MsgStartUpdate");
    EXPECT_EQ(PackageTest::ReadFile(UpdatesFile("setup.bin")), body);
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin.part")));
    struct stat st {};
    ASSERT_EQ(::stat(UpdatesFile("setup.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0111, 0u);  // never made executable
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl::fromLocalFile(QString::fromStdString(UpdatesFile("setup.bin"))));
    EXPECT_GE(stored_, 2);  // the yes to start, and the start itself
    EXPECT_TRUE(panelShown_);
    EXPECT_FALSE(panel_);
    EXPECT_EQ(maximum_, 300000);
    ASSERT_GE(positions_.size(), 2u);
    EXPECT_EQ(positions_.back(), 0);  // reset at the end
    EXPECT_EQ(*std::max_element(positions_.begin(), positions_.end()), 300000);
    // The query values travel escaped.
    const auto requests = server.Requests();
    ASSERT_EQ(DownloadRequests(server), 1u);
    EXPECT_EQ(requests.back().Query, "name=Lexora%20XP%26x%3D1&org=Tavor%20Soft&ver=3.2%2F1&file=setup.bin");
}

TEST_F(UpdateThread, TheBarGetsItsMaximumBeforeAnyPosition)
{
    // The user-interface thread is busy while the first half of the body arrives; what it shows
    // afterwards must be measured against the download's length, never the bar's old maximum.
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=200000\r\n";
    installerResponse_.Body = Installer(200000);
    installerResponse_.ChunkSize = 10000;
    installerResponse_.ChunkDelayMs = 2;
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    for (const long long announced : {-2LL, -1LL}) {  // the body's length; none (FILESIZE serves)
        SCOPED_TRACE(announced);
        installerResponse_.ContentLength = announced;
        fs::remove(UpdatesFile("setup.bin"));
        std::vector<std::pair<char, std::int32_t>> shown;
        TUpdateWindow w = Window();
        w.ShowMaximum = [&](std::int32_t m) { shown.emplace_back('M', m); };
        w.ShowPosition = [&](std::int32_t p) { shown.emplace_back('P', p); };
        finished_ = panel_ = false;
        answers_ = {6, 7};
        TUpdateThread thread(Options(server, true), w);
        ASSERT_TRUE(WaitFor([this] { return panel_; }));
        const std::string part = UpdatesFile("setup.bin.part");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::error_code ec;
        while (fs::file_size(part, ec) < 100000 && !fs::exists(UpdatesFile("setup.bin"))
               && std::chrono::steady_clock::now() < deadline)
            QThread::msleep(2);  // no events served meanwhile
        ASSERT_TRUE(WaitFor([this] { return finished_; }, 60000));
        std::int32_t maximum = -1;
        for (const auto& [what, value] : shown) {
            if (what == 'M') {
                maximum = value;
            } else if (value > 0) {
                EXPECT_EQ(maximum, 200000) << "position " << value << " shown before the maximum";
            }
        }
        EXPECT_EQ(maximum, 200000);
    }
}

TEST_F(UpdateThread, AnswersDecideWhatHappens)
{
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=1000\r\n";
    installerResponse_.Body = Installer(1000);
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    // Declining the download stores the time and fetches nothing.
    answers_ = {7};
    Run(server, true);
    EXPECT_EQ(DownloadRequests(server), 0u);
    EXPECT_EQ(stored_, 1);
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin")));

    // Automatic with UpdStt 1: no question before the download; declining the start of a
    // fresh installer leaves the time as it was.
    messages_.clear();
    stored_ = 0;
    finished_ = false;
    answers_ = {7};
    Run(server, false, 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].Text, "MsgStartUpdate");
    EXPECT_EQ(stored_, 0);
    EXPECT_TRUE(opened_.empty());

    // The complete installer is there now: offered without a new download.
    messages_.clear();
    finished_ = false;
    answers_ = {7};
    Run(server, true);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].Text, "MsgStartUpdate");
    EXPECT_EQ(DownloadRequests(server), 1u);
    EXPECT_EQ(stored_, 1);
}

TEST_F(UpdateThread, FileNameIsReducedToAPlainName)
{
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=../../x\r\nFILESIZE=100\r\n";
    installerResponse_.Body = Installer(100);
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    answers_ = {6, 7};
    Run(server, true);
    EXPECT_EQ(PackageTest::ReadFile(UpdatesFile("x")), Installer(100));
    EXPECT_FALSE(fs::exists(dir_.path().toStdString() + "/x"));
    EXPECT_FALSE(fs::exists(fs::path(dir_.path().toStdString()).parent_path() / "x.part"));
    EXPECT_NE(server.Requests().back().Query.find("&file=x"), std::string::npos);
}

TEST_F(UpdateThread, FailuresStoreNothingAndLeaveNoFile)
{
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    // The version list is missing, or names no usable size.
    listResponse_.Status = 404;
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=100\r\n";
    Run(server, true);
    EXPECT_TRUE(messages_.empty());
    listResponse_.Status = 200;
    for (const char* list :
         {"VERMAJ=4\nVERMIN=0\nFILE=setup.bin\nFILESIZE=ten\n", "VERMAJ=4\nVERMIN=0\nFILESIZE=10\n"}) {
        list_ = list;
        finished_ = false;
        Run(server, true);
        EXPECT_TRUE(messages_.empty());
    }
    EXPECT_EQ(stored_, 0);

    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=1000\r\n";
    struct TCase {
        const char* Name;
        TResponse Answer;
        bool Reported;
    };
    TResponse missing;
    missing.Status = 404;
    TResponse longer;
    longer.Body = Installer(1500);
    TResponse longerUnannounced = longer;
    longerUnannounced.ContentLength = -1;
    TResponse half;
    half.Body = Installer(1000);
    half.StopAfter = 500;
    TResponse shorter;
    shorter.Body = Installer(900);
    for (const TCase& c : {TCase{"404", missing, true}, TCase{"longer", longer, true},
                           TCase{"longer, unannounced", longerUnannounced, true}, TCase{"half", half, false},
                           TCase{"shorter", shorter, false}}) {
        installerResponse_ = c.Answer;
        messages_.clear();
        finished_ = false;
        answers_ = {6, 6};
        Run(server, true);
        ASSERT_FALSE(messages_.empty()) << c.Name;
        EXPECT_EQ(messages_.size(), c.Reported ? 2u : 1u) << c.Name;
        if (c.Reported) {
            EXPECT_TRUE(messages_[1].Text.startsWith("MsgUpdateError")) << c.Name;
            EXPECT_EQ(messages_[1].Icon, 2);
        }
        EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin"))) << c.Name;
        EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin.part"))) << c.Name;
        EXPECT_EQ(stored_, 0) << c.Name;
        EXPECT_TRUE(opened_.empty());
    }
}

TEST_F(UpdateThread, PlantedLinksAreNeverFollowedNorOpened)
{
    const std::string body = Installer(2000);
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=2000\r\n";
    installerResponse_.Body = body;
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    const std::string outside = dir_.path().toStdString() + "/outside.txt";
    PackageTest::WriteFile(outside, "keep me");
    fs::create_directories(UpdatesFile(""));
    // A link at the temporary name: the download goes into a fresh file of its own.
    fs::create_symlink(outside, UpdatesFile("setup.bin.part"));
    answers_ = {6, 6};
    Run(server, true);
    EXPECT_EQ(PackageTest::ReadFile(outside), "keep me");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(UpdatesFile("setup.bin"))));
    EXPECT_EQ(PackageTest::ReadFile(UpdatesFile("setup.bin")), body);
    ASSERT_EQ(opened_.size(), 1u);

    // A link at the installer's name to a file of the announced size is not offered as the
    // installer: it is downloaded again and replaced by a plain file.
    fs::remove(UpdatesFile("setup.bin"));
    PackageTest::WriteFile(outside, std::string(2000, 'o'));
    fs::create_symlink(outside, UpdatesFile("setup.bin"));
    messages_.clear();
    opened_.clear();
    finished_ = false;
    answers_ = {6, 6};
    Run(server, true);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].Text, "MsgUpdateVer\nMsgUpdateQu");
    EXPECT_EQ(PackageTest::ReadFile(outside), std::string(2000, 'o'));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(UpdatesFile("setup.bin"))));
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].toLocalFile().toStdString(), UpdatesFile("setup.bin"));
}

TEST_F(UpdateThread, AFullDiskKeepsTheOldFileAndSaysSoOnce)
{
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=300000\r\n";
    installerResponse_.Body = Installer(300000);
    installerResponse_.ChunkSize = 30000;
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    fs::create_directories(UpdatesFile(""));
    PackageTest::WriteFile(UpdatesFile("setup.bin"), "an older installer");
    answers_ = {6, 6};
    {
        // Writes beyond 100 kB fail as on a full disk.
        std::optional<TestFiles::TFileSizeLimit> fullDisk(std::in_place, 100000);
        Run(server, true);
        fullDisk.reset();
    }
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_TRUE(messages_[1].Text.startsWith("MsgUpdateError")) << messages_[1].Text.toStdString();
    EXPECT_TRUE(messages_[1].Text.contains("File too large") || messages_[1].Text.contains("space"))
        << messages_[1].Text.toStdString();
    EXPECT_EQ(messages_[1].Icon, 2);
    EXPECT_EQ(PackageTest::ReadFile(UpdatesFile("setup.bin")), "an older installer");
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin.part")));
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(stored_, 0);
}

TEST_F(UpdateThread, StopAndDestructionDuringADownloadEndLongBeforeItWould)
{
    // The whole download would take 100 s; a stop is noticed at the next progress event, so
    // the thread ends far sooner (the generous limit only allows for a loaded machine).
    constexpr auto kStopWithin = std::chrono::seconds(30);
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=1000000\r\n";
    installerResponse_.Body = Installer(1000000);
    installerResponse_.ChunkSize = 10000;
    installerResponse_.ChunkDelayMs = 1000;
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    {
        answers_ = {6, 6};
        TUpdateThread thread(Options(server, true), Window());
        ASSERT_TRUE(WaitFor([this] { return !positions_.empty() && positions_.back() > 0; }));
        thread.Terminate();
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(WaitFor([this] { return finished_; }));
        EXPECT_LT(std::chrono::steady_clock::now() - start, kStopWithin);
        EXPECT_EQ(messages_.size(), 1u);  // only the download question
    }
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin")));
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin.part")));
    EXPECT_EQ(stored_, 0);

    // Destroyed while it runs (the window closing): it stops and is waited for.
    positions_.clear();
    answers_ = {6, 6};
    auto thread = std::make_unique<TUpdateThread>(Options(server, true), Window());
    ASSERT_TRUE(WaitFor([this] { return !positions_.empty() && positions_.back() > 0; }));
    const auto start = std::chrono::steady_clock::now();
    thread.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kStopWithin);
    EXPECT_FALSE(fs::exists(UpdatesFile("setup.bin")));
}

TEST_F(UpdateThread, DestroyedWhileAQuestionWaits)
{
    list_ = "VERMAJ=4\r\nVERMIN=0\r\nFILE=setup.bin\r\nFILESIZE=10\r\n";
    HttpTest::TServer server([this](const TRequest& r) { return Serve(r); });
    auto thread = std::make_unique<TUpdateThread>(Options(server, true), Window());
    // The question is posted but not yet answered: the event loop has not run it.
    ASSERT_TRUE(WaitFor([&] { return !server.Requests().empty(); }));
    QThread::msleep(100);
    thread.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages_.empty());
}

TEST_F(UpdateThread, ThroughAProxyWithUserAndPassword)
{
    list_ = "VERMAJ=3\r\nVERMIN=2\r\n";
    HttpTest::TServer origin([this](const TRequest& r) { return Serve(r); });
    HttpTest::TServer proxy(HttpTest::ProxyFor([this](const TRequest& r) { return Serve(r); }, "user", "secret"));
    TUpdateOptions o = Options(origin, true);
    o.UseProxy = true;
    o.ProxyServer = "127.0.0.1";
    o.ProxyPort = proxy.Port();
    o.ProxyUser = "user";
    o.ProxyPassword = "secret";
    {
        TUpdateThread thread(o, Window());
        ASSERT_TRUE(WaitFor([this] { return finished_; }));
    }
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].Text, "MsgNoUpdate");
    EXPECT_TRUE(origin.Requests().empty());
    // A wrong password: the list cannot be fetched; nothing is shown or stored.
    messages_.clear();
    stored_ = 0;
    finished_ = false;
    o.ProxyPassword = "wrong";
    {
        TUpdateThread thread(o, Window());
        ASSERT_TRUE(WaitFor([this] { return finished_; }));
    }
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(stored_, 0);
    // Not http or https: nothing at all.
    finished_ = false;
    o.UseProxy = false;
    o.Server = "file:///etc";
    {
        TUpdateThread thread(o, Window());
        ASSERT_TRUE(WaitFor([this] { return finished_; }));
    }
    EXPECT_TRUE(messages_.empty());
}
