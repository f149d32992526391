// The settings window's dictionaries page: which dictionaries are shown, installing and
// removing one, and moving a dictionary's sounds between the CD and the data folder.
#include "app/InterfaceForm.h"

#include "app/CopyFolderThread.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "engine/FolderUtils.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kIdRole = Qt::UserRole + 2;

// A folder name that stays inside the data folder: not empty, no "." or "..", no separator.
bool IsPlainFolderName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\", 0) == std::string::npos
        && name.find('\0') == std::string::npos;
}

// Folder (inside the data folder) when it is a real folder, not a link to one elsewhere.
bool IsRealFolder(const QString& folder)
{
    std::error_code ec;
    return fs::symlink_status(QFile::encodeName(folder).toStdString(), ec).type() == fs::file_type::directory;
}

QString AnsiText(const std::string& s)
{
    return ToQString(Platform::AnsiToWide(s));
}

}  // namespace

int TfInterface::RowImage(const QTreeWidgetItem* row)
{
    return row != nullptr && row->data(0, kImageRole).isValid() ? row->data(0, kImageRole).toInt() : -1;
}

void TfInterface::SetRowImage(QTreeWidgetItem* row, int image)
{
    static const QStyle::StandardPixmap pictures[] = {QStyle::SP_DriveHDIcon, QStyle::SP_DriveCDIcon,
                                                      QStyle::SP_FileIcon, QStyle::SP_MediaVolumeMuted};
    row->setData(0, kImageRole, image);
    row->setIcon(0, style()->standardIcon(pictures[image]));
}

TDictionaryRecord* TfInterface::RecordOf(std::int32_t id)
{
    if (!main_->DictManager)
        return nullptr;
    for (TDictionaryRecord& r : main_->DictManager->Records)
        if (r.Id == id)
            return &r;
    return nullptr;
}

QString TfInterface::SelectedSourceText() const
{
    const QListWidgetItem* item = lbDictionarys->currentItem();
    return item != nullptr ? item->text() : QString();
}

void TfInterface::SetSoundLocation(std::int32_t recordId, std::uint8_t location)
{
    TDictionaryRecord* r = RecordOf(recordId);
    if (r == nullptr)
        return;
    r->SoundSource = location;
    if (location == 2)
        r->Sounds = 0;
}

QString TfInterface::SoundFolderName() const
{
    const int source = lbDictionarys->currentRow();
    QTreeWidgetItem* row = ListView1->currentItem();
    const int index = row != nullptr ? ListView1->indexOfTopLevelItem(row) : -1;
    if (source < 0 || source >= static_cast<int>(SourceCodes.size()) || index < 0
        || index >= static_cast<int>(PairEntries.size()))
        return {};
    return AnsiText(
        (SourceCodes[static_cast<std::size_t>(source)] + PairEntries[static_cast<std::size_t>(index)].TargetCode)
            .substr(0, 6));
}

void TfInterface::tsDictionarysShow()
{
    {
        const QSignalBlocker block(lbDictionarys);
        lbDictionarys->clear();
    }
    if (!TfLexDictionary::IsUserAdministrator() || !main_->DictManager)
        return;
    lbDictionarys->setFocus();
    SourceCodes = main_->DictManager->GetSourceLanguages();
    const QStringList texts = SourceTexts(SourceCodes);
    FitSourceList(texts);
    {
        const QSignalBlocker block(lbDictionarys);
        lbDictionarys->addItems(texts);
        lbDictionarys->setCurrentRow(lbDictionarys->count() > 0 ? 0 : -1);
    }
    if (!EnabledFlags.empty())
        lbDictionarysClick();
}

QStringList TfInterface::SourceTexts(const std::vector<std::string>& codes) const
{
    QStringList texts;
    for (const std::string& code : codes) {
        const QString text = ToQString(main_->LangStrings.GetValue(Platform::AnsiToWide(code)));
        texts << (text.isEmpty() ? AnsiText(code) : text);
    }
    return texts;
}

