// freedict2tdd: converts a FreeDict dictd database into a maker's dictionary and prints the
// words per section.
//   freedict2tdd INDEX DICT_DZ SOURCE TARGET OUT.TDD --name NAME --number N [--sounds]
//                [--date TEXT] [--sound-plan FILE]
#include "data/sample/FreedictConverter.h"
#include "data/sample/SoundPlan.h"
#include "data/sample/TddOutput.h"
#include "platform/Locale.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

using namespace SampleData;

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::cerr << "usage: freedict2tdd INDEX DICT_DZ SOURCE TARGET OUT.TDD --name NAME --number N "
                     "[--sounds] [--date TEXT] [--sound-plan FILE]\n";
        return 2;
    }
    TConvertOptions options;
    options.SourceCode = argv[3];
    options.TargetCode = argv[4];
    const std::string out = argv[5];
    options.FileName = std::filesystem::path(out).stem().string();
    options.Name = options.FileName;
    options.Date = "2022-04-15";
    std::string planFile;
    try {
        for (int i = 6; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc)
                    throw std::invalid_argument(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--name")
                options.Name = value();
            else if (arg == "--number")
                options.Number = std::stoi(value());
            else if (arg == "--sounds")
                options.HasSounds = true;
            else if (arg == "--date")
                options.Date = value();
            else if (arg == "--sound-plan")
                planFile = value();
            else
                throw std::invalid_argument("unknown option " + arg);
        }
    } catch (const std::exception& e) {
        std::cerr << "freedict2tdd: " << e.what() << "\n";
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const TDictdDatabase db(argv[1], argv[2]);
        const double readMs = MillisecondsSince(start);
        TConvertedDictionary dict = ConvertFreedict(db, options);
        const double convertMs = MillisecondsSince(start) - readMs;
        std::printf("%s: %zu entries, %zu words in %zu sections (read %.0f ms, convert %.0f ms)\n", out.c_str(),
                    dict.EntryCount, dict.WordCount, dict.Sections.size(), readMs, convertMs);
        for (std::size_t s = 0; s < dict.Sections.size(); ++s)
            std::printf("  section %2zu %s: %zu\n", s,
                        Platform::WideToUtf8(std::u16string(1, dict.Sections[s].Letter)).c_str(),
                        dict.Sections[s].Words.size());
        if (!planFile.empty())
            WriteSoundPlan(dict, planFile);
        WriteMakersDictionary(std::move(dict), out);
        std::printf("written; %.0f ms in all\n", MillisecondsSince(start));
    } catch (const std::exception& e) {
        std::cerr << "freedict2tdd: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
