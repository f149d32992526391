#include "app/InterfaceLanguage.h"

#include "engine/LittleEndian.h"
#include "engine/WideStringList.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

constexpr std::int64_t kHeaderSize = 4;
constexpr std::int64_t kRecordSize = 56;
constexpr std::int64_t kIdOffset = 42;
constexpr std::int64_t kTextOffset = 48;
constexpr std::int64_t kTextLength = 52;

[[noreturn]] void ReadError()
{
    throw EReadError("Stream read error");
}

// The file, read piece by piece; every read is checked against the file's size first, so a
// damaged count, offset or length fails before anything is allocated for it.
class TLangFile {
public:
    explicit TLangFile(const std::string& path)
        : stream_(path, std::ios::binary)
    {
        if (!stream_)
            throw EReadError("Cannot open file \"" + path + "\"");
        stream_.seekg(0, std::ios::end);
        size_ = static_cast<std::int64_t>(stream_.tellg());
        if (size_ < 0)
            ReadError();
    }

    std::string Read(std::int64_t offset, std::int64_t length)
    {
        if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset)
            ReadError();
        std::string bytes(static_cast<size_t>(length), '\0');
        stream_.seekg(offset);
        if (!stream_.read(bytes.data(), static_cast<std::streamsize>(length)))
            ReadError();
        return bytes;
    }

    // The number of language records the header announces (N + 1; 0 when N < 0).
    std::int64_t RecordCount() { return std::max<std::int64_t>(0, std::int64_t{GetInt32(Read(0, 4).data())} + 1); }

    // Record I (which must lie within the file).
    std::string Record(std::int64_t i) { return Read(kHeaderSize + kRecordSize * i, kRecordSize); }

    // The text block a record points at; its length must be even.
    std::u16string Text(const std::string& record)
    {
        const std::int32_t offset = GetInt32(record.data() + kTextOffset);
        const std::int32_t length = GetInt32(record.data() + kTextLength);
        if (length % 2 != 0)
            ReadError();
        return BytesToWide(Read(offset, length));
    }

private:
    std::ifstream stream_;
    std::int64_t size_ = 0;
};

std::int16_t RecordId(const std::string& record)
{
    return static_cast<std::int16_t>(GetUInt16(record.data() + kIdOffset));
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool LoadInterfaceLanguage(const std::string& langFile, std::int16_t id, TWideStrings& strings)
{
    if (!FileExists(langFile))
        return false;
    TLangFile file(langFile);
    const std::int64_t count = file.RecordCount();
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string record = file.Record(i);
        if (RecordId(record) == id) {
            strings.SetTextStr(file.Text(record));
            return true;
        }
    }
    return false;
}

std::vector<TInterfaceLanguage> ListInterfaceLanguages(const std::string& langFile)
{
    std::vector<TInterfaceLanguage> languages;
    if (!FileExists(langFile))
        return languages;
    try {
        TLangFile file(langFile);
        const std::int64_t count = file.RecordCount();
        for (std::int64_t i = 0; i < count; ++i) {
            const std::string record = file.Record(i);  // a short file ends the list
            try {
                TWideStringList text;
                text.SetTextStr(file.Text(record));
                languages.push_back({RecordId(record), text.GetValue(u"Name")});
            } catch (const EReadError&) {
                // A record whose text lies outside the file is left out.
            }
        }
    } catch (const EReadError&) {
    }
    return languages;
}
