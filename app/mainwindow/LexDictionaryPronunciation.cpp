// Pronunciation: the word's slice of the dictionary's sound files, found through the index
// record of its letter block and played from memory by the player component.
#include "app/mainwindow/LexDictionary.h"
#include "components/ClipboardViewer.h"
#include "components/InterfaceText.h"
#include "engine/FolderUtils.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"

#include <QFile>
#include <QFileInfo>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace {

constexpr const char* kTag = "Tag";  // the speak button's tag: 1 while a sound plays

// Editions of a maker's dictionary file.
constexpr std::uint8_t kEditionPro = 1;
constexpr std::uint8_t kEditionFree = 2;

}  // namespace

int TfLexDictionary::SoundSource() const
{
    const TDictionaryRecord* r = SelectedRecord();
    if (r == nullptr)
        return 2;
    return r->SoundSource == 0 ? 0 : r->SoundSource == 1 ? 1 : 2;
}

TSoundRecord TfLexDictionary::ReadSoundIndexRecord(std::int32_t index, const QString& indexFile) const
{
    SoundFiles::TSoundIndexRecord r;
    SoundFiles::ReadSoundIndexRecord(QFile::encodeName(indexFile).toStdString(), index, r);
    return TSoundRecord{r.Reserved, r.Offset, r.Length};
}

bool TfLexDictionary::Speaking() const
{
    return bSeyWord->property(kTag).toInt() == 1;
}

void TfLexDictionary::ShowProNotice()
{
    QFile notice(DataDir + CurrentDictionaryFile + "/Pro.rtf");
    if (!notice.open(QIODevice::ReadOnly))
        return;
    // A notice of a few kilobytes; anything larger is not ours.
    const QByteArray rtf = notice.read(1024 * 1024);
    RichText::ReadRtf(rtf.toStdString(), *reDescription->document());
}

void TfLexDictionary::bSeyWordClick()
{
    if (SoundWordIndex == -1 || SoundBlock < 0 || Speaking() || !Dictionary)
        return;
    const std::uint8_t edition = Dictionary->GetDictionaryKind();
    const bool proOrFree = edition == kEditionPro || edition == kEditionFree;
    QString folder;
    if (!proOrFree) {
        switch (SoundSource()) {
        case 0: {
            if (Settings.CDROM.empty()) {
                ShowMessageBox(LangText(LangStrings, "MsgSetCDROMDrive"), 0, 1);
                return;
            }
            QString root = ToQString(Settings.CDROM);
            if (!root.endsWith('/'))
                root += '/';
            folder = root + CurrentDictionaryFile + "/";
            const QString data = QString::fromStdString(
                SoundFiles::SoundFileName(QFile::encodeName(folder).toStdString(), SoundBlock, ".snd"));
            if (!IsDriveReady(QFile::encodeName(root).toStdString()) || !QFileInfo::exists(data)) {
                ShowMessageBox(LangText(LangStrings, "MsgCorectCD"), 0, 1);
                return;
            }
            break;
        }
        case 1:
            folder = DataDir + CurrentDictionaryFile + "/";
            break;
        default:
            return;
        }
    } else {
        folder = DataDir + CurrentDictionaryFile + "/";
    }
    const std::string base = QFile::encodeName(folder).toStdString();
    SoundFile = QFile::decodeName(QByteArray::fromStdString(SoundFiles::SoundFileName(base, SoundBlock, ".snd")));
    soundIndexFile_ = QFile::decodeName(QByteArray::fromStdString(SoundFiles::SoundFileName(base, SoundBlock, ".idx")));
    if (!QFileInfo::exists(SoundFile)) {
        if (proOrFree)
            ShowProNotice();
        else
            ShowMessageBox(QStringLiteral("Can not find file: ") + SoundFile, 0, 2);
        return;
    }
    SoundRecord = ReadSoundIndexRecord(SoundWordIndex, soundIndexFile_);
    if (SoundRecord.Length != 0) {
        // Busy before the start: a short sound may end, and reset the button, within the start.
        bSeyWord->setProperty(kTag, 1);
        bSeyWord->setDown(true);
        try {
            MPEGPlayer->OpenStream();
            MPEGPlayer->PlayStream();
        } catch (...) {
            bSeyWord->setProperty(kTag, 0);
            bSeyWord->setDown(false);
            throw;
        }
    } else if (proOrFree) {
        ShowProNotice();
    }
}