void TfInterface::lbDictionarysClick()
{
    const int source = lbDictionarys->currentRow();
    if (source < 0 || source >= static_cast<int>(SourceCodes.size()) || !main_->DictManager)
        return;
    TDictManager& manager = *main_->DictManager;
    const QSignalBlocker block(ListView1);
    ListView1->clear();
    PairEntries = manager.GetDictionaries(SourceCodes[static_cast<std::size_t>(source)], false);
    for (const TDescName& entry : PairEntries) {
        const TDictionaryRecord* record = RecordOf(entry.Id);
        if (record == nullptr)
            continue;
        auto* row = new QTreeWidgetItem(ListView1);
        QString caption = AnsiText(record->Name.Str());
        if (entry.Kind == 0 || entry.Kind == 2) {
            caption = ToQString(main_->LangStrings.GetValue(Platform::AnsiToWide(entry.TargetCode)));
            if (caption.isEmpty())
                caption = AnsiText(entry.TargetCode);
        }
        row->setText(0, caption);
        row->setText(1, AnsiText(record->Description.Str()));
        row->setData(0, kIdRole, entry.Id);
        const bool enabled = entry.Id >= 0 && entry.Id < static_cast<std::int32_t>(EnabledFlags.size())
            && EnabledFlags[static_cast<std::size_t>(entry.Id)] != 0;
        row->setCheckState(0, enabled ? Qt::Checked : Qt::Unchecked);

        // The sounds' place, repaired when the data folder says otherwise.
        const std::string file = record->DictionaryFile.Str();
        const bool onDisk = IsPlainFolderName(file) && IsRealFolder(main_->DataDir + AnsiText(file));
        int image = diNoSounds;
        const std::uint8_t location = record->SoundSource;
        if (location == 0 || location == 1) {
            image = onDisk ? diSoundsOnDisk : diSoundsOnCD;
            if ((location == 0) == onDisk) {
                SetSoundLocation(entry.Id, onDisk ? 1 : 0);
                manager.SaveAll();
                manager.Reload();
            }
        }
        if (entry.Kind == 2 || entry.Kind == 3)
            image = diUserDictionary;
        SetRowImage(row, image);
    }
    FitDictionaryColumns();
    ListView1->setToolTip(QString());
    bCopy->setEnabled(false);
}

void TfInterface::ListView1Click()
{
    if (!bRemove->isEnabled())
        return;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = ListView1->topLevelItem(i);
        const int id = row->data(0, kIdRole).toInt();
        if (id >= 0 && id < static_cast<int>(EnabledFlags.size()))
            EnabledFlags[static_cast<std::size_t>(id)] = row->checkState(0) == Qt::Checked ? 1 : 0;
    }
    QTreeWidgetItem* row = ListView1->currentItem();
    if (row == nullptr || !row->isSelected())
        return;
    switch (RowImage(row)) {
    case diSoundsOnDisk:
        bCopy->setEnabled(true);
        bCopy->setText(LangText(main_->LangStrings, "UseCDROM"));
        break;
    case diSoundsOnCD:
        bCopy->setEnabled(true);
        bCopy->setText(LangText(main_->LangStrings, "CopyToHDD"));
        break;
    case diNoSounds:
        break;
    default:
        bCopy->setEnabled(false);
        break;
    }
}

void TfInterface::bInstallClick()
{
    QFileDialog dialog(this, QString(), main_->DataDir);
    dialog.setObjectName("InstallDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Tavor data files (*.TDD)", "Custom data files (*.UDD)",
                           "All dictionaries formats (*.TDD *.UDD)", "All files (*)"});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().first();
    const QString own = main_->Dictionary
        ? QFileInfo(QString::fromStdString(main_->Dictionary->FileName)).canonicalFilePath()
        : QString();
    if (!own.isEmpty() && QFileInfo(file).canonicalFilePath() == own) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgDictRedy"), 0, 1);
        return;
    }
    TDictManager& manager = *main_->DictManager;
    const std::int16_t result = manager.InstallDictionary(QFile::encodeName(file).toStdString());
    if (result == irAlreadyInstalled) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgDictExist"), 0, 1);
        return;
    }
    if (result == irCannotOpen) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgDictRedy"), 0, 1);
        return;
    }
    if (result == irWriteError) {
        // The catalogue on disk and in memory stays as it was.
        main_->ShowSaveError(QFile::decodeName(QByteArray::fromStdString(manager.CatalogueFile)),
                             std::runtime_error(""));
        return;
    }
    if (result != irInstalled)
        return;
    EnabledFlags.push_back(manager.Records.empty() ? 1 : manager.Records.back().Enabled);
    tsDictionarysShow();
    manager.SaveAll();
    RefreshMainChoosers(true);
    main_->BuildAlphabetPanel(main_->Dictionary.get());
    main_->BindAlphabetLinks();
}

