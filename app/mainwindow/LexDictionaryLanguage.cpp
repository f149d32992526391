// The main window's captions and hints in the chosen interface language.
#include "app/BuiltInEnglish.h"
#include "app/InterfaceLanguage.h"
#include "app/InterfaceLanguageQt.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

void TfLexDictionary::LoadStartLanguage()
{
    const std::string file = QFile::encodeName(LangFile).toStdString();
    bool damaged = false;
    try {
        if (LoadInterfaceLanguage(file, InterfaceLanguage, LangStrings) && LangStrings.Count() > 0)
            return;
        // An id that no record holds (a stale or edited setting): the first language that loads.
        for (const TInterfaceLanguage& language : ListInterfaceLanguages(file))
            if (LoadInterfaceLanguage(file, language.Id, LangStrings) && LangStrings.Count() > 0) {
                InterfaceLanguage = language.Id;
                return;
            }
        damaged = QFileInfo::exists(LangFile);  // a missing file has had its own message
    } catch (const std::exception&) {
        damaged = true;
    }
    // Without texts every menu would lose its title and could no longer be opened.
    LangStrings.SetTextStr(BuiltInEnglishText());
    if (damaged)
        ShowMessageBox(QStringLiteral("The interface-language file \"%1\" is damaged; the program shows its texts in "
                                      "English.")
                           .arg(QDir::toNativeSeparators(LangFile)),
                       0, 2);
}

void TfLexDictionary::ApplyInterfaceLanguage()
{
    // Qt's own dialogs and menus speak the same language as the program's texts.
    InstallQtTranslation(InterfaceLanguage);
    const TWideStrings& s = LangStrings;
    miFile->setTitle(LangText(s, "File"));
    miLearnList->setTitle(LangText(s, "LearnList"));
    miNewList->setText(LangText(s, "NewList"));
    miOpenList->setText(LangText(s, "OpenList"));
    miAddToList->setText(LangText(s, "AddToList"));
    miSaveList->setText(LangText(s, "SaveList"));
    sbSaveAs->setToolTip(LangText(s, "SaveList"));
    miSaveAs->setText(LangText(s, "SaveAs"));
    miCloseList->setText(LangText(s, "CloseList"));
    miExport->setText(LangText(s, "Export"));
    miImport->setText(LangText(s, "Import"));
    miExit->setText(LangText(s, "Exit"));
    miTrayExit->setText(LangText(s, "Exit"));
    miDictionarys->setTitle(LangText(s, "Dictionarys"));
    miChangeDir->setText(LangText(s, "ChangeDir"));
    miSearch->setText(LangText(s, "Search"));
    miSearchType->setTitle(LangText(s, "SearchType"));
    miWordSearch->setText(LangText(s, "SearchWord"));
    miWordSearch2->setText(LangText(s, "SearchWord"));
    miAdvancedSearch->setText(LangText(s, "SearchAdvanced"));
    miAdvancedSearch2->setText(LangText(s, "SearchAdvanced"));
    miAddWord->setText(LangText(s, "AddWord"));
    miEditWord->setText(LangText(s, "EditWord"));
    miDeleteWord->setText(LangText(s, "DeleteWord"));
    miSpeak->setText(LangText(s, "Speak"));
    miAbbreviation->setText(LangText(s, "Abbreviation"));
    miView->setTitle(LangText(s, "View"));
    miBLine->setText(LangText(s, "Buttons"));
    miDLine->setText(LangText(s, "Dicts"));
    miStatusLine->setText(LangText(s, "StatusBar"));
    miAlphabet->setText(LangText(s, "Alphabet"));
    miLearning->setTitle(LangText(s, "Learning"));
    Method[0]->setText(LangText(s, "Method_1"));
    Method[1]->setText(LangText(s, "Method_2"));
    Method[2]->setText(LangText(s, "Method_3"));
    Method[3]->setText(LangText(s, "Method_4"));
    Method[4]->setText(LangText(s, "Method_5"));
    Method[5]->setText(LangText(s, "Method_6"));
    miHang->setText(LangText(s, "Hang"));
    miTools->setTitle(LangText(s, "Tools"));
    miConvert->setText(LangText(s, "Convert"));
    miSettings->setText(LangText(s, "Settings"));
    miOptions2->setText(LangText(s, "Settings"));
    miUpdateNow->setText(LangText(s, "UpdateNow"));
    miCreateDictionary->setText(LangText(s, "NewDictionary"));
    miHelp->setTitle(LangText(s, "Help"));
    miHelp_1->setText(LangText(s, "Help_1"));
    miHelp_2->setText(LangText(s, "Help_2"));
    miHelp_3->setText(LangText(s, "Help_3"));
    miHelp_5->setText(LangText(s, "Help_5"));
    miShow->setText(LangText(s, "ShowDictionary"));
    miClipTran->setText(LangText(s, "ClipTran"));
    lFromLanguage->setText(LangText(s, "FromLang"));
    lToLanguage->setText(LangText(s, "ToLang"));
    bKeyboard->setToolTip(LangText(s, "Hint1"));
    bFund->setToolTip(LangText(s, "Hint2"));
    bAddToList->setToolTip(LangText(s, "Hint3"));
    bReverse->setToolTip(LangText(s, "Hint4"));
    bSettings->setToolTip(LangText(s, "Hint5"));
    bSeyWord->setToolTip(LangText(s, "Hint6"));
    bNewWord->setToolTip(LangText(s, "Hint7"));
    bEdit->setToolTip(LangText(s, "Hint8"));
    bCloseList->setToolTip(LangText(s, "Hint9"));
    bEditListWord->setToolTip(LangText(s, "EditList"));
    bOpenLists->setToolTip(LangText(s, "LoadList"));
    bDelItem->setToolTip(LangText(s, "DeleteItem"));
    // The direction bar's layout gives the labels their new widths and keeps them the height
    // of their choosers (a label sized to its text alone would sit at the top of the row).
}
