// Qt's own dialogs speak the interface language: from the start, and after every change of it
// in the settings window, the language before leaving no trace.
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
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

// Title, "look in" label and Cancel button of the next file dialog, which is cancelled. Only
// Qt's own dialog is a widget that can be read: a desktop dialog leaves the texts empty.
std::shared_ptr<QStringList> ReadNextFileDialog()
{
    auto texts = std::make_shared<QStringList>();
    TestSupport::AnswerNextModal([texts](QWidget* modal) {
        auto* buttons = modal->findChild<QDialogButtonBox*>("buttonBox");
        auto* lookIn = modal->findChild<QLabel*>("lookInLabel");
        if (qobject_cast<QFileDialog*>(modal) && buttons && lookIn)
            *texts << modal->windowTitle() << lookIn->text() << buttons->button(QDialogButtonBox::Cancel)->text();
        modal->close();
    });
    return texts;
}

// Chooses the language in the settings window with the keyboard and applies it; then the
// texts of the settings window's install dialog.
QStringList ChooseLanguageAndInstall(TfLexDictionary& main, int downs)
{
    {
        TfInterface form(&main);
        form.show();
        form.cbLangs->setFocus();
        QTest::keyClick(form.cbLangs, Qt::Key_Home);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(form.cbLangs, Qt::Key_Down);
        QTest::mouseClick(form.bOk, Qt::LeftButton);
    }
    TfInterface form(&main);
    form.show();
    const auto texts = ReadNextFileDialog();
    QTest::mouseClick(form.bInstall, Qt::LeftButton);
    return texts->mid(1);
}

}  // namespace

TEST(QtTranslation, FileDialogsSpeakTheInterfaceLanguageWheneverItChanges)
{
    qputenv("LEXORA_ADMIN", "1");
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    SettingsTest::WriteRealLanguageFile(folder.Path());
    SettingsTest::StoreSettings([](TSettings& s) { s.Language = 102; });
    TfLexDictionary main(folder.Path());
    ASSERT_EQ(main.Dictionary->AddWord(u"hippo", "{\\rtf1 Flusspferd}"), 0);  // a user-word file to export

    const auto exported = ReadNextFileDialog();
    main.aExport->trigger();
    EXPECT_EQ(*exported, QStringList({"Экспорт пользовательского словаря", "Перейти к:", "Отмена"}));

    EXPECT_EQ(ChooseLanguageAndInstall(main, 1), QStringList({"Suchen in:", "Abbrechen"}));
    EXPECT_EQ(ChooseLanguageAndInstall(main, 0), QStringList({"Look in:", "Cancel"}));
}
