// Learning list and search history in the main window: the list panel beside the article,
// list files started, opened, saved and closed, the learning methods started from here and
// method 6's periodic word; one search history per dictionary.
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "platform/Locale.h"
#include "platform/qt/Balloon.h"
#include "platform/qt/QtText.h"
#include "tools/windows/Learning.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kEditionTalking = 0;
constexpr int kEditionPro = 1;
constexpr int kEditionFree = 2;
constexpr int kMessageYes = 6;
constexpr int kMessageNo = 7;

// A file name made from a dictionary's name: nothing in it can leave the folder or name a
// hidden or special file.
QString SafeFileName(const QString& name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString safe;
    for (const QChar c : name)
        safe += c.unicode() < 32 || c.unicode() == 127 || forbidden.contains(c) ? QLatin1Char('_') : c;
    for (qsizetype i = 0; i < safe.size() && safe.at(i) == QLatin1Char('.'); ++i)
        safe[i] = QLatin1Char('_');
    return safe;
}

// Keys of the list panel: Delete removes the selected entry.
class TListKeys : public QObject {
public:
    explicit TListKeys(TfLexDictionary* window)
        : QObject(window->lbList),
          window_(window)
    {
        setObjectName(QStringLiteral("lbListKeyDown"));
        window->lbList->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            window_->lbListKeyDown(static_cast<QKeyEvent*>(e)->key());
        return false;
    }

private:
    TfLexDictionary* window_;
};

QString LearningFilter()
{
    return QStringLiteral("Learning list (*.lst *.LST)");
}

}  // namespace

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
    // Runs at creation, so the list panel's keys are bound here once.
    if (lbList->findChild<QObject*>(QStringLiteral("lbListKeyDown"), Qt::FindDirectChildrenOnly) == nullptr)
        new TListKeys(this);
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

// --- search history

namespace {

// Far more than 50 entries of any search text take; a larger file is damaged.
constexpr qint64 kHistoryReadLimit = 64 * 1024;

}  // namespace

std::vector<QString> ReadHistoryFile(const QString& fileName)
{
    std::vector<QString> entries;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    // Only the head of an oversized file is read; its last line may be cut, so it is dropped.
    const QByteArray bytes = file.read(kHistoryReadLimit);
    const bool cut = file.size() > bytes.size();
    TWideStringList lines;
    try {
        lines.LoadFromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const std::exception&) {
        return entries;
    }
    const int count = std::min(lines.Count() - (cut ? 1 : 0), kHistoryLimit);
    for (int i = 0; i < count; ++i)
        entries.push_back(ToQString(lines.Get(i)));
    return entries;
}

QString TfLexDictionary::HistoryFileName() const
{
    const QString name = SafeFileName(CurrentDictionaryFile);
    return name.isEmpty() ? QString() : AppDir + QStringLiteral("History/") + name + QStringLiteral(".txt");
}

void TfLexDictionary::SaveHistory()
{
    // An unchanged history is already in its file.
    const QString file = HistoryFileName();
    if (!IsUserAdministrator() || file.isEmpty() || !historyChanged_)
        return;
    QDir().mkpath(AppDir + "History");
    // UTF-16 keeps words of every script, whatever the system code page.
    TWideStringList lines;
    lines.SetUnicodeOnSave(true);
    for (int i = 0; i < cbFind->count(); ++i)
        lines.Add(ToU16(cbFind->itemText(i)));
    try {
        lines.SaveToFile(QFile::encodeName(file).toStdString());
        historyChanged_ = false;
    } catch (const std::exception& e) {
        // The old file stays. The history is saved on every change of dictionary and, like the
        // settings, at the end: one word about a full disk is enough.
        if (!autoSaveErrorShown_) {
            autoSaveErrorShown_ = true;
            ShowSaveError(file, e);
        }
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
        const QString file = HistoryFileName();
        if (!file.isEmpty() && QFileInfo::exists(file)) {
            const std::vector<QString> entries = ReadHistoryFile(file);
            for (const QString& entry : entries)
                cbFind->addItem(entry);
            cbFind->setCurrentIndex(-1);
            cbFind->setEditText(QString());
        }
    }
    if (search) {
        cbFind->setEditText(remembered);
        bFundClick();
    }
}

