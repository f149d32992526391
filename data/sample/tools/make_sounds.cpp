// make_sounds: speaks a deterministic subset of a dictionary's words and writes the sound
// files of every letter section into a folder.
//   make_sounds PLAN FOLDER VOICE [--count N] [--cache DIR] [--jobs N]
#include "data/sample/SoundPlan.h"
#include "data/sample/SoundSynth.h"

#include <cstdio>
#include <iostream>

using namespace SampleData;

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: make_sounds PLAN FOLDER VOICE [--count N] [--cache DIR] [--jobs N]\n";
        return 2;
    }
    std::size_t count = 2000;
    TSynthOptions options;
    options.Voice = argv[3];
    options.CacheFolder = std::string(argv[2]) + ".cache";
    try {
        for (int i = 4; i < argc; ++i) {
            const std::string arg = argv[i];
            if (i + 1 >= argc)
                throw std::invalid_argument(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--count")
                count = std::stoul(value);
            else if (arg == "--cache")
                options.CacheFolder = value;
            else if (arg == "--jobs")
                options.Jobs = static_cast<unsigned>(std::stoul(value));
            else
                throw std::invalid_argument("unknown option " + arg);
        }
        const TSoundPlan plan = ReadSoundPlan(argv[1]);
        const std::vector<TSoundCandidate> chosen = ChooseSounds(plan, count);
        std::vector<std::u16string> words;
        for (const TSoundCandidate& c : chosen)
            words.push_back(c.Word);
        const std::vector<std::string> data = SpeakWords(words, options);
        std::map<std::pair<int, int>, std::string> sounds;
        for (std::size_t i = 0; i < chosen.size(); ++i)
            sounds.emplace(std::make_pair(chosen[i].Section, chosen[i].Index), data[i]);
        WriteSoundFolder(argv[2], plan, sounds);
        std::printf("%s: %zu sounds in %zu sections\n", argv[2], sounds.size(), plan.WordCounts.size());
    } catch (const std::exception& e) {
        std::cerr << "make_sounds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
