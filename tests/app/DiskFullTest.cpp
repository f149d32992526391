// Writers on a full disk: the settings store, the autostart entry and the word lists behind
// the search history fail, keep the file they had, and leave nothing half-written beside it.
#include "app/Settings.h"
#include "engine/WideStringList.h"
#include "platform/qt/Autostart.h"
#include "platform/qt/Registry.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace TestFiles;

TEST(DiskFull, TheSettingsFileStaysAsItWas)
{
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    const QString folder = home.path() + "/Lexora";
    const std::string file = TRegistry::StoreFile(TRootKey::CurrentUser);

    // The first start on a full disk leaves no empty settings file behind.
    const int first = RunUnderFileSizeLimit(0, [] {
        try {
            WriteDefaultSettings();
            return 0;
        } catch (const ERegistryError&) {
            return 1;
        }
    });
    EXPECT_EQ(first, 1);
    EXPECT_TRUE(SettingsTest::Entries(folder).empty());

    WriteDefaultSettings();
    const std::string before = ReadFile(file);
    ASSERT_FALSE(before.empty());
    TSettings s;
    LoadSettings(s);
    s.UpdPrxSrv = std::u16string(4000, u'p');  // the new file outgrows the old one
    const int result = RunUnderFileSizeLimit(before.size() + 100, [&] {
        try {
            SaveSettings(s, 0);
            return 0;
        } catch (const ERegistryError&) {
            return 1;
        }
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(SettingsTest::Entries(folder), (std::vector<std::string>{"LexoraXP.conf"}));
}

TEST(DiskFull, AWordListFileStaysAsItWas)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/ENGGER_T.txt";
    TWideStringList old;
    old.SetUnicodeOnSave(true);
    old.Add(u"house");
    old.SaveToFile(file);
    const std::string before = ReadFile(file);

    const int result = RunUnderFileSizeLimit(before.size() + 10, [&] {
        TWideStringList lines;
        lines.SetUnicodeOnSave(true);
        for (int i = 0; i < 50; ++i)
            lines.Add(u"household");
        try {
            lines.SaveToFile(file);
            return 0;
        } catch (const EWriteError&) {
            return 1;
        } catch (...) {
            return 2;
        }
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(SettingsTest::Entries(dir.path()), (std::vector<std::string>{"ENGGER_T.txt"}));
}

TEST(DiskFull, TheAutostartEntryIsWrittenWholeOrNotAtAll)
{
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    const QString program = "/opt/" + QString(300, 'p') + "/LexoraApp";
    EXPECT_EQ(RunUnderFileSizeLimit(100, [&] { return Autostart::SetAutostart(true, program) ? 0 : 1; }), 1);
    EXPECT_TRUE(SettingsTest::Entries(home.path() + "/autostart").empty());
    ASSERT_TRUE(Autostart::SetAutostart(true, program));
    EXPECT_TRUE(QString::fromStdString(ReadFile(Autostart::EntryFile().toStdString())).contains("LexoraApp\""));
}
