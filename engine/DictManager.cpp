#include "engine/DictManager.h"

#include "engine/CompressedText.h"
#include "engine/DictionaryFormat.h"
#include "engine/DictionaryIO.h"
#include "engine/WideText.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/SafeFile.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRecordSize = TDictionaryRecord::Size;

// The information block does not make a record.
struct EBadInformation {};

enum class TLayout { Makers, User };

bool ReadWholeFile(const std::string& name, std::string& bytes)
{
    try {
        bytes = Platform::ReadWholeFile(name);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

bool LayoutOfExtension(const std::string& fileName, TLayout& layout)
{
    std::string ext = fs::path(fileName).extension().string();
    for (char& c : ext)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (ext == ".UDD") {
        layout = TLayout::User;
        return true;
    }
    if (ext == ".TDD" || ext == ".TDI") {
        layout = TLayout::Makers;
        return true;
    }
    return false;
}

// The inflated information block of an opened dictionary file. Reads outside the file throw
// EDictionaryFormatError.
std::string ReadInformation(const Dictionary::TDictionaryFile& f, TLayout layout)
{
    using namespace Dictionary;
    const TSectionEntry info = DecodeSectionEntry(f.Read(kInfoEntryPos, kEntrySize).data());
    if (info.Offset < 0 || info.Length < 0)
        throw EDictionaryFormatError("information block outside the file");
    const std::int64_t base = layout == TLayout::Makers ? kMakerDataBase : 0;
    try {
        return DecompressText(f.Read(base + info.Offset, info.Length));
    } catch (const ECompressionError&) {
        throw EBadInformation{};
    }
}

std::int16_t ParseNumber(const std::string& text)
{
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last || value < std::numeric_limits<std::int16_t>::min()
        || value > std::numeric_limits<std::int16_t>::max())
        throw EBadInformation{};
    return static_cast<std::int16_t>(value);
}

std::uint8_t KindOfKey(const std::string& key)
{
    if (key == "TavorGeneral")
        return 1;
    if (key == "Language")
        return 2;
    if (key == "General")
        return 3;
    return 0;  // "TavorLanguage" and anything unknown
}

TDictionaryRecord RecordOfInformation(std::string_view text)
{
    TDictionaryRecord record;
    const Dictionary::TDictionaryInfo info = Dictionary::ParseInfoBlock(text);

    record.Version.Assign(info.Version);
    record.Number = ParseNumber(info.Number);
    record.Name.Assign(info.Name);
    record.Description.Assign(info.Description);
    record.ShellFlag = info.ShellTag == "@X1" ? 1 : 0;
    record.Kind = KindOfKey(info.KindKey);
    record.LanguagePair.Assign(info.LanguagePair);
    record.DictionaryFile.Assign(info.FileName);
    record.Sounds = info.Sounds == "Sounds" ? 1 : 0;

    switch (record.Kind) {
    case 1:
        record.SourceCode.Assign("TGD");
        record.TargetCode.Assign("TGD");
        break;
    case 3:
        record.SourceCode.Assign("UGD");
        record.TargetCode.Assign("UGD");
        break;
    default: {
        const std::string pair = record.LanguagePair.Str();
        record.SourceCode.Assign(pair.substr(0, std::min<std::size_t>(3, pair.size())));
        record.TargetCode.Assign(pair.size() > 3 ? pair.substr(3, 3) : std::string());
    }
    }
    record.SoundSource = record.Sounds ? 0 : 2;
    record.Enabled = 1;
    return record;
}

bool SameDictionary(const TDictionaryRecord& a, const TDictionaryRecord& b)
{
    return a.SourceCode.Str() == b.SourceCode.Str() && a.TargetCode.Str() == b.TargetCode.Str() && a.Number == b.Number
        && a.Kind == b.Kind && a.DictionaryFile.Str() == b.DictionaryFile.Str();
}

// Text upper-cased in the system code page (ASCII letters only when it cannot be converted).
std::u16string UpperWide(const std::string& text)
{
    std::u16string wide;
    try {
        wide = Platform::AnsiToWide(text);
    } catch (const std::exception&) {
        wide.assign(text.begin(), text.end());
        for (char16_t& c : wide)
            c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : static_cast<char16_t>(c & 0xFF);
        return wide;
    }
    for (char16_t& c : wide)
        c = WideUpperChar(c);
    return wide;
}

std::string RecordsBytes(const TDictionaryList& records)
{
    std::string bytes(records.size() * kRecordSize, '\0');
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].ToBytes(bytes.data() + i * kRecordSize);
    return bytes;
}

}  // namespace

TDictManager::TDictManager(std::string CatalogueFile)
    : CatalogueFile(std::move(CatalogueFile))
{
    Reload();
}

std::int32_t TDictManager::Count() const
{
    return static_cast<std::int32_t>(Records.size());
}

std::int32_t TDictManager::CountEnabled() const
{
    std::int32_t n = 0;
    for (const TDictionaryRecord& record : Records)
        n += record.Enabled != 0 ? 1 : 0;
    return n;
}

DictNames TDictManager::GetSourceLanguages() const
{
    DictNames codes;
    for (const TDictionaryRecord& record : Records) {
        std::string code = record.SourceCode.Str();
        bool known = false;
        for (const std::string& c : codes)
            known = known || c == code;
        if (!known)
            codes.push_back(std::move(code));
    }
    return codes;
}

