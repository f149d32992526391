// Learning list and search history in the main window. The list commands come with their
// own issue; the history and the enabling of the commands work now.
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>

void TfLexDictionary::EnableListCommands(bool enabled)
{
    for (QAction* a : {miAddToList, miSaveList, miSaveAs, miCloseList})
        a->setEnabled(enabled);
}

void TfLexDictionary::EnableListButtons(bool enabled)
{
    for (QToolButton* b : {bEditListWord, bOpenLists, bDelItem, sbSaveAs})
        b->setEnabled(enabled);
}

bool TfLexDictionary::EnableLearningCommands()
{
    bool allowed = false;
    if (DictManager) {
        const std::int32_t id = DictManager->FindIdByFileName(Platform::WideToAnsi(ToU16(CurrentDictionaryFile)));
        if (id >= 0 && id < static_cast<std::int32_t>(DictManager->Records.size()))
            allowed = DictManager->Records[static_cast<std::size_t>(id)].ShellFlag == 1;
    }
    miLearnList->setEnabled(allowed);
    for (QAction* m : Method)
        m->setEnabled(allowed);
    miHang->setEnabled(allowed);
    miSpeak->setEnabled(allowed);
    return allowed;
}

void TfLexDictionary::SaveHistory()
{
    // An unchanged history is already in its file.
    if (!IsUserAdministrator() || CurrentDictionaryFile.isEmpty() || !historyChanged_)
        return;
    QDir().mkpath(AppDir + "History");
    // UTF-16 keeps words of every script, whatever the system code page.
    TWideStringList lines;
    lines.SetUnicodeOnSave(true);
    for (int i = 0; i < cbFind->count(); ++i)
        lines.Add(ToU16(cbFind->itemText(i)));
    try {
        lines.SaveToFile((AppDir + "History/" + CurrentDictionaryFile + ".txt").toStdString());
        historyChanged_ = false;
    } catch (const std::exception&) {
        // A history that cannot be written is not worth a message.
    }
}

void TfLexDictionary::LoadHistory(bool search)
{
    if (!IsUserAdministrator())
        return;
    const QString remembered = cbFind->currentText();
    historyChanged_ = false;
    {
        const QSignalBlocker block(cbFind);
        cbFind->clear();
        cbFind->setEditText(QString());
        const QString file = AppDir + "History/" + CurrentDictionaryFile + ".txt";
        if (!CurrentDictionaryFile.isEmpty() && QFileInfo::exists(file)) {
            TWideStringList lines;
            try {
                lines.LoadFromFile(file.toStdString());
            } catch (const std::exception&) {
                lines.Clear();
            }
            for (int i = 0; i < lines.Count(); ++i)
                cbFind->addItem(ToQString(lines.Get(i)));
            cbFind->setCurrentIndex(-1);
            cbFind->setEditText(QString());
        }
    }
    if (search) {
        cbFind->setEditText(remembered);
        bFundClick();
    }
}

void TfLexDictionary::SetListWordSoundPosition(int index)
{
    const std::int32_t w = LearnDictionary ? LearnDictionary->GetWordIndex(index) : -1;
    SoundBlock = w >= 0 ? Dictionary->SectionOfWordIndex(w) : -1;
    SoundWordIndex =
        SoundBlock >= 0 ? w - Dictionary->Sections[static_cast<std::size_t>(SoundBlock)].FirstWordIndex : -1;
}

// The learning-list commands, the list panel and the learning methods come with their issue.
void TfLexDictionary::StartMethod(int)
{
}
void TfLexDictionary::aAddToListExecute()
{
}
void TfLexDictionary::lbListClick()
{
}
void TfLexDictionary::miNewList1Click()
{
}
void TfLexDictionary::miOpenList1Click()
{
}
void TfLexDictionary::miSaveListClick()
{
}
void TfLexDictionary::miSaveAsClick()
{
}

void TfLexDictionary::aCloseListExecute()
{
    if (LearnDictionary)
        LearnDictionary->Close();
    SetStatusPanel(1, QString());
    pList->hide();
    lbList->clear();
    EnableListCommands(false);
}

void TfLexDictionary::TimerM6Timer()
{
}
