// Spoken words: espeak-ng speaks a word into a WAVE file and lame encodes it as bare MPEG-2
// Layer III frames (22.05 kHz, mono, 32 kbit/s, no Info frame, no tag). Words are spoken in
// parallel; each result is kept in a cache folder so that a rebuild speaks only new words.
#pragma once

#include <string>
#include <vector>

namespace SampleData {

struct TSynthOptions {
    std::string Voice;        // espeak-ng voice, e.g. "en" or "de"
    std::string CacheFolder;  // where finished sounds are kept
    unsigned Jobs = 0;        // 0 = one per core
};

// The MPEG data of each word, in order. Throws std::runtime_error naming the word whose
// speaking or encoding failed.
std::vector<std::string> SpeakWords(const std::vector<std::u16string>& words, const TSynthOptions& options);

}  // namespace SampleData