// --- the list panel

void TfLexDictionary::SetListWordSoundPosition(int index)
{
    const std::int32_t w = LearnDictionary ? LearnDictionary->GetWordIndex(index) : -1;
    SoundBlock = w >= 0 && Dictionary ? Dictionary->SectionOfWordIndex(w) : -1;
    SoundWordIndex =
        SoundBlock >= 0 ? w - Dictionary->Sections[static_cast<std::size_t>(SoundBlock)].FirstWordIndex : -1;
}

bool TfLexDictionary::ListShown() const
{
    return !pList->isHidden() && !lbList->isHidden();
}

void TfLexDictionary::ShowListWords(const QString& fileName)
{
    SetStatusPanel(1, QFileInfo(fileName).fileName());
    lbList->clear();
    for (int i = 0; i < LearnDictionary->Words.Count(); ++i)
        lbList->addItem(ToQString(LearnDictionary->Words.Get(i)));
    pList->show();
    lbList->show();
    EnableListCommands(true);
}

bool TfLexDictionary::LoadListFile(const QString& fileName)
{
    // A damaged file is refused before the open list is given up.
    try {
        TLearnDictionary probe(LearnDictionary->Folder);
        probe.LoadFromFile(fileName.toStdString());
    } catch (const std::exception& e) {
        ShowMessageBox(QString::fromLocal8Bit(e.what()), 0, 2);
        return false;
    }
    LearnDictionary->LoadFromFile(fileName.toStdString());
    return !LearnDictionary->Closed;
}

QString TfLexDictionary::FixedListFile() const
{
    return DataDir + CurrentDictionaryFile + QStringLiteral("/") + CurrentDictionaryFile.left(6)
        + QStringLiteral(".lst");
}

void TfLexDictionary::OpenFixedList()
{
    if (!AskToSaveList(true))
        return;
    const QString notice = DataDir + CurrentDictionaryFile + QStringLiteral("/Pro.rtf");
    QFile file(notice);
    if (file.open(QIODevice::ReadOnly))
        ShowArticle(file.readAll().toStdString());
    else
        reDescription->clear();
    if (LoadListFile(FixedListFile()))
        ShowListWords(FixedListFile());
}

