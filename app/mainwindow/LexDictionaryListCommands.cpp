// The list menu of the learning-list panel, the list tool bar, the File menu's preparation
// and the import of files.
#include "app/FileImport.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"

#if __has_include("tools/windows/NewWord.h")
#include "tools/windows/NewWord.h"
#define LEXORA_HAS_WORD_EDITOR 1
#endif

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>

#include <filesystem>
#include <system_error>

namespace {

constexpr int kEditionPro = 1;
constexpr int kEditionFree = 2;
constexpr int kMessageYes = 6;

QString LearningFolder(const TfLexDictionary& w)
{
    return w.AppDir + QStringLiteral("Learning");
}

// The 6 bytes a list file of the current dictionary begins with.
QByteArray CurrentPair(const TfLexDictionary& w)
{
    QByteArray pair = QByteArray::fromStdString(Platform::WideToAnsi(ToU16(w.CurrentDictionaryFile.left(6))));
    pair.truncate(6);
    pair.append(6 - pair.size(), '\0');
    return pair;
}

QByteArray PairOfListFile(const QString& fileName)
{
    // Only a plain file is read: opening a pipe would wait for a writer.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(QFile::encodeName(fileName).toStdString(), ec))
        return {};
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.read(6) : QByteArray();
}

bool IsOpenList(const TfLexDictionary& w, const QString& fileName)
{
    const TLearnDictionary* store = w.LearnDictionary.get();
    return store != nullptr && !store->Closed
        && QFileInfo(fileName) == QFileInfo(QString::fromStdString(store->ListFileName));
}

void ShowStoreWords(TfLexDictionary& w)
{
    w.lbList->clear();
    for (int i = 0; i < w.LearnDictionary->Words.Count(); ++i)
        w.lbList->addItem(ToQString(w.LearnDictionary->Words.Get(i)));
}

// The letter block the word list shows, read again with the user's words merged in.
void RefreshUserWords(TfLexDictionary& w)
{
    if (!w.Dictionary || w.SearchMode != 0 || w.Dictionary->CurrentLetter == u' ')
        return;
    const QString selected = w.SelectedWord();
    const char16_t windowLetter = w.CurrentLetter;
    w.LoadLetterBlock(w.Dictionary->CurrentLetter);
    w.CurrentLetter = windowLetter;
    w.SelectMatchingWord(selected);
}

// The open dictionary's file was replaced: open the new one and show it from its first letter.
void ReopenCurrentDictionary(TfLexDictionary& w)
{
    w.reDescription->clear();
    w.Dictionary->FileStream.reset();  // still on the replaced file
    if (!w.Dictionary->Open((w.DataDir + w.CurrentDictionaryFile).toStdString())) {
        w.ClearWords();
        w.CurrentLetter = u' ';
        w.SetStatusPanel(0, QString());
        return;
    }
    w.BuildAlphabetPanel(w.Dictionary.get());
    w.BindAlphabetLinks();
    w.SetSearchMode(0);
    std::u16string words;
    w.Dictionary->GetLetterWords(u'A', true, words, false);
    w.SetWordsText(std::move(words));
    w.MergeUserWords(w.Dictionary->Sections[0].Letter);
    w.CurrentLetter = u' ';
    if (w.WordCount() > 0) {
        w.SetSelectedIndex(0);
        w.lbWordsClick();
    }
}

// The message of a failed import; empty when there is none to show.
QString ImportMessage(const TWideStrings& strings, FileImport::TImportResult result)
{
    switch (result) {
    case FileImport::TImportResult::UnknownKind:
        return LangText(strings, "MsgImportKind");
    case FileImport::TImportResult::Damaged:
        return LangText(strings, "MsgFileDamaged");
    case FileImport::TImportResult::ReadError:
    case FileImport::TImportResult::WriteError:
        return LangText(strings, "MsgImportFailed");
    default:
        return QString();
    }
}

}  // namespace

void TfLexDictionary::PopupMenuListPopup()
{
    for (QAction* item : PopupMenuList->actions())
        if (item != miOpenCurrList) {
            PopupMenuList->removeAction(item);
            delete item;
        }
    QDir folder(LearningFolder(*this));
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    const QByteArray pair = CurrentPair(*this);
    for (const QFileInfo& entry : entries) {
        if (entry.suffix().toUpper() != QLatin1String("LST"))
            continue;
        const QString path = entry.filePath();
        if (PairOfListFile(path) != pair)
            continue;
        // A caption shows "&" only doubled; the file name travels apart from it.
        auto* item = new QAction(entry.fileName().replace(QLatin1Char('&'), QStringLiteral("&&")), PopupMenuList);
        item->setData(entry.fileName());
        item->setEnabled(!IsOpenList(*this, path));
        connect(item, &QAction::triggered, this, [this, item] { Guard([this, item] { miOpenCurrListClick(item); }); });
        PopupMenuList->addAction(item);
    }
}

