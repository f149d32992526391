#include "data/sample/SoundPlan.h"

#include "data/sample/BinaryWriter.h"
#include "platform/Locale.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace SampleData {

bool IsSoundCandidate(std::u16string_view word, std::u16string_view pronunciation)
{
    if (word.size() < 2 || pronunciation.empty())
        return false;
    int capitals = 0;
    for (char16_t c : word) {
        if (U16_IS_SURROGATE(c))
            return false;
        if (!u_isalpha(c))
            return false;
        if (u_isupper(c))
            ++capitals;
    }
    return capitals <= 1;
}

TSoundPlan MakeSoundPlan(const TConvertedDictionary& dictionary)
{
    TSoundPlan plan;
    for (std::size_t s = 0; s < dictionary.Sections.size(); ++s) {
        const TConvertedSection& section = dictionary.Sections[s];
        plan.WordCounts.push_back(static_cast<int>(section.Words.size()));
        for (std::size_t i = 0; i < section.Words.size(); ++i)
            if (IsSoundCandidate(section.Words[i], section.Pronunciations[i]))
                plan.Candidates.push_back({static_cast<int>(s), static_cast<int>(i), section.Words[i]});
    }
    return plan;
}

void WriteSoundPlan(const TConvertedDictionary& dictionary, const std::string& path)
{
    const TSoundPlan plan = MakeSoundPlan(dictionary);
    std::string text;
    for (int count : plan.WordCounts)
        text += "S\t" + std::to_string(count) + "\n";
    for (const TSoundCandidate& c : plan.Candidates)
        text += "W\t" + std::to_string(c.Section) + "\t" + std::to_string(c.Index) + "\t" + Platform::WideToUtf8(c.Word)
            + "\n";
    Platform::WriteFileAtomically(path, text);
}

TSoundPlan ReadSoundPlan(const std::string& path)
{
    std::istringstream in(Platform::ReadWholeFile(path));
    TSoundPlan plan;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty())
            continue;
        std::vector<std::string> f;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', pos);
            f.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
            if (tab == std::string::npos)
                break;
            pos = tab + 1;
        }
        try {
            if (f[0] == "S" && f.size() == 2) {
                plan.WordCounts.push_back(std::stoi(f[1]));
                continue;
            }
            if (f[0] == "W" && f.size() == 4) {
                TSoundCandidate c{std::stoi(f[1]), std::stoi(f[2]), Platform::Utf8ToWide(f[3])};
                if (c.Section < 0 || c.Section >= static_cast<int>(plan.WordCounts.size()) || c.Index < 0
                    || c.Index >= plan.WordCounts[static_cast<std::size_t>(c.Section)])
                    throw std::out_of_range("word outside its section");
                plan.Candidates.push_back(std::move(c));
                continue;
            }
        } catch (const std::exception&) {
        }
        throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": malformed sound plan line");
    }
    return plan;
}

std::vector<TSoundCandidate> ChooseSounds(const TSoundPlan& plan, std::size_t count)
{
    std::vector<TSoundCandidate> chosen = plan.Candidates;
    std::stable_sort(chosen.begin(), chosen.end(), [](const TSoundCandidate& a, const TSoundCandidate& b) {
        if (a.Word.size() != b.Word.size())
            return a.Word.size() < b.Word.size();
        if (a.Section != b.Section)
            return a.Section < b.Section;
        return a.Index < b.Index;
    });
    if (chosen.size() > count)
        chosen.resize(count);
    return chosen;
}

TSectionSoundFiles BuildSectionSoundFiles(int wordCount, std::int64_t firstWordIndex,
                                          const std::map<int, std::string>& sounds)
{
    TSectionSoundFiles files;
    files.Index.reserve(static_cast<std::size_t>(wordCount) * 24);
    for (int k = 0; k < wordCount; ++k) {
        PutInt64(files.Index, firstWordIndex + k);
        const auto it = sounds.find(k);
        if (it == sounds.end() || it->second.empty()) {
            PutInt64(files.Index, 0);
            PutInt64(files.Index, 0);
            continue;
        }
        PutInt64(files.Index, static_cast<std::int64_t>(files.Data.size()));
        PutInt64(files.Index, static_cast<std::int64_t>(it->second.size()));
        files.Data += it->second;
    }
    return files;
}

void WriteSoundFolder(const std::string& folder, const TSoundPlan& plan,
                      const std::map<std::pair<int, int>, std::string>& sounds)
{
    std::filesystem::create_directories(folder);
    std::int64_t first = 0;
    for (std::size_t s = 0; s < plan.WordCounts.size(); ++s) {
        std::map<int, std::string> own;
        for (auto it = sounds.lower_bound({static_cast<int>(s), 0});
             it != sounds.end() && it->first.first == static_cast<int>(s); ++it)
            own.emplace(it->first.second, it->second);
        const TSectionSoundFiles files = BuildSectionSoundFiles(plan.WordCounts[s], first, own);
        const std::string base = folder + "/" + std::to_string(s + 1);
        Platform::WriteFileAtomically(base + ".idx", files.Index);
        Platform::WriteFileAtomically(base + ".snd", files.Data);
        first += plan.WordCounts[s];
    }
    // Files of sections that an earlier build had and this one has not.
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::filesystem::path& p = entry.path();
        const std::string stem = p.stem().string();
        if ((p.extension() != ".idx" && p.extension() != ".snd") || stem.empty()
            || stem.find_first_not_of("0123456789") != std::string::npos || stem.size() > 3)
            continue;
        if (std::stoul(stem) > plan.WordCounts.size() || std::stoul(stem) == 0)
            std::filesystem::remove(p);
    }
}

}  // namespace SampleData