void TfInterface::bRemoveClick()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (row == nullptr || !row->isSelected() || !main_->DictManager) {
        if (lbDictionarys->count() == 0 && ListView1->topLevelItemCount() == 0) {
            lbDictionarys->clear();
            ListView1->clear();
        }
        return;
    }
    if (main_->ShowMessageBox(LangText(main_->LangStrings, "MsgRemoveDict"), 1, 0) != 6)
        return;
    TDictManager& manager = *main_->DictManager;
    const std::int32_t id = row->data(0, kIdRole).toInt();
    const TDictionaryRecord* record = RecordOf(id);
    if (record == nullptr)
        return;
    // Only a folder of the data folder itself is ever offered for deletion.
    const std::string file = record->DictionaryFile.Str();
    const QString folder = IsPlainFolderName(file) ? main_->DataDir + AnsiText(file) : QString();
    if (!manager.DeleteDictionary(id)) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgDictNotRemoved"), 0, 2);
        return;
    }
    // The other records moved up one place; so do their edited states.
    if (id >= 0 && id < static_cast<std::int32_t>(EnabledFlags.size()))
        EnabledFlags.erase(EnabledFlags.begin() + id);
    manager.SaveAll();
    {
        const QSignalBlocker block(ListView1);
        ListView1->clear();
    }
    tsDictionarysShow();
    if (!folder.isEmpty() && IsRealFolder(folder)
        && main_->ShowMessageBox(LangText(main_->LangStrings, "MsgRemoveSoundDir"), 1, 0) == 6)
        DeleteFolder(QFile::encodeName(folder).toStdString());
    if (manager.Count() > 0) {
        RefreshMainChoosers(true);
        tsDictionarysShow();
    } else if (lbDictionarys->count() == 0 && ListView1->topLevelItemCount() == 0) {
        // Nothing is left to show: the choosers, the words and the article empty.
        main_->FillDirections();
        main_->FillDictionaries(-1);
        main_->ClearWords();
        main_->reDescription->clear();
        main_->CurrentDictionaryFile.clear();
        main_->Dictionary = std::make_unique<TUnknownDictionary>(QFile::encodeName(main_->DataDir).toStdString());
        main_->UpdateWindowTitle();
    }
}

void TfInterface::bCopyClick()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (row == nullptr || !row->isSelected() || copyThread_ || !main_->DictManager)
        return;
    const QString name = SoundFolderName();
    const std::int32_t id = row->data(0, kIdRole).toInt();
    const bool plain = IsPlainFolderName(QFile::encodeName(name + "_T").toStdString()) && name.size() >= 1;
    switch (RowImage(row)) {
    case diSoundsOnDisk: {
        const QString folder = main_->DataDir + name + "_T";
        if (plain && IsRealFolder(folder))
            DeleteFolder(QFile::encodeName(folder).toStdString());
        SetSoundLocation(id, 0);
        main_->DictManager->SaveAll();
        main_->DictManager->Reload();
        lbDictionarysClick();
        break;
    }
    case diSoundsOnCD: {
        QString source;
        if (plain)
            for (const std::string& root : Platform::CDDriveRoots()) {
                const QString candidate = QFile::decodeName(QByteArray::fromStdString(root)) + name + "_T";
                if (IsRealFolder(candidate)) {
                    source = candidate;
                    break;
                }
            }
        if (source.isEmpty()) {
            main_->ShowMessageBox(LangText(main_->LangStrings, "MsgCorectCD"), 0, 1);
            return;
        }
        copyRecordId_ = id;
        copyThread_ = std::make_unique<TCopyFolderThread>(main_->DataDir, source);
        TCopyFolderThread* thread = copyThread_.get();
        // Reports of a copy that was stopped are dropped with the thread object.
        connect(thread, &TCopyFolderThread::ShowFileCount, thread, [this](int count) {
            ProgressBar->setVisible(true);
            ProgressBar->setRange(0, count);
            ProgressBar->setValue(0);
        });
        connect(thread, &TCopyFolderThread::ShowProgress, thread, [this](int n) { ProgressBar->setValue(n); });
        connect(thread, &TCopyFolderThread::ReportDone, thread,
                [this](const QStringList& failed, const QString& error) {
                    copyFailed_ = failed;
                    copyError_ = error;
                    Guard([this] { CopyCDOK(); });
                });
        bOk->setEnabled(false);
        bCance->setEnabled(false);
        pcSettings->setEnabled(false);
        CanClose = false;
        break;
    }
    default:
        break;
    }
}

void TfInterface::CopyCDOK()
{
    // The worker has ended; its object goes once this report is handled.
    if (copyThread_) {
        copyThread_->setParent(this);
        copyThread_.release()->deleteLater();
    }
    const bool copied = copyFailed_.isEmpty() && copyError_.isEmpty();
    if (copied) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgCopySuccess"), 0, 1);
    } else {
        QString text = LangText(main_->LangStrings, "MsgCopyFailed");
        for (const QString& f : copyFailed_)
            text += "\n" + f;
        if (!copyError_.isEmpty())
            text += "\n" + copyError_;
        main_->ShowMessageBox(text, 0, 2);
    }
    setEnabled(true);
    bOk->setEnabled(true);
    bCance->setEnabled(true);
    pcSettings->setEnabled(true);
    if (copied) {
        SetSoundLocation(copyRecordId_, 1);
        main_->DictManager->SaveAll();
        main_->DictManager->Reload();
    }
    lbDictionarysClick();
    CanClose = true;
    ProgressBar->setRange(0, 0);
    ProgressBar->setVisible(false);
    copyRecordId_ = -1;
}

void TfInterface::CancelCopy()
{
    if (!copyThread_)
        return;
    copyThread_->Cancel();
    copyThread_.reset();
    copyRecordId_ = -1;
    bOk->setEnabled(true);
    bCance->setEnabled(true);
    pcSettings->setEnabled(true);
    ProgressBar->setRange(0, 0);
    ProgressBar->setVisible(false);
    CanClose = true;
}