void TfLexDictionary::aAddToListExecute()
{
    if (!EnableLearningCommands())
        return;
    const int edition = Dictionary ? Dictionary->GetDictionaryKind() : -1;
    if (edition == kEditionPro || edition == kEditionFree) {
        OpenFixedList();
        EnableListButtons(false);
        return;
    }
    EnableListButtons(true);
    if (pList->isHidden())
        miNewList1Click();
    const int i = SelectedIndex();
    if (pList->isHidden() || i < 0 || !Dictionary)
        return;
    const QString word = SelectedWord();
    if (!lbList->findItems(word, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        return;
    std::string article;
    std::int32_t w = -1;
    if (SearchMode == 0) {
        const std::vector<std::uint8_t>& marks = Dictionary->UserWordMarks;
        if (!marks.empty() && static_cast<std::size_t>(i) < marks.size() && marks[static_cast<std::size_t>(i)] != 0)
            return;  // the user's own words have no index to keep
        const std::vector<std::int32_t>& positions = Dictionary->UserWordPositions;
        const auto below = static_cast<std::int32_t>(
            std::count_if(positions.begin(), positions.end(), [i](std::int32_t p) { return p < i; }));
        w = Dictionary->AbsoluteWordIndex(i - below);
        if (w < 0 || LearnDictionary->HasWordIndex(w))
            return;
        Dictionary->GetArticle(i - below, true, article, false, false);
    } else {
        if (static_cast<std::size_t>(i) >= AdvancedResults.size())
            return;
        w = AdvancedResults[static_cast<std::size_t>(i)];
        if (LearnDictionary->HasWordIndex(w))
            return;
        Dictionary->GetArticle(w, true, article, false, true);
    }
    if (!LearnDictionary->AddWord(w, ToU16(word), article)) {
        ShowListWriteError();
        return;
    }
    lbList->addItem(word);
    LearnDictionary->Modified = true;
}

void TfLexDictionary::ShowListWriteError()
{
    if (LearnDictionary && !LearnDictionary->WriteError.empty())
        ShowSaveError(QFile::decodeName(QByteArray::fromStdString(LearnDictionary->ListFileName)),
                      std::runtime_error(LearnDictionary->WriteError));
}

void TfLexDictionary::lbListClick()
{
    const int i = lbList->currentRow();
    if (i < 0 || !LearnDictionary)
        return;
    ShowArticle(LearnDictionary->GetArticle(i));
    SetListWordSoundPosition(i);
}

void TfLexDictionary::lbListKeyDown(int key)
{
    Guard([&] {
        const int i = lbList->currentRow();
        if (key != Qt::Key_Delete || i < 0 || !Dictionary || Dictionary->GetDictionaryKind() != kEditionTalking)
            return;
        if (!LearnDictionary->DeleteWord(i)) {
            ShowListWriteError();
            return;
        }
        delete lbList->takeItem(i);
        LearnDictionary->Modified = true;
    });
}

void TfLexDictionary::miNewList1Click()
{
    if (!AskToSaveList(false))
        return;
    lbList->clear();
    QDir().mkpath(AppDir + QStringLiteral("Learning"));
    LearnDictionary->NewList();
    SetStatusPanel(1, QStringLiteral("NewList.lst"));
    pList->show();
    lbList->show();
    if (Dictionary && Dictionary->GetDictionaryKind() == kEditionTalking)
        EnableListButtons(true);
    EnableListCommands(true);
}

void TfLexDictionary::miOpenList1Click()
{
    const int edition = Dictionary ? Dictionary->GetDictionaryKind() : -1;
    if (edition == kEditionPro || edition == kEditionFree) {
        OpenFixedList();
        return;
    }
    if (!AskToSaveList(true))
        return;
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(AppDir + QStringLiteral("Learning"));
    dialog.setNameFilter(LearningFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().first();
    if (QFileInfo(chosen) == QFileInfo(QString::fromStdString(LearnDictionary->ListFileName)))
        return;
    QFile file(chosen);
    QByteArray pair = file.open(QIODevice::ReadOnly) ? file.read(6) : QByteArray();
    QByteArray expected = QByteArray::fromStdString(Platform::WideToAnsi(ToU16(CurrentDictionaryFile.left(6))));
    expected.append(6 - std::min<qsizetype>(expected.size(), 6), '\0');
    if (pair != expected) {
        ShowMessageBox(LangText(LangStrings, "MsgIncorectList"), 0, 1);
        EnableListCommands(!pList->isHidden());
        return;
    }
    if (!LoadListFile(chosen))
        return;
    ShowListWords(chosen);
    EnableListButtons(true);
}

// A list with a file of its own holds every change already; a new list gets its name.
bool TfLexDictionary::miSaveListClick()
{
    if (LearnDictionary->IsEmpty())
        return true;
    const QString temporary = QString::fromStdString(LearnDictionary->Folder) + QStringLiteral("/TempList.tmp");
    if (QFileInfo(QString::fromStdString(LearnDictionary->ListFileName)) == QFileInfo(temporary))
        return miSaveAsClick();
    LearnDictionary->Modified = false;
    return true;
}

bool TfLexDictionary::miSaveAsClick()
{
    if (pList->isHidden() || lbList->isHidden())
        return false;
    QDir().mkpath(AppDir + QStringLiteral("Learning"));
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(AppDir + QStringLiteral("Learning"));
    dialog.setNameFilter(LearningFilter());
    dialog.setDefaultSuffix(QStringLiteral("lst"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString chosen = dialog.selectedFiles().first();
    if (!LearnDictionary->SaveToFile(chosen.toStdString())) {
        ShowMessageBox(LangText(LangStrings, "MsgListNotSaved"), 0, 2);
        return false;
    }
    SetStatusPanel(1, QFileInfo(chosen).fileName());
    return true;
}

bool TfLexDictionary::AskToSaveList(bool inPlace)
{
    if (!LearnDictionary || LearnDictionary->Closed || !LearnDictionary->Modified || lbList->count() == 0)
        return true;
    switch (ShowMessageBox(LangText(LangStrings, "MsgSaveList"), 1, 0)) {
    case kMessageYes:
        return inPlace ? miSaveListClick() : miSaveAsClick();
    case kMessageNo:
        return true;  // the user lets the words go
    default:
        return false;  // the question was closed unanswered
    }
}

bool TfLexDictionary::aCloseListExecute()
{
    if (!AskToSaveList(false))
        return false;
    if (LearnDictionary)
        LearnDictionary->Close();
    SetStatusPanel(1, QString());
    pList->hide();
    lbList->hide();
    lbList->clear();
    EnableListCommands(false);
    return true;
}

// --- learning methods

void TfLexDictionary::StartMethod(int method)
{
    if (!EnableLearningCommands())
        return;
    if (!((ListShown() && lbList->count() > 0) || method == 7)) {
        ShowMessageBox(LangText(LangStrings, "MsgLoadList"), 0, 1);
        return;
    }
    TLearningHost host;
    host.LangStrings = &LangStrings;
    host.AppDir = AppDir;
    host.HelpFile = HelpFile;
    host.FromText = cbFrom->currentText();
    host.ToText = cbTo->currentText();
    host.Dictionary = Dictionary.get();
    host.LearnDictionary = LearnDictionary.get();
    host.lbList = lbList;
    host.ListShown = [this] { return ListShown(); };
    host.SoundWordIndex = &SoundWordIndex;
    host.SoundBlock = &SoundBlock;
    host.SpeakWord = [this] { bSeyWordClick(); };
    host.SetListWordSoundPosition = [this](int position) { SetListWordSoundPosition(position); };
    host.TimerM6 = TimerM6;
    host.SpeakInMethod6 = &SpeakInMethod6;
    host.ShowMessageBox = [this](const QString& text, int buttons, int icon) {
        return ShowMessageBox(text, buttons, icon);
    };
    host.RandomSeed = LearningSeed;
    struct TOpen {
        bool& Flag;
        explicit TOpen(bool& flag)
            : Flag(flag)
        {
            Flag = true;
        }
        ~TOpen() { Flag = false; }
    };
    TfLearning window(std::move(host), this);
    window.SelectMethod(method);
    const TOpen open(LearningOpen);
    window.exec();
}

void TfLexDictionary::TimerM6Timer()
{
    if (!ListShown()) {
        TimerM6->stop();
        return;
    }
    const int count = lbList->count();
    if (count == 0)
        return;
    if (Method6Position < 0 || Method6Position >= count)
        Method6Position = 0;
    const int position = Method6Position;
    ShowArticle(LearnDictionary->GetArticle(position));
    QString text = reDescription->toPlainText();
    if (text.size() >= 256)
        text = text.left(252) + QStringLiteral("...");
    Balloon::ShowBaloon(lbList->item(position)->text(), text, Settings.DelicateTime);
    if (SpeakInMethod6) {
        const std::int32_t remembered = SoundWordIndex;
        SetListWordSoundPosition(position);
        bSeyWordClick();
        SoundWordIndex = remembered;
    }
    {
        // The entry is shown already, and the pronunciation keeps the current word.
        const QSignalBlocker quiet(lbList);
        lbList->setCurrentRow(position);
    }
    Method6Position += 1;
}
// The list commands of the list panel and the File menu: LexDictionaryListCommands.cpp.
