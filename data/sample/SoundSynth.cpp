#include "data/sample/SoundSynth.h"

#include "data/sample/BinaryWriter.h"
#include "platform/Locale.h"

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace SampleData {
namespace {

// Runs a program with its arguments (no shell) and waits; true when it exits with 0.
bool Run(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string HexName(const std::string& utf8)
{
    static const char hex[] = "0123456789abcdef";
    std::string name;
    for (unsigned char c : utf8) {
        name += hex[c >> 4];
        name += hex[c & 15];
    }
    return name;
}

std::string SpeakOne(const std::u16string& word, const TSynthOptions& options, const std::string& folder)
{
    const std::string text = Platform::WideToUtf8(word);
    const std::string base = folder + "/" + HexName(text).substr(0, 200);
    const std::string mp3 = base + ".mp3";
    if (!std::filesystem::exists(mp3)) {
        const std::string wav = base + ".wav";
        const std::string part = base + ".part";
        if (!Run({"espeak-ng", "-v", options.Voice, "-w", wav, "--", text}))
            throw std::runtime_error("espeak-ng failed on '" + text + "'");
        const bool encoded = Run({"lame", "-t", "-b", "32", "-m", "m", "--quiet", wav, part});
        std::filesystem::remove(wav);
        if (!encoded)
            throw std::runtime_error("lame failed on '" + text + "'");
        std::filesystem::rename(part, mp3);
    }
    return Platform::ReadWholeFile(mp3);
}

}  // namespace

std::vector<std::string> SpeakWords(const std::vector<std::u16string>& words, const TSynthOptions& options)
{
    const std::string folder = options.CacheFolder + "/" + options.Voice;
    std::filesystem::create_directories(folder);
    std::vector<std::string> sounds(words.size());
    std::atomic<std::size_t> next{0};
    std::mutex errorLock;
    std::string error;
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next++;
            if (i >= words.size())
                return;
            try {
                sounds[i] = SpeakOne(words[i], options, folder);
            } catch (const std::exception& e) {
                std::lock_guard guard(errorLock);
                if (error.empty())
                    error = e.what();
                next = words.size();
            }
        }
    };
    unsigned jobs = options.Jobs ? options.Jobs : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::jthread> threads;
    for (unsigned j = 0; j < jobs; ++j)
        threads.emplace_back(worker);
    threads.clear();
    if (!error.empty())
        throw std::runtime_error(error);
    return sounds;
}

}  // namespace SampleData
