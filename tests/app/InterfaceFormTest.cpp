// The settings window's general, translation and update pages: what it shows from the
// settings, what Apply stores, the number boxes' key checks, the interface language and
// start at login.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "platform/qt/Autostart.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

struct TSettingsWindow {
    TProgramFolder Folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> Main;
    std::unique_ptr<TfInterface> Form;

    explicit TSettingsWindow(const std::function<void(TSettings&)>& stored = {})
    {
        WriteRealLanguageFile(Folder.Path());
        if (stored)
            StoreSettings(stored);
        Main = std::make_unique<TfLexDictionary>(Folder.Path());
        Open();
    }
    void Open()
    {
        Form = std::make_unique<TfInterface>(Main.get());
        Form->show();
    }
    TSettings Stored() const
    {
        TSettings s;
        LoadSettings(s);
        return s;
    }
};

// Clicks a check box or radio button on its box, where a user clicks.
void Click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

void Type(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(w, c.toLatin1());
}

}  // namespace

TEST(InterfaceForm, ShowsTheSettingsAndApplyStoresWhatWasClicked)
{
    TSettingsWindow t([](TSettings& s) {
        s.EveryKey = true;
        s.Delicate = true;
        s.DelicateTime = 42;
        s.UpdCnt = 12;
        s.UpdStt = 0;
        s.UpdPrx = true;
        s.UpdPrxSrv = u"proxy.example";
        s.UpdPrxPrt = 0;
        s.HotKey = 0x4052;  // Ctrl+R
    });
    TfInterface& f = *t.Form;
    EXPECT_TRUE(f.cbEveryKey->isChecked());
    EXPECT_TRUE(f.cbDelicate->isChecked());
    EXPECT_EQ(f.UpDown1->value(), 42);
    EXPECT_EQ(f.UpDownDays->value(), 12);
    EXPECT_TRUE(f.rbOne->isChecked());
    EXPECT_EQ(f.eProxyServer->text(), "proxy.example");
    EXPECT_EQ(f.ePort->text(), "");  // port 0 shows empty
    EXPECT_TRUE(f.eProxyServer->isEnabled());
    EXPECT_EQ(f.HotKey->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(f.pcSettings->currentIndex(), 0);

    Click(f.cbEveryKey);
    Click(f.cbStayOnTop);
    f.pcSettings->setCurrentWidget(f.tsUpdates);
    Click(f.rbTwo);
    f.ePort->setFocus();
    Type(f.ePort, "8080");
    QTest::mouseClick(f.bOk, Qt::LeftButton);

    EXPECT_FALSE(f.isVisible());
    const TSettings& s = t.Main->Settings;
    EXPECT_FALSE(s.EveryKey);
    EXPECT_TRUE(s.StayOnTop);
    EXPECT_EQ(s.UpdStt, 1);
    EXPECT_EQ(s.UpdPrxPrt, 8080);
    EXPECT_EQ(s.HotKey, 0x4052);
    EXPECT_TRUE(t.Main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const TSettings stored = t.Stored();
    EXPECT_FALSE(stored.EveryKey);
    EXPECT_EQ(stored.UpdPrxPrt, 8080);
    EXPECT_EQ(stored.DelicateTime, 42);
    EXPECT_EQ(stored.HotKey, 0x4052);
}

TEST(InterfaceForm, CancelAndAnEmptyPortKeepOrClearAsTheyShould)
{
    TSettingsWindow t([](TSettings& s) { s.UpdPrxPrt = 3128; });
    EXPECT_EQ(t.Form->ePort->text(), "3128");
    Click(t.Form->cbEveryKey);
    QTest::mouseClick(t.Form->bCance, Qt::LeftButton);
    EXPECT_FALSE(t.Form->isVisible());
    EXPECT_FALSE(t.Main->Settings.EveryKey);

    t.Open();
    t.Form->ePort->clear();
    QTest::mouseClick(t.Form->bOk, Qt::LeftButton);
    EXPECT_EQ(t.Main->Settings.UpdPrxPrt, 0);
    EXPECT_EQ(t.Stored().UpdPrxPrt, 0);
}

TEST(InterfaceForm, APastedPortThatIsNoNumberChangesNothingAndSaysSo)
{
    TSettingsWindow t([](TSettings& s) { s.UpdPrxPrt = 3128; });
    TfInterface& f = *t.Form;
    Click(f.cbEveryKey);
    f.ePort->selectAll();
    f.ePort->insert("80x1");  // as a paste would
    TestSupport::ClickInNextModal("bOk");
    QTest::mouseClick(f.bOk, Qt::LeftButton);
    EXPECT_TRUE(TestSupport::LastModalText().contains("65535"));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.pcSettings->currentWidget(), f.tsUpdates);
    EXPECT_FALSE(t.Main->Settings.EveryKey);
    EXPECT_EQ(t.Main->Settings.UpdPrxPrt, 3128);
    EXPECT_EQ(t.Stored().UpdPrxPrt, 3128);
}

TEST(InterfaceForm, TheNumberBoxesTakeOnlyDigitsWithinTheirLimits)
{
    TSettingsWindow t([](TSettings& s) { s.UpdEnbl = true; });  // the update boxes enabled
    TfInterface& f = *t.Form;
    f.pcSettings->setCurrentWidget(f.tsTranslation);
    f.eDelicateTime->setFocus();
    f.eDelicateTime->selectAll();
    Type(f.eDelicateTime, "18");
    EXPECT_EQ(f.eDelicateTime->text(), "18");
    TestSupport::ClickInNextModal("bOk");
    Type(f.eDelicateTime, "1");  // 181
    EXPECT_TRUE(TestSupport::LastModalText().contains("180"));
    EXPECT_EQ(f.eDelicateTime->text(), "180");
    EXPECT_EQ(f.UpDown1->value(), 180);
    f.eDelicateTime->setText("18");
    f.eDelicateTime->end(false);
    Type(f.eDelicateTime, "0x");  // 180 passes, a letter does not
    EXPECT_EQ(f.eDelicateTime->text(), "180");

    f.pcSettings->setCurrentWidget(f.tsUpdates);
    f.UpDownDays->setValue(7);
    f.eDays->setFocus();
    f.eDays->home(false);
    Type(f.eDays, "4");  // 47
    EXPECT_EQ(f.eDays->text(), "30");
    EXPECT_EQ(f.UpDownDays->value(), 30);

    Click(f.ckbUseProxy);
    f.ePort->setFocus();
    Type(f.ePort, "12a34567");
    EXPECT_EQ(f.ePort->text(), "12345");
}

TEST(InterfaceForm, BoxesEnableWhatDependsOnThem)
{
    TSettingsWindow t([](TSettings& s) {
        s.ClipTranslate = true;
        s.UpdEnbl = true;
        s.UpdPrx = false;
    });
    TfInterface& f = *t.Form;
    f.pcSettings->setCurrentWidget(f.tsTranslation);
    EXPECT_TRUE(f.cbDelicate->isEnabled());
    Click(f.cbClipTranslate);
    EXPECT_FALSE(f.cbDelicate->isEnabled());
    EXPECT_FALSE(f.UpDown1->isEnabled());
    Click(f.cbInTranslate);
    EXPECT_EQ(f.cbAddToHistory->isEnabled(), f.cbInTranslate->isChecked());

    f.pcSettings->setCurrentWidget(f.tsUpdates);
    EXPECT_FALSE(f.eProxyServer->isEnabled());
    Click(f.ckbUseProxy);
    EXPECT_TRUE(f.eProxyServer->isEnabled());
    EXPECT_TRUE(f.Label3->isEnabled());
    Click(f.ckbEnableUpd);
    EXPECT_FALSE(f.rbOne->isEnabled());
    EXPECT_FALSE(f.eProxyServer->isEnabled());
    Click(f.ckbEnableUpd);
    EXPECT_TRUE(f.eProxyServer->isEnabled());
    Click(f.rbOne);
    EXPECT_FALSE(f.eDays->isEnabled());
    EXPECT_TRUE(f.UpDownDays->isEnabled());
}

TEST(InterfaceForm, GermanChosenAndAppliedShowsGermanTextsAtOnce)
{
    TSettingsWindow t;
    TfInterface& f = *t.Form;
    EXPECT_EQ(f.windowTitle(), "Settings");
    ASSERT_EQ(f.cbLangs->count(), 3);
    EXPECT_EQ(f.cbLangs->currentText(), "English");
    f.cbLangs->setFocus();
    QTest::keyClick(f.cbLangs, Qt::Key_Down);
    EXPECT_EQ(f.cbLangs->currentText(), "Deutsch");
    QTest::mouseClick(f.bOk, Qt::LeftButton);

    EXPECT_EQ(t.Main->InterfaceLanguage, 101);
    EXPECT_EQ(t.Main->miFile->title(), "Datei");
    EXPECT_EQ(t.Main->cbFrom->itemText(0), "Englisch");
    EXPECT_EQ(t.Stored().Language, 101);

    t.Open();
    EXPECT_EQ(t.Form->windowTitle(), "Einstellungen");
    EXPECT_EQ(t.Form->bCance->text(), "Abbrechen");
    EXPECT_EQ(t.Form->Label1->text(), "Proxy Server:");  // the same in every language
    EXPECT_EQ(t.Form->cbLangs->currentText(), "Deutsch");
}

TEST(InterfaceForm, TheSettingsCommandOpensTheWindowForOneUseAndFlagsItWhileOpen)
{
    TProgramFolder folder({EnglishGerman()});
    WriteRealLanguageFile(folder.Path());
    TfLexDictionary w(folder.Path());
    int closed = 0;
    QObject::connect(&w, &TfLexDictionary::SettingsClosed, [&] { ++closed; });
    bool openWhileShown = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        auto* form = qobject_cast<TfInterface*>(modal);
        ASSERT_NE(form, nullptr);
        openWhileShown = w.SettingsOpen;
        QTest::mouseClick(form->bCance, Qt::LeftButton);
    });
    w.aInterfaceForm->trigger();
    EXPECT_TRUE(openWhileShown);
    EXPECT_FALSE(w.SettingsOpen);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(w.findChildren<TfInterface*>().size(), 0);
}

