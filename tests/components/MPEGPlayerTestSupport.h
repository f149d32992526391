// Helpers of the player tests: the built decoder library, a spoken test word (espeak-ng ->
// lame, bare MPEG frames, as the sample data makes them), an in-memory stream that serves the
// player's stream events, and a copy of the library with one export hidden.
#pragma once

#include "components/MPEGPlayer.h"
#include "tests/platform/CabinetTestSupport.h"

#include <QTest>

#include <QFile>

#include <dlfcn.h>
#include <elf.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace PlayerTest {

using CabinetTest::ReadFile;
using CabinetTest::RunProgram;
using CabinetTest::TScratch;
using CabinetTest::WriteFile;
namespace fs = std::filesystem;

// The folder of libSonarel.so: SONAREL_LIBRARY_DIR, else build/program beside this test's
// build folder (build/tests/components).
inline QString LibraryFolder()
{
    if (const char* dir = std::getenv("SONAREL_LIBRARY_DIR"))
        return QString::fromLocal8Bit(dir);
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    return QString::fromStdString((exe.parent_path() / "../../program").lexically_normal().string());
}

// Bare MPEG frames of a spoken word, made once per test run.
inline const std::string& SpokenWord()
{
    static const std::string word = [] {
        TScratch scratch;
        if (RunProgram({"espeak-ng", "-w", scratch / "w.wav", "dictionary"}) != 0
            || RunProgram({"lame", "-t", "-b", "32", "-m", "m", "--quiet", scratch / "w.wav", scratch / "w.mp3"}) != 0)
            throw std::runtime_error("espeak-ng or lame failed");
        return ReadFile(scratch / "w.mp3");
    }();
    return word;
}

// The stream the owner serves: a memory copy of the sound, as the main window keeps it.
struct TMemoryStream {
    std::string Data;
    std::size_t Position = 0;
    std::atomic<int> Reads{0};
    std::atomic<int> ReadsOffMainThread{0};
};

// Counts what the player's stream events did.
struct TStreamLog {
    std::vector<void*> Opened;
    std::vector<void*> Closed;
    std::vector<std::unique_ptr<TMemoryStream>> Streams;
};

// Assigns the six stream events to serve Data from memory.
inline void ServeFromMemory(TMPEGPlayer& player, TStreamLog& log, const std::string& data)
{
    const std::thread::id mainThread = std::this_thread::get_id();
    player.FromStream = true;
    player.OnOpenStream = [&log, data](bool& nonseekable, void*& context) {
        log.Streams.push_back(std::make_unique<TMemoryStream>());
        log.Streams.back()->Data = data;
        context = log.Streams.back().get();
        nonseekable = false;
        log.Opened.push_back(context);
    };
    player.OnCloseStream = [&log](void* context) { log.Closed.push_back(context); };
    player.OnRestartStream = [](void* context, bool& res) {
        static_cast<TMemoryStream*>(context)->Position = 0;
        res = true;
    };
    player.OnGetStreamSize = [](void* context, int& res) {
        res = static_cast<int>(static_cast<TMemoryStream*>(context)->Data.size());
    };
    player.OnSeekStream = [](void* context, int numbytes, int moveMethod, int& res) {
        auto* s = static_cast<TMemoryStream*>(context);
        const long long base = moveMethod == 0 ? 0
            : moveMethod == 1                  ? static_cast<long long>(s->Position)
                                               : static_cast<long long>(s->Data.size());
        const long long target = base + numbytes;
        if (target < 0 || target > static_cast<long long>(s->Data.size())) {
            res = -1;
            return;
        }
        s->Position = static_cast<std::size_t>(target);
        res = static_cast<int>(target);
    };
    player.OnReadStream = [mainThread](void* context, void* buffer, int count, int& read, bool& res) {
        auto* s = static_cast<TMemoryStream*>(context);
        ++s->Reads;
        if (std::this_thread::get_id() != mainThread)
            ++s->ReadsOffMainThread;
        const std::size_t n = std::min(static_cast<std::size_t>(count), s->Data.size() - s->Position);
        std::memcpy(buffer, s->Data.data() + s->Position, n);
        s->Position += n;
        read = static_cast<int>(n);
        res = true;
    };
}

// Copies libSonarel.so into Folder with the export Name hidden: its entry in the dynamic
// string table is renamed, so the dynamic linker no longer finds it.
inline void CopyWithoutExport(const QString& libraryFolder, const std::string& folder, const std::string& name)
{
    std::string image = ReadFile(TMPEGPlayer::LibraryFileName(libraryFolder).toStdString());
    if (image.size() < sizeof(Elf64_Ehdr))
        throw std::runtime_error("library too small");
    Elf64_Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    std::memcpy(sections.data(), image.data() + header.e_shoff, sections.size() * sizeof(Elf64_Shdr));
    const Elf64_Shdr& names = sections.at(header.e_shstrndx);
    for (const Elf64_Shdr& section : sections) {
        if (std::strcmp(image.data() + names.sh_offset + section.sh_name, ".dynstr") != 0)
            continue;
        const std::string_view table(image.data() + section.sh_offset, section.sh_size);
        const std::size_t at = table.find(std::string(1, '\0') + name + '\0');
        if (at == std::string_view::npos)
            throw std::runtime_error("export not found: " + name);
        image[section.sh_offset + at + 1] = 'X';
        WriteFile(folder + "/libSonarel.so", image);
        return;
    }
    throw std::runtime_error("no .dynstr");
}

// Waits up to Ms for Done, serving events meanwhile; the limit only matters when something
// hangs (a sanitized build on a loaded machine is slow).
template <typename F> bool WaitFor(F done, int ms = 60000)
{
    for (int waited = 0; waited < ms && !done(); waited += 5)
        QTest::qWait(5);
    return done();
}

// The playback mode of the library a player in this process has loaded from Folder (3
// playing, 4 paused); -1 when it is not loaded.
inline int LibraryPlayerMode(const QString& folder)
{
    const QByteArray file = QFile::encodeName(TMPEGPlayer::LibraryFileName(folder));
    void* library = ::dlopen(file.constData(), RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr)
        return -1;
    auto mode = reinterpret_cast<int32_t (*)()>(::dlsym(library, "GetPlayerMode"));
    const int result = mode != nullptr ? mode() : -1;
    ::dlclose(library);
    return result;
}

// Reads the size of the data chunk of a WAVE file; -1 when there is none.
inline long long WaveDataSize(const std::string& path)
{
    const std::string wave = ReadFile(path);
    if (wave.size() < 12 || wave.compare(0, 4, "RIFF") != 0 || wave.compare(8, 4, "WAVE") != 0)
        return -1;
    std::size_t at = 12;
    while (at + 8 <= wave.size()) {
        uint32_t size = 0;
        std::memcpy(&size, wave.data() + at + 4, 4);
        if (wave.compare(at, 4, "data") == 0)
            return size;
        at += 8 + size + (size & 1);
    }
    return -1;
}

}  // namespace PlayerTest
