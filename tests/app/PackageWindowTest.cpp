// Packages and window messages in the main window: an install by message, from the command
// line and from a real second start, the messages shown, a package waiting for an open modal
// window, and the reverse message.
#include "app/PackageQueue.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "platform/qt/SingleInstance.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/app/PackageTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/support/FileSizeLimit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QProcess>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using namespace MainWindowTest;

namespace {

class PackageWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        package_ = folder_.Path().toStdString() + "in/ENGFRE_T.pkg";
        PackageTest::WriteFile(package_,
                               PackageTest::PackageBytes(PackageTest::DictionaryBytes("ENGFRE_T"),
                                                         PackageTest::CabinetBytes({{"1.snd", "sound"}})));
    }

    std::unique_ptr<TfLexDictionary> Open(const QStringList& args = {})
    {
        auto w = std::make_unique<TfLexDictionary>(folder_.Path(), args);
        w->Settings.UpdEnbl = false;  // no update check in these tests
        // The messages of this concern, which the small test language file lacks.
        for (const char16_t* line : {u"MsgInstallComleate=The dictionary has been installed.",
                                     u"MsgDictExist=This dictionary is already installed.",
                                     u"MsgDictRedy=The file is not a dictionary or cannot be opened.",
                                     u"MsgPackageError=The dictionary package could not be installed."})
            w->LangStrings.Add(line);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    // Waits for the install to end with its message answered.
    static bool Installed(TfLexDictionary& w, int count)
    {
        return QTest::qWaitFor(
            [&] {
                return w.DictManager->Count() == count && QApplication::activeModalWidget() == nullptr
                    && (w.PackageQueue == nullptr || !w.PackageQueue->Busy());
            },
            60000);
    }

    // Chooses the new dictionary by keyboard and checks what it shows.
    static void ExpectFrenchReadable(TfLexDictionary& w)
    {
        const int at = w.cbTo->findText("FRE", Qt::MatchStartsWith);
        QStringList items;
        for (int i = 0; i < w.cbTo->count(); ++i)
            items << w.cbTo->itemText(i);
        ASSERT_GE(at, 0) << items.join(",").toStdString() << " from " << w.cbFrom->currentText().toStdString();
        w.cbTo->setFocus();
        while (w.cbTo->currentIndex() != at)
            QTest::keyClick(w.cbTo, w.cbTo->currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(w.CurrentDictionaryFile, "ENGFRE_T");
        EXPECT_EQ(w.WordsModel->Word(0), "apple");
        EXPECT_TRUE(w.reDescription->toPlainText().contains("pomme"));
    }

    TProgramFolder folder_{{EnglishGerman(), GermanEnglish()}};
    std::string package_;
};

}  // namespace

TEST_F(PackageWindow, InstallMessageInstallsAndTheDictionaryCanBeChosen)
{
    auto w = Open();
    TestSupport::ClickInNextModal("bOk");
    QCoreApplication::postEvent(w.get(), new LexEvents::TInstallEvent(QString::fromStdString(package_)));
    ASSERT_TRUE(Installed(*w, 3));
    EXPECT_EQ(TestSupport::LastModalText(), "The dictionary has been installed.");
    EXPECT_EQ(w->CurrentDictionaryFile, "ENGGER_T");  // what was chosen stays chosen
    EXPECT_TRUE(fs::exists(folder_.DataFile("ENGFRE_T/1.snd")));
    ExpectFrenchReadable(*w);

    // Again: already there.
    TestSupport::ClickInNextModal("bOk");
    QCoreApplication::postEvent(w.get(), new LexEvents::TInstallEvent(QString::fromStdString(package_)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return TestSupport::LastModalText() == "This dictionary is already installed."; },
                                60000));
    EXPECT_EQ(w->DictManager->Count(), 3);
}

TEST_F(PackageWindow, CommandLinePackageIsInstalledByANewWindow)
{
    TestSupport::ClickInNextModal("bOk");
    auto w = Open({QString::fromStdString(package_)});
    ASSERT_TRUE(Installed(*w, 3));
    ExpectFrenchReadable(*w);
}

TEST_F(PackageWindow, DamagedPackageShowsAnErrorAndChangesNothing)
{
    auto w = Open();
    const auto before = PackageTest::Snapshot(folder_.DataFile(""));
    PackageTest::WriteFile(package_, PackageTest::PackageBytes(PackageTest::DictionaryBytes(), "x", 1 << 30));
    TestSupport::ClickInNextModal("bOk");
    w->InstallDictionaryPackage(QString::fromStdString(package_));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return TestSupport::LastModalText().startsWith("The dictionary package could not"); }, 60000));
    EXPECT_EQ(PackageTest::Snapshot(folder_.DataFile("")), before);
    EXPECT_EQ(w->cbTo->count(), 1);
}

