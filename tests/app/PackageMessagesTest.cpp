// The messages of a refused package in the interface language: what cannot be opened or is no
// dictionary gets the information message, every other failure its own line saying what failed.
#include "app/PackageQueue.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/MessageForm.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/app/PackageTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace MainWindowTest;

namespace {

struct TShownMessage {
    bool Shown = false;
    std::string Text;  // UTF-8
    bool Info = false;
    bool Error = false;
};

// Reads the next message window as the user sees it and presses its OK button.
std::shared_ptr<TShownMessage> ReadNextMessage()
{
    auto shown = std::make_shared<TShownMessage>();
    TestSupport::AnswerNextModal([shown](QWidget* modal) {
        auto* form = qobject_cast<TfMessage*>(modal);
        if (form == nullptr) {
            modal->close();
            return;
        }
        shown->Text = form->lMessage->text().toStdString();
        shown->Info = form->ImageInfo->isVisible();
        shown->Error = form->ImageError->isVisible();
        shown->Shown = true;
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    });
    return shown;
}

class PackageMessages : public ::testing::Test {
protected:
    void SetUp() override { SettingsTest::WriteRealLanguageFile(folder_.Path()); }

    // A main window in the interface language Id, started with Args.
    std::unique_ptr<TfLexDictionary> Open(int id, const QStringList& args = {})
    {
        SettingsTest::StoreSettings([id](TSettings& s) {
            s.Language = id;
            s.UpdEnbl = false;
        });
        auto w = std::make_unique<TfLexDictionary>(folder_.Path(), args);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    static bool Answered(TfLexDictionary& w, const TShownMessage& m)
    {
        return QTest::qWaitFor(
            [&] {
                return m.Shown && QApplication::activeModalWidget() == nullptr
                    && (w.PackageQueue == nullptr || !w.PackageQueue->Busy());
            },
            60000);
    }

    // Installs Path in W and returns the message it showed.
    static TShownMessage Install(TfLexDictionary& w, const std::string& path)
    {
        const auto shown = ReadNextMessage();
        w.InstallDictionaryPackage(QString::fromStdString(path));
        EXPECT_TRUE(Answered(w, *shown)) << path;
        return *shown;
    }

    std::string Package(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder_.Path().toStdString() + "in/" + name;
        PackageTest::WriteFile(path, bytes);
        return path;
    }

    TProgramFolder folder_{{EnglishGerman(), GermanEnglish()}};
};

}  // namespace

TEST_F(PackageMessages, WhatIsNoDictionaryIsReportedAsSuchAndOtherFailuresSayWhyInTheInterfaceLanguage)
{
    const std::string missing = folder_.Path().toStdString() + "in/missing.pkg";
    const std::string text = Package("notes.pkg", "These are notes, not a dictionary package.\n");
    const std::string notDictionary = Package(
        "ENGFRE_T.pkg",
        PackageTest::PackageBytes("This is not a dictionary at all.", PackageTest::CabinetBytes({{"1.snd", "sound"}})));
    const std::string damaged =
        Package("ENGITA_T.pkg", PackageTest::PackageBytes(PackageTest::DictionaryBytes("ENGITA_T"), "x", 1 << 30));
    const auto before = PackageTest::Snapshot(folder_.DataFile(""));

    const std::pair<int, std::string> languages[] = {
        {100, "The file is not a dictionary or cannot be opened."},
        {101, "Die Datei ist kein Wörterbuch oder kann nicht geöffnet werden."},
    };
    for (const auto& [id, notADictionary] : languages) {
        SCOPED_TRACE(id);
        // From the command line, as a second start hands it over, and from the message.
        const auto first = ReadNextMessage();
        auto w = Open(id, {QString::fromStdString(missing)});
        ASSERT_TRUE(Answered(*w, *first));
        EXPECT_EQ(first->Text, notADictionary);
        EXPECT_TRUE(first->Info);
        EXPECT_FALSE(first->Error);
        for (const std::string& path : {text, notDictionary}) {
            const TShownMessage m = Install(*w, path);
            EXPECT_EQ(m.Text, notADictionary) << path;
            EXPECT_TRUE(m.Info) << path;
            EXPECT_FALSE(m.Error) << path;
        }
        EXPECT_EQ(w->DictManager->Count(), 2);
    }

    // Another failure keeps its message, and says what failed in German too.
    auto w = Open(101);
    const TShownMessage m = Install(*w, damaged);
    EXPECT_EQ(m.Text,
              "Das Wörterbuchpaket konnte nicht installiert werden.\n"
              "Das Paket ist beschädigt (seine Länge passt nicht zu seiner Größe): \"ENGITA_T.pkg\"");
    EXPECT_TRUE(m.Error);
    EXPECT_FALSE(m.Info);
    EXPECT_EQ(PackageTest::Snapshot(folder_.DataFile("")), before);
}