void TfLexDictionary::miOpenCurrListClick(QAction* item)
{
    if (item == nullptr || !LearnDictionary)
        return;
    const QString name = item->data().toString().isEmpty() ? item->text() : item->data().toString();
    if (!AskToSaveList(false))
        return;
    const QString path = LearningFolder(*this) + QLatin1Char('/') + name;
    // The pair is checked before the open list is given up: a list of another pair in the
    // store would let the panel's commands act on words it does not show.
    if (PairOfListFile(path) != CurrentPair(*this)) {
        if (QFileInfo::exists(path))
            ShowMessageBox(LangText(LangStrings, "MsgIncorectList"), 0, 1);
        return;
    }
    try {
        TLearnDictionary probe(LearnDictionary->Folder);
        probe.LoadFromFile(path.toStdString());
        if (probe.Closed)
            return;  // gone since the menu was filled
    } catch (const std::exception&) {
        ShowMessageBox(LangText(LangStrings, "MsgFileDamaged"), 0, 2);
        return;
    }
    LearnDictionary->LoadFromFile(path.toStdString());
    ShowStoreWords(*this);
    pList->show();
    lbList->show();
    EnableListCommands(true);
    SetStatusPanel(1, name);
}

void TfLexDictionary::bOpenListsClick()
{
    miOpenList1Click();
}

void TfLexDictionary::bDelItemClick()
{
    const int i = lbList->currentRow();
    if (i < 0 || !LearnDictionary)
        return;
    if (LearnDictionary->DeleteWord(i))
        LearnDictionary->Modified = true;
    else
        ShowListWriteError();
    ShowStoreWords(*this);
    reDescription->clear();
}

void TfLexDictionary::ToolButton6Click()
{
#ifdef LEXORA_HAS_WORD_EDITOR
    const int i = lbList->currentRow();
    if (i < 0 || !LearnDictionary)
        return;
    TWordEditorContext context;
    context.LangStrings = &LangStrings;
    context.Dictionary = Dictionary.get();
    context.LearnDictionary = LearnDictionary.get();
    context.ShowEditedListArticle = [this] { lbListClick(); };
    TfNewWord editor(std::move(context), this);
    editor.PrepareListEdit(i, lbList->item(i)->text(), LearnDictionary->GetArticle(i));
    editor.exec();
#endif
}

void TfLexDictionary::sbSaveAsClick()
{
    if (lbList->count() > 0)
        miSaveAsClick();
}

void TfLexDictionary::lbListDblClick()
{
    if (Settings.DBLClickSpeak)
        bSeyWordClick();
}

void TfLexDictionary::miFileClick()
{
    const int edition = Dictionary ? Dictionary->GetDictionaryKind() : -1;
    if (SelectedDictionaryKind() == 4 || (edition != kEditionPro && edition != kEditionFree)) {
        miNewList->setEnabled(true);
        return;
    }
    EnableListButtons(false);
    for (QAction* a : {miNewList, miAddToList, miSaveAs})
        a->setEnabled(false);
}

void TfLexDictionary::miImport1Click()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Learning list (*.LST *.lst)"),
                           QStringLiteral("User defined words (*.TDE *.tde)"),
                           QStringLiteral("User dictionaries (*.UDD *.udd)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().first();

    FileImport::TImportRequest request;
    request.Source = QFile::encodeName(chosen).toStdString();
    request.LearningFolder = QFile::encodeName(LearningFolder(*this)).toStdString();
    request.DataFolder = QFile::encodeName(QDir::cleanPath(DataDir)).toStdString();
    if (DictManager)
        for (const TDictionaryRecord& r : DictManager->Records)
            request.CatalogueNames.push_back(Platform::WideToUtf8(Platform::AnsiToWide(r.DictionaryFile.Str())));
    request.ConfirmReplace = [this](const std::filesystem::path& existing) {
        const QString text = LangText(LangStrings, "MsgReplaceFile") + QStringLiteral("\n")
            + QFile::decodeName(QByteArray::fromStdString(existing.filename().string()));
        return ShowMessageBox(text, 1, 0) == kMessageYes;
    };
    const FileImport::TImportOutcome outcome = FileImport::ImportFile(request);
    if (outcome.Result != FileImport::TImportResult::Imported) {
        const QString message = ImportMessage(LangStrings, outcome.Result);
        if (!message.isEmpty())
            ShowMessageBox(message, 0, 2);
        return;
    }
    const QString target = QFile::decodeName(QByteArray::fromStdString(outcome.Target.string()));
    if (Dictionary && QFileInfo(target) == QFileInfo(QString::fromStdString(Dictionary->FileName))) {
        ReopenCurrentDictionary(*this);
        return;
    }
    switch (outcome.Kind) {
    case FileImport::TImportKind::UserWords:
        RefreshUserWords(*this);
        break;
    case FileImport::TImportKind::LearningList:
        // The open list was replaced: the panel shows what the file now holds, or closes when
        // it is a list of another pair (a later change of the open list would undo the import).
        if (IsOpenList(*this, target)) {
            if (PairOfListFile(target) == CurrentPair(*this)) {
                LearnDictionary->LoadFromFile(target.toStdString());
                ShowStoreWords(*this);
                reDescription->clear();
            } else {
                LearnDictionary->Modified = false;
                aCloseListExecute();
            }
        }
        break;
    default:
        break;
    }
}
