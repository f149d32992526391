// Qt's own dialogs speak the interface language: the program's file dialogs in German and in
// Russian once the user chose the language, in English again after English was chosen.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

struct TDialogTexts {
    QString Title, LookIn, FileName, Accept, Cancel;
};

// Answers the next file dialog with Cancel, noting its texts. Only Qt's own dialog is a widget
// that can be answered: a desktop dialog would leave the texts empty.
void ReadAndCancelNextFileDialog(TDialogTexts& texts)
{
    TestSupport::AnswerNextModal([&texts](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* buttons = modal->findChild<QDialogButtonBox*>("buttonBox");
        if (dialog == nullptr || buttons == nullptr) {
            modal->close();
            return;
        }
        texts.Title = dialog->windowTitle();
        texts.LookIn = modal->findChild<QLabel*>("lookInLabel")->text();
        texts.FileName = modal->findChild<QLabel*>("fileNameLabel")->text();
        QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                                              : QDialogButtonBox::Save);
        texts.Accept = accept ? accept->text() : QString();
        texts.Cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
}

// Chooses the interface language by its name in the settings window, with the keyboard, and
// applies it.
void ChooseLanguage(TfLexDictionary& main, const QString& name)
{
    TfInterface form(&main);
    form.show();
    const int index = form.cbLangs->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    form.cbLangs->setFocus();
    QTest::keyClick(form.cbLangs, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(form.cbLangs, Qt::Key_Down);
    QTest::mouseClick(form.bOk, Qt::LeftButton);
}

// The file dialog of the settings window's Install button, cancelled.
TDialogTexts InstallDialogTexts(TfLexDictionary& main)
{
    TDialogTexts texts;
    TfInterface form(&main);
    form.show();
    form.pcSettings->setCurrentWidget(form.tsDictionarys);
    ReadAndCancelNextFileDialog(texts);
    QTest::mouseClick(form.bInstall, Qt::LeftButton);
    return texts;
}

}  // namespace

TEST(QtTranslation, FileDialogsFollowTheInterfaceLanguageWheneverItChanges)
{
    TAdministrator admin;
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    WriteRealLanguageFile(folder.Path());
    TfLexDictionary main(folder.Path());

    TDialogTexts english = InstallDialogTexts(main);
    EXPECT_EQ(english.LookIn, "Look in:");
    EXPECT_EQ(english.Cancel, "Cancel");

    ChooseLanguage(main, "Deutsch");
    const TDialogTexts german = InstallDialogTexts(main);
    EXPECT_EQ(german.LookIn, "Suchen in:");
    EXPECT_EQ(german.FileName, "Datei&name:");
    EXPECT_EQ(german.Accept, "Öffnen");
    EXPECT_EQ(german.Cancel, "Abbrechen");

    ChooseLanguage(main, "Русский");
    const TDialogTexts russian = InstallDialogTexts(main);
    EXPECT_EQ(russian.Cancel, "Отмена");
    EXPECT_NE(russian.LookIn, english.LookIn);
    EXPECT_NE(russian.LookIn, german.LookIn);

    // The catalogue of the language before is gone, not merely covered by the next one.
    ChooseLanguage(main, "English");
    english = InstallDialogTexts(main);
    EXPECT_EQ(english.LookIn, "Look in:");
    EXPECT_EQ(english.Cancel, "Cancel");
}

TEST(QtTranslation, TheExportDialogIsTitledAndLabelledInTheLanguageTheProgramStartsIn)
{
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    WriteRealLanguageFile(folder.Path());
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    s.Language = 102;
    SaveSettings(s, 0);
    TfLexDictionary main(folder.Path());
    ASSERT_EQ(main.InterfaceLanguage, 102);
    ASSERT_EQ(main.Dictionary->AddWord(u"hippo", "{\\rtf1 Flusspferd}"), 0);  // the user-word file to export

    TDialogTexts texts;
    ReadAndCancelNextFileDialog(texts);
    main.aExport->trigger();
    EXPECT_EQ(texts.Title, "Экспорт пользовательского словаря");
    EXPECT_EQ(texts.Accept, "Сохранить");
    EXPECT_EQ(texts.Cancel, "Отмена");
}
