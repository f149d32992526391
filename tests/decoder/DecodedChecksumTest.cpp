// Every test stream decoded through the exports into a WAVE file must give the same bytes as the
// table recorded before the decoder's speed work (decoded_checksums.txt: "stream fnv1a-64" per
// line, streams relative to the test data folder). SONAREL_PRINT_CHECKSUMS=1 prints the table
// of the streams found instead of checking it, for a deliberate change of the output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PlayerTestSupport.h"

using namespace player_test;

namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 0x100000001b3ull;
    }
    return h;
}

struct Entry {
    std::string stream;
    std::string checksum;
};

std::vector<Entry> Table()
{
    std::vector<Entry> entries;
    std::ifstream in(DECODED_CHECKSUMS);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry e;
        if (fields >> e.stream >> e.checksum && e.stream[0] != '#')
            entries.push_back(e);
    }
    return entries;
}

// The streams the build made before the decoder learnt tags and Info frames.
std::vector<std::string> StreamsFound()
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    const fs::path root = decoder_test::DataDir();
    for (const char* sub : {"", "layer3", "player"}) {
        if (!fs::is_directory(root / sub))
            continue;
        for (const auto& e : fs::directory_iterator(root / sub)) {
            const std::string ext = e.path().extension().string();
            if (ext == ".mp1" || ext == ".mp2" || ext == ".mp3" || ext == ".mpa")
                names.push_back(fs::relative(e.path(), root).string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

class DecodedChecksum : public ExportsFixture<> {
protected:
    // The WAVE file of the whole stream, decoded through the exports.
    std::string Decode(const std::string& stream)
    {
        const std::string path = decoder_test::DataDir() + "/" + stream;
        if (!api.Open(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            return "open failed";
        if (api.Play(0, 0, &done) != 0 || !WaitDone())
            return "play failed";
        api.Close();
        std::ostringstream s;
        s << std::hex << Fnv1a(decoder_test::ReadFileBytes(wav));
        return s.str();
    }
};

TEST_F(DecodedChecksum, EveryTestStreamDecodesAsBefore)
{
    if (const char* print = std::getenv("SONAREL_PRINT_CHECKSUMS"); print != nullptr && *print == '1') {
        for (const std::string& stream : StreamsFound())
            std::printf("%s %s\n", stream.c_str(), Decode(stream).c_str());
        return;
    }
    const std::vector<Entry> table = Table();
    ASSERT_GE(table.size(), 30u);
    for (const Entry& e : table)
        EXPECT_EQ(Decode(e.stream), e.checksum) << e.stream;
}
