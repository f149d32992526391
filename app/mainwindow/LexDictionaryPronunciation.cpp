// Pronunciation: the word's slice of the dictionary's sound files played by the player
// component (which comes with its issue).
#include "app/mainwindow/LexDictionary.h"

#include <QFile>

int TfLexDictionary::SoundSource() const
{
    const TDictionaryRecord* r = SelectedRecord();
    if (r == nullptr)
        return 2;
    return r->SoundSource == 0 ? 0 : r->SoundSource == 1 ? 1 : 2;
}

TSoundRecord TfLexDictionary::ReadSoundIndexRecord(std::int32_t index, const QString& indexFile) const
{
    TSoundRecord record;
    QFile f(indexFile);
    if (index < 0 || !f.open(QIODevice::ReadOnly) || !f.seek(static_cast<qint64>(index) * 24))
        return record;
    const QByteArray bytes = f.read(24);
    if (bytes.size() != 24)
        return record;
    auto int64At = [&bytes](int at) {
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
        return static_cast<std::int64_t>(v);
    };
    record.Reserved = int64At(0);
    record.Offset = int64At(8);
    record.Length = int64At(16);
    return record;
}

void TfLexDictionary::bSeyWordClick()
{
}
void TfLexDictionary::BindPlayer()
{
}
void TfLexDictionary::MPEGPlayerPlayEnd()
{
}
