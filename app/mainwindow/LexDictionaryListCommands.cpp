// The learning-list panel's second road to lists: the drop-down menu of the lists of the
// current language pair, the list tool bar's buttons, the File menu's preparation and the
// import of files.
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "platform/Locale.h"
#include "platform/SafeFile.h"
#include "platform/qt/QtText.h"
#include "tools/windows/NewWord.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>

namespace {

// The language pair of a list file: its first 6 bytes; empty when unreadable.
std::string ListFilePair(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(6).toStdString();
}

// The language pair of the current dictionary: the first 6 characters of its file name.
std::string PairOf(const QString& dictionaryFile)
{
    return Platform::WideToAnsi(ToU16(dictionaryFile.left(6)));
}

void FillList(QListWidget* list, TLearnDictionary& store)
{
    list->clear();
    for (const std::u16string& word : SplitLines(store.GetWordListText()))
        list->addItem(ToQString(word));
}

}  // namespace

void TfLexDictionary::PopupMenuListPopup()
{
    const QList<QAction*> items = PopupMenuList->actions();
    for (int i = 1; i < items.size(); ++i) {
        PopupMenuList->removeAction(items[i]);
        items[i]->deleteLater();
    }
    const QString folder = AppDir + "Learning/";
    const QString open = QFileInfo(QString::fromStdString(LearnDictionary->ListFileName)).fileName();
    const std::string pair = PairOf(CurrentDictionaryFile);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (QFileInfo(name).suffix().toUpper() != "LST")
            continue;
        const bool isOpen = !LearnDictionary->Closed && name == open;
        if ((isOpen ? pair : ListFilePair(folder + name)) != pair)
            continue;
        QAction* item = PopupMenuList->addAction(name);
        item->setEnabled(!isOpen);
        connect(item, &QAction::triggered, this, [this, item]() { Guard([&] { miOpenCurrListClick(item); }); });
    }
}

void TfLexDictionary::miOpenCurrListClick(QAction* item)
{
    if (LearnDictionary->Modified && lbList->count() > 0
        && ShowMessageBox(LangText(LangStrings, "MsgSaveList"), 1, 0) == 6)
        miSaveAsClick();
    const QString caption = item->text();
    LearnDictionary->LoadFromFile((AppDir + "Learning/" + caption).toStdString());
    if (LearnDictionary->LanguagePair != PairOf(CurrentDictionaryFile)) {
        ShowMessageBox(LangText(LangStrings, "MsgIncorectList"), 0, 1);
        EnableListCommands(false);
        return;
    }
    FillList(lbList, *LearnDictionary);
    pList->show();
    lbList->show();
    EnableListCommands(true);
    SetStatusPanel(1, caption);
}

void TfLexDictionary::bOpenListsClick()
{
    miOpenList->trigger();
}

void TfLexDictionary::bDelItemClick()
{
    const int row = lbList->currentRow();
    if (row < 0)
        return;
    LearnDictionary->DeleteWord(row);
    FillList(lbList, *LearnDictionary);
    reDescription->clear();
}

void TfLexDictionary::ToolButton6Click()
{
    const int row = lbList->currentRow();
    if (row < 0)
        return;
    TWordEditorContext context;
    context.LangStrings = &LangStrings;
    context.Dictionary = Dictionary.get();
    context.LearnDictionary = LearnDictionary.get();
    context.ShowEditedListArticle = [this]() { lbListClick(); };
    TfNewWord editor(context, this);
    editor.PrepareListEdit(row, lbList->item(row)->text(), LearnDictionary->GetArticle(row));
    editor.exec();
}

void TfLexDictionary::sbSaveAsClick()
{
    if (lbList->count() > 0)
        miSaveAs->trigger();
}

void TfLexDictionary::lbListDblClick()
{
    if (Settings.DBLClickSpeak)
        bSeyWordClick();
}

void TfLexDictionary::miFileClick()
{
    const std::uint8_t edition = Dictionary ? Dictionary->GetDictionaryKind() : 5;
    if (SelectedDictionaryKind() == 4 || (edition != 1 && edition != 2)) {
        miNewList->setEnabled(true);
        return;
    }
    EnableListButtons(false);
    for (QAction* a : {miNewList, miAddToList, miSaveAs})
        a->setEnabled(false);
}

void TfLexDictionary::miImport1Click()
{
    const QString file =
        QFileDialog::getOpenFileName(this, QString(), QString(), LangText(LangStrings, "ImportFilter"));
    if (file.isEmpty())
        return;
    const QString suffix = QFileInfo(file).suffix().toUpper();
    // Learning lists go where the list commands look for them.
    const QString folder = suffix == "LST" ? AppDir + "Learning/" : DataDir;
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        ShowMessageBox(LangText(LangStrings, "MsgImportFailed"), 0, 2);
        return;
    }
    try {
        QDir().mkpath(folder);
        const QByteArray bytes = source.readAll();
        Platform::WriteFileAtomically((folder + QFileInfo(file).fileName()).toStdString(),
                                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const std::exception&) {
        ShowMessageBox(LangText(LangStrings, "MsgImportFailed"), 0, 2);
        return;
    }
    if (suffix == "TDE" && Dictionary)
        MergeUserWords(Dictionary->Sections[0].Letter);
}