DescNames TDictManager::GetDictionaries(const std::string& Code, bool EnabledOnly) const
{
    DescNames list;
    for (const TDictionaryRecord& record : Records) {
        if (record.SourceCode.Str() != Code || (EnabledOnly && record.Enabled == 0))
            continue;
        TDescName name;
        name.Id = record.Id;
        name.TargetCode = record.TargetCode.Str();
        name.Text = (record.Kind == 1 || record.Kind == 3) ? record.Name.Str() : record.LanguagePair.Str();
        name.Kind = record.Kind;
        list.push_back(std::move(name));
    }
    return list;
}

std::int16_t TDictManager::InstallDictionary(const std::string& DictionaryFileName)
{
    try {
        // The catalogue must exist and be open to reading and writing.
        std::string catalogue;
        if (!std::fstream(CatalogueFile, std::ios::in | std::ios::out | std::ios::binary)
            || !ReadWholeFile(CatalogueFile, catalogue))
            return irCannotOpen;

        std::unique_ptr<Dictionary::TDictionaryFile> dictionary;
        try {
            dictionary = std::make_unique<Dictionary::TDictionaryFile>(DictionaryFileName);
        } catch (const Dictionary::EDictionaryIOError&) {
            return irCannotOpen;
        }
        const auto magicSize = static_cast<std::int64_t>(Dictionary::kMagic.size());
        if (dictionary->Size() < magicSize || dictionary->Read(0, magicSize) != Dictionary::kMagic)
            return irCannotOpen;
        TLayout layout;
        if (!LayoutOfExtension(DictionaryFileName, layout))
            return irCannotOpen;

        TDictionaryRecord record = RecordOfInformation(ReadInformation(*dictionary, layout));
        const std::size_t wholeRecords = catalogue.size() / kRecordSize;
        record.Id = static_cast<std::int32_t>(wholeRecords);

        for (const TDictionaryRecord& installed : Records) {
            if (SameDictionary(installed, record))
                return irAlreadyInstalled;
        }

        // The new record goes after the last whole record; a torn tail is dropped, so the
        // record lands where its Id says.
        catalogue.resize(wholeRecords * kRecordSize + kRecordSize);
        record.ToBytes(catalogue.data() + wholeRecords * kRecordSize);
        try {
            Platform::TSafeFile file(CatalogueFile);
            file.Write(catalogue);
            file.Commit();
        } catch (const Platform::ESafeFileError& e) {
            return e.Stage() == Platform::ESafeFileError::TStage::Create ? irCannotOpen : irWriteError;
        }
        LoadFromBytes(catalogue);
        Empty = false;
        return irInstalled;
    } catch (const Dictionary::EDictionaryFormatError&) {
        return irInOutError;  // the file is shorter than its head or its information block says
    } catch (const Dictionary::EDictionaryIOError&) {
        return irInOutError;
    } catch (const EBadInformation&) {
        return irOtherFailure;
    } catch (...) {
        return irOtherFailure;
    }
}

bool TDictManager::DeleteDictionary(std::int32_t Id)
{
    try {
        TDictionaryList kept;
        for (const TDictionaryRecord& record : Records) {
            if (record.Id == Id)
                continue;
            kept.push_back(record);
            kept.back().Id = static_cast<std::int32_t>(kept.size() - 1);
        }
        const std::string bytes = RecordsBytes(kept);

        Platform::TSafeFile file(CatalogueFile);
        file.Write(bytes);
        file.Commit();
        LoadFromBytes(bytes);
        Empty = bytes.empty();
        return true;
    } catch (...) {
        return false;
    }
}

void TDictManager::SaveAll()
{
    std::string old;
    if (!fs::exists(CatalogueFile) || !ReadWholeFile(CatalogueFile, old))
        throw ECatalogueError("Cannot open file \"" + CatalogueFile + "\".");
    std::string bytes = RecordsBytes(Records);
    if (old.size() > bytes.size())
        bytes.append(old, bytes.size());
    try {
        Platform::TSafeFile file(CatalogueFile);
        file.Write(bytes);
        file.Commit();
    } catch (const Platform::ESafeFileError& e) {
        throw ECatalogueError(e.what());
    }
}

bool TDictManager::Reload()
{
    std::error_code ec;
    if (!fs::exists(CatalogueFile, ec)) {
        Records.clear();
        Empty = true;
        std::ofstream create(CatalogueFile, std::ios::binary);
        return static_cast<bool>(create);
    }
    std::string bytes;
    if (!ReadWholeFile(CatalogueFile, bytes)) {
        Records.clear();
        Empty = true;
        return false;
    }
    LoadFromBytes(bytes);
    Empty = bytes.empty();
    return true;
}

void TDictManager::LoadFromStream(std::istream& Stream)
{
    Stream.seekg(0);
    std::ostringstream all;
    all << Stream.rdbuf();
    LoadFromBytes(all.str());
}

std::int32_t TDictManager::FindIdByFileName(const std::string& Name) const
{
    const std::u16string wanted = UpperWide(Name);
    for (const TDictionaryRecord& record : Records) {
        if (UpperWide(record.DictionaryFile.Str()) == wanted)
            return record.Id;
    }
    return -1;
}

void TDictManager::LoadFromBytes(std::string_view bytes)
{
    const std::size_t n = bytes.size() / kRecordSize;
    TDictionaryList records;
    records.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        records.push_back(TDictionaryRecord::FromBytes(bytes.data() + i * kRecordSize));
    Records = std::move(records);
}