TEST(InterfaceForm, StartAtLoginWritesAQuotedDesktopEntryAndRemovesIt)
{
    TSettingsWindow t;
    const QString entry = Autostart::EntryFile();
    EXPECT_TRUE(entry.startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/"));
    Click(t.Form->cbWinStart);
    QTest::mouseClick(t.Form->bOk, Qt::LeftButton);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/")) << text.toStdString();
    file.close();

    t.Open();
    Click(t.Form->cbWinStart);
    QTest::mouseClick(t.Form->bOk, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(entry));
}

TEST(InterfaceForm, ExecQuotingEscapesWhatTheEntryFormatReserves)
{
    EXPECT_EQ(Autostart::QuoteExec("/opt/Lexora XP/LexoraApp"), "\"/opt/Lexora XP/LexoraApp\"");
    // \ -> \\ by the quoting rule, then each \ doubled by the string rule; $ ` " escaped; % doubled.
    EXPECT_EQ(Autostart::QuoteExec("/a\\b$c`d\"e%f"), "\"/a\\\\\\\\b\\\\$c\\\\`d\\\\\"e%%f\"");
    EXPECT_EQ(Autostart::QuoteExec("/a\nb"), "");
    EXPECT_FALSE(Autostart::SetAutostart(true, "/a\nb"));
}
