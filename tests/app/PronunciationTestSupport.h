// Sounds for the main-window tests: a dictionary's per-block sound files written into the
// test program folder, the catalogue's sound-location byte, and the decoder library copied
// beside the program.
#pragma once

#include "engine/DictManager.h"
#include "tests/components/MPEGPlayerTestSupport.h"

#include <QFile>
#include <QString>

#include <map>

namespace PronunciationTest {

inline void PutInt64(std::string& s, std::int64_t v)
{
    for (int i = 0; i < 8; ++i)
        s += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
}

// Writes "<block + 1>.idx" and ".snd" of Block into Data/<DictFile>/: WordCount records,
// the words in Sounds with their data, the others without a sound.
inline void WriteBlockSounds(const QString& programDir, const std::string& dictFile, int block, int wordCount,
                             const std::map<int, std::string>& sounds)
{
    const std::string folder = programDir.toStdString() + "Data/" + dictFile + "/";
    std::filesystem::create_directories(folder);
    std::string index, data;
    for (int k = 0; k < wordCount; ++k) {
        PutInt64(index, k);
        const auto it = sounds.find(k);
        PutInt64(index, it == sounds.end() ? 0 : static_cast<std::int64_t>(data.size()));
        PutInt64(index, it == sounds.end() ? 0 : static_cast<std::int64_t>(it->second.size()));
        if (it != sounds.end())
            data += it->second;
    }
    PlayerTest::WriteFile(folder + std::to_string(block + 1) + ".idx", index);
    PlayerTest::WriteFile(folder + std::to_string(block + 1) + ".snd", data);
}

// Overwrites record Word of Block's index with Offset and Length.
inline void DamageRecord(const QString& programDir, const std::string& dictFile, int block, int word,
                         std::int64_t offset, std::int64_t length)
{
    const std::string file = programDir.toStdString() + "Data/" + dictFile + "/" + std::to_string(block + 1) + ".idx";
    std::string index = PlayerTest::ReadFile(file);
    std::string patch;
    PutInt64(patch, offset);
    PutInt64(patch, length);
    index.replace(static_cast<std::size_t>(word) * 24 + 8, 16, patch);
    PlayerTest::WriteFile(file, index);
}

// Sets every catalogue record's sound location (0 CD, 1 disk, 2 none).
inline void SetSoundSource(const QString& programDir, std::uint8_t source)
{
    TDictManager manager((programDir + "Data/DICTIONARYS.DNT").toStdString());
    for (TDictionaryRecord& r : manager.Records)
        r.SoundSource = source;
    manager.SaveAll();
}

// The decoder library beside the program, where the window looks for it.
inline void CopyDecoderLibrary(const QString& programDir)
{
    const QString from = TMPEGPlayer::LibraryFileName(PlayerTest::LibraryFolder());
    QFile::remove(programDir + "libSonarel.so");
    if (!QFile::copy(from, programDir + "libSonarel.so"))
        throw std::runtime_error("build the Sonarel target first: " + from.toStdString());
}

}  // namespace PronunciationTest