void TfLexDictionary::BindPlayer()
{
    // Created with the player, as the last components of the window: copies on the clipboard
    // are looked up from now on.
    if (ClipboardViewer1 == nullptr) {
        ClipboardViewer1 = new TClipboardViewer(this);
        ClipboardViewer1->setObjectName("ClipboardViewer1");
        connect(ClipboardViewer1, &TClipboardViewer::OnText, this,
                [this] { Guard([this] { ClipboardViewer1Text(); }); });
    }
    if (!playerOwner_) {
        playerOwner_ = std::make_unique<TMPEGPlayer>();
        MPEGPlayer = playerOwner_.get();
    }
    bSeyWord->setProperty(kTag, 0);
    MPEGPlayer->PathToDLL = AppDir;
    MPEGPlayer->FromStream = true;
    MPEGPlayer->UseTimer = true;
    MPEGPlayer->SetTimerFreq(50);
    MPEGPlayer->OnOpenStream = [this](bool& nonseekable, void*& context) {
        MPEGPlayerOpenStream(nonseekable, context);
    };
    MPEGPlayer->OnReadStream = [this](void* context, void* buffer, int count, int& read, bool& result) {
        PlayerReadStream(context, buffer, count, read, result);
    };
    MPEGPlayer->OnSeekStream = [this](void* context, int offset, int origin, int& position) {
        PlayerSeekStream(context, offset, origin, position);
    };
    MPEGPlayer->OnGetStreamSize = [this](void* context, int& size) { PlayerGetStreamSize(context, size); };
    MPEGPlayer->OnCloseStream = [this](void* context) { PlayerCloseStream(context); };
    MPEGPlayer->OnPlayEnd = [this](TMPEGPlayer*) { Guard([this] { MPEGPlayerPlayEnd(); }); };
    try {
        MPEGPlayer->BindLibrary();
    } catch (const TMPEGError&) {
        // The program runs on without sound; speaking reports the player's error then.
    }
}

void TfLexDictionary::MPEGPlayerOpenStream(bool& nonseekable, void*& context)
{
    context = nullptr;
    nonseekable = false;
    std::string bytes;
    // A slice outside the file or a short file opens nothing: the player reports a stream
    // error and nothing is read beyond the file.
    if (SoundFiles::ReadSoundSlice(QFile::encodeName(SoundFile).toStdString(), SoundRecord.Offset, SoundRecord.Length,
                                   bytes)
        != SoundFiles::TSliceResult::Ok)
        return;
    auto stream = std::make_unique<SoundFiles::TSoundStream>(std::move(bytes));
    context = stream.get();
    std::lock_guard<std::mutex> lock(soundStreamsLock_);
    soundStreams_.push_back(std::move(stream));
}

// Read and seek run on the library's playback thread: they touch only the given stream.
void TfLexDictionary::PlayerReadStream(void* context, void* buffer, int count, int& bytesRead, bool& result)
{
    bytesRead = static_cast<SoundFiles::TSoundStream*>(context)->Read(buffer, count);
    result = true;
}

void TfLexDictionary::PlayerSeekStream(void* context, int offset, int origin, int& newPosition)
{
    const std::int64_t p = static_cast<SoundFiles::TSoundStream*>(context)->Seek(offset, origin);
    newPosition = static_cast<int>(p);
}

void TfLexDictionary::PlayerGetStreamSize(void* context, int& size)
{
    // Slices are at most kMaxSliceLength long, so the size fits.
    size = static_cast<int>(static_cast<SoundFiles::TSoundStream*>(context)->Size());
}

void TfLexDictionary::PlayerCloseStream(void* context)
{
    std::lock_guard<std::mutex> lock(soundStreamsLock_);
    std::erase_if(soundStreams_, [context](const auto& s) { return s.get() == context; });
}

void TfLexDictionary::MPEGPlayerPlayEnd()
{
    bSeyWord->setProperty(kTag, 0);
    bSeyWord->setDown(false);
}