TEST_F(PackageWindow, PackageWaitsWhileAModalWindowIsOpen)
{
    auto w = Open();
    QDialog settings(w.get());
    settings.setWindowModality(Qt::ApplicationModal);
    settings.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &settings);
    QCoreApplication::postEvent(w.get(), new LexEvents::TInstallEvent(QString::fromStdString(package_)));
    QTest::qWait(600);
    EXPECT_EQ(w->DictManager->Count(), 2);
    EXPECT_FALSE(fs::exists(folder_.DataFile("ENGFRE_T.TDD")));
    TestSupport::ClickInNextModal("bOk");
    settings.close();
    ASSERT_TRUE(Installed(*w, 3));
    EXPECT_TRUE(fs::exists(folder_.DataFile("ENGFRE_T.TDD")));
}

TEST_F(PackageWindow, SecondStartHandsThePackageToTheRunningWindow)
{
    auto w = Open();
    TSingleInstance first("LexoraTest", folder_.Path() + "run");
    ASSERT_TRUE(first.IsFirst());
    TfLexDictionary* window = w.get();
    QObject::connect(&first, &TSingleInstance::InstallRequested, window, [window](const QString& path) {
        QCoreApplication::postEvent(window, new LexEvents::TInstallEvent(path));
    });
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LEXORA_SI_CHILD", "forward");
    env.insert("LEXORA_SI_FOLDER", folder_.Path() + "run");
    env.insert("LEXORA_SI_ARG", QString::fromStdString(package_));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SingleInstanceChild.Run"});
    TestSupport::ClickInNextModal("bOk");
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 60000));
    EXPECT_TRUE(second.readAllStandardOutput().contains("RESULT:sent"));
    ASSERT_TRUE(Installed(*w, 3));
    ExpectFrenchReadable(*w);
}

TEST_F(PackageWindow, ReverseMessageSwapsTheDirection)
{
    auto w = Open();
    QCoreApplication::postEvent(w.get(), new QEvent(LexEvents::ReverseDirection));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->CurrentDictionaryFile == "GERENG_T"; }, 60000));
    EXPECT_EQ(w->WordsModel->Word(0), "Apfel");
    // Speaking with no sounds does what the speak button does: nothing breaks.
    QCoreApplication::postEvent(w.get(), new QEvent(LexEvents::SpeakWord));
    QTest::qWait(50);
    EXPECT_EQ(w->CurrentDictionaryFile, "GERENG_T");
}

TEST_F(PackageWindow, ClosingTheWindowDuringAnInstallPutsDataBack)
{
    const auto before = PackageTest::Snapshot(folder_.DataFile(""));
    {
        QDialog modal;
        auto w = Open();
        w->InstallDictionaryPackage(QString::fromStdString(package_));
        modal.setWindowModality(Qt::ApplicationModal);
        modal.show();  // holds the install after its files are placed, before its record
        ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(folder_.DataFile("ENGFRE_T/1.snd")); }, 60000));
        QTest::qWait(100);
        EXPECT_EQ(w->DictManager->Count(), 2);
        w.reset();
    }
    auto after = PackageTest::Snapshot(folder_.DataFile(""));
    EXPECT_EQ(after, before);
}

TEST_F(PackageWindow, AFullDiskDuringExtractionShowsOneSystemErrorAndChangesNothing)
{
    // An old sound folder of the same name, to be kept.
    PackageTest::WriteFile(folder_.DataFile("ENGFRE_T/1.snd"), "old sound");
    PackageTest::WriteFile(package_,
                           PackageTest::PackageBytes(
                               PackageTest::DictionaryBytes("ENGFRE_T"),
                               PackageTest::CabinetBytes({{"1.snd", "sound"}, {"2.snd", std::string(400000, 'a')}})));
    auto w = Open();
    const auto before = PackageTest::Snapshot(folder_.DataFile(""));
    ASSERT_LT(fs::file_size(package_), 100000u);  // the copies fit; the extraction does not
    std::optional<TestFiles::TFileSizeLimit> fullDisk(std::in_place, 100000);
    TestSupport::ClickInNextModal("bOk");
    w->InstallDictionaryPackage(QString::fromStdString(package_));
    const bool shown = QTest::qWaitFor([&] { return !TestSupport::LastModalText().isEmpty(); }, 60000);
    // A second message would be answered and counted here (the watch ends within this test).
    auto more = std::make_shared<int>(0);
    TestSupport::AnswerNextModal(
        [more](QWidget* modal) {
            ++*more;
            modal->close();
        },
        1000);
    const bool done = QTest::qWaitFor([&] { return !w->PackageQueue->Busy(); }, 60000);
    fullDisk.reset();
    ASSERT_TRUE(shown);
    ASSERT_TRUE(done);
    QTest::qWait(1100);
    EXPECT_EQ(*more, 0);
    EXPECT_EQ(TestSupport::LastModalText(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    ASSERT_NE(w->CABFile1, nullptr);  // the window's cabinet component did the work
    EXPECT_EQ(w->DictManager->Count(), 2);
    EXPECT_EQ(w->cbTo->count(), 1);
    EXPECT_EQ(PackageTest::Snapshot(folder_.DataFile("")), before);
}
