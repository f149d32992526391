// The abstract wide-string list TWideStrings: text, names and values, streams; and the line
// helpers shared by the engine.
#include "engine/WideStringList.h"

#include "engine/LittleEndian.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <utility>

namespace {

constexpr const char* kListIndexError = "List index out of bounds (%d)";

bool IsLineBreak(char16_t c)
{
    return c == 0x000A || c == 0x000B || c == 0x000C || c == 0x000D || c == 0x2028 || c == 0x2029;
}

// The bytes from the stream's position to its end.
std::string ReadRest(std::istream& stream)
{
    std::string bytes;
    std::streampos pos = stream.tellg();
    if (pos != std::streampos(-1) && stream.seekg(0, std::ios::end)) {
        std::streamoff size = stream.tellg() - pos;
        stream.seekg(pos);
        if (size > 0) {
            bytes.resize(static_cast<size_t>(size));
            stream.read(bytes.data(), size);
            bytes.resize(static_cast<size_t>(stream.gcount()));
        }
    } else {
        stream.clear();
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }
    if (stream.bad())
        throw EReadError("Stream read error");
    return bytes;
}

}  // namespace

std::u16string JoinLines(const std::vector<std::u16string>& lines)
{
    std::size_t n = 0;
    for (const auto& l : lines)
        n += l.size() + 2;
    std::u16string text;
    text.reserve(n);
    for (const auto& l : lines) {
        text += l;
        text += u"\r\n";
    }
    return text;
}

std::vector<std::u16string> SplitLines(std::u16string_view text)
{
    TWideStringList list;
    list.SetTextStr(text);
    std::vector<std::u16string> lines;
    lines.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return lines;
}

int WideCompare(std::u16string_view s1, std::u16string_view s2, Platform::LCID locale)
{
    return Platform::CompareTextIgnoreCase(s1, s2, locale);
}

// ---- TWideStrings -------------------------------------------------------------------------

TWideStrings::TWideStrings()
    : language_(Platform::UserDefaultLCID())
{
}

void TWideStrings::Error(const char* message, int value)
{
    std::string text = message;
    if (auto at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(value));
    throw EStringListError(text);
}

int TWideStrings::Compare(std::u16string_view s1, std::u16string_view s2) const
{
    return WideCompare(s1, s2, language_);
}

template <typename F> void TWideStrings::Updating(F&& f)
{
    BeginUpdate();
    try {
        f();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TWideStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TWideStrings::EndUpdate()
{
    --updateCount_;
    if (updateCount_ == 0)
        SetUpdateState(false);
}

void TWideStrings::AssignTo(TWideStrings& dest) const
{
    if (&dest == this)
        return;
    dest.Updating([&] {
        dest.Clear();
        dest.AddStrings(*this);
    });
}

void TWideStrings::AssignTo(TAnsiStrings& dest) const
{
    dest.clear();
    const int n = GetCount();
    dest.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        dest.push_back(Platform::WideToAnsi(Get(i)));
}

void TWideStrings::Assign(const TWideStrings& source)
{
    if (&source == this)
        return;
    Updating([&] {
        Clear();
        AddStrings(source);
    });
}

void TWideStrings::Assign(const TAnsiStrings& source)
{
    Updating([&] {
        Clear();
        for (const std::string& s : source)
            AddObject(Platform::AnsiToWide(s), nullptr);
    });
}

int TWideStrings::GetCapacity() const
{
    return GetCount();
}

TObjectRef TWideStrings::GetObject(int) const
{
    return nullptr;
}

std::u16string TWideStrings::GetTextStr() const
{
    const int n = GetCount();
    std::vector<std::u16string> lines;
    lines.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        lines.push_back(Get(i));
    return JoinLines(lines);
}

void TWideStrings::Put(int index, std::u16string_view s)
{
    TObjectRef obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

void TWideStrings::PutObject(int, TObjectRef)
{
}

void TWideStrings::SetCapacity(int)
{
}

void TWideStrings::SetTextStr(std::u16string_view text)
{
    Updating([&] {
        Clear();
        size_t p = 0;
        const size_t end = text.size();
        while (p < end && text[p] != 0) {
            size_t start = p;
            while (p < end && text[p] != 0 && !IsLineBreak(text[p]))
                ++p;
            Add(text.substr(start, p - start));
            if (p < end && IsLineBreak(text[p])) {
                const char16_t brk = text[p++];
                if (brk == 0x000D && p < end && text[p] == 0x000A)
                    ++p;
            }
        }
    });
}

void TWideStrings::SetUpdateState(bool)
{
}

void TWideStrings::SetLanguage(Platform::LCID lcid)
{
    language_ = lcid;
}

int TWideStrings::Add(std::u16string_view s)
{
    const int index = GetCount();
    Insert(index, s);
    return index;
}

int TWideStrings::AddObject(std::u16string_view s, TObjectRef obj)
{
    const int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TWideStrings::AddStrings(const TAnsiStrings& strings)
{
    Updating([&] {
        for (const std::string& s : strings)
            AddObject(Platform::AnsiToWide(s), nullptr);
    });
}

void TWideStrings::AddStrings(const TWideStrings& strings)
{
    Updating([&] {
        if (&strings == this) {
            // Adding a list to itself adds each of its strings once.
            std::vector<std::pair<std::u16string, TObjectRef>> copy;
            for (int i = 0, n = GetCount(); i < n; ++i)
                copy.emplace_back(Get(i), GetObject(i));
            for (auto& [s, obj] : copy)
                AddObject(s, obj);
            return;
        }
        for (int i = 0, n = strings.GetCount(); i < n; ++i)
            AddObject(strings.Get(i), strings.GetObject(i));
    });
}

void TWideStrings::Exchange(int i, int j)
{
    Updating([&] {
        std::u16string temp = Get(i);
        TObjectRef tempObj = GetObject(i);
        Put(i, Get(j));
        PutObject(i, GetObject(j));
        Put(j, temp);
        PutObject(j, tempObj);
    });
}

std::unique_ptr<char16_t[]> TWideStrings::GetText() const
{
    const std::u16string text = GetTextStr();
    auto buffer = std::make_unique<char16_t[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), buffer.get());
    return buffer;
}

int TWideStrings::IndexOf(std::u16string_view s) const
{
    for (int i = 0, n = GetCount(); i < n; ++i)
        if (Compare(Get(i), s) == 0)
            return i;
    return -1;
}

void TWideStrings::LoadFromStream(std::istream& stream)
{
    Updating([&] { LoadFromBytes(ReadRest(stream)); });
}

void TWideStrings::LoadFromBytes(std::string_view bytes)
{
    Updating([&] {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
        const bool little = bytes.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE;
        const bool big = bytes.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF;
        if (little || big) {
            unicodeOnSave_ = true;
            // An odd last byte is not part of the text; SetTextStr ends it at its first zero unit.
            std::u16string text = BytesToWide(bytes.substr(2));
            if (big)
                for (char16_t& unit : text)
                    unit = static_cast<char16_t>((unit << 8) | (unit >> 8));
            SetTextStr(text);
        } else {
            unicodeOnSave_ = false;
            SetTextStr(Platform::AnsiToWide(bytes));
        }
    });
}

void TWideStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    Updating([&] {
        std::u16string s = Get(curIndex);
        TObjectRef obj = GetObject(curIndex);
        // Checked before the delete, so a bad target index loses nothing.
        if (newIndex < 0 || newIndex >= GetCount())
            Error(kListIndexError, newIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, obj);
    });
}

void TWideStrings::SaveToStream(std::ostream& stream)
{
    const std::u16string text = GetTextStr();
    bool allowed = true;
    saveDone_ = false;
    if (!unicodeOnSave_ && OnConfirmNarrowing) {
        for (char16_t c : text) {
            if (c >= 0x0100) {
                OnConfirmNarrowing(*this, allowed);
                break;
            }
        }
    }
    if (!allowed)
        return;
    std::string bytes;
    if (unicodeOnSave_) {
        bytes = "\xFF\xFE" + WideToBytes(text);
    } else {
        bytes = Platform::WideToAnsi(text);
    }
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream)
        throw EWriteError("Stream write error");
    saveDone_ = true;
}

void TWideStrings::SetText(const char16_t* text)
{
    SetTextStr(text ? std::u16string(text) : std::u16string());
}

bool TWideStrings::Equals(const TWideStrings& other) const
{
    const int n = GetCount();
    if (n != other.GetCount())
        return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != other.Get(i))
            return false;
    return true;
}

void TWideStrings::InsertObject(int index, std::u16string_view s, TObjectRef obj)
{
    Insert(index, s);
    PutObject(index, obj);
}

int TWideStrings::IndexOfName(std::u16string_view name) const
{
    for (int i = 0, n = GetCount(); i < n; ++i) {
        const std::u16string s = Get(i);
        const size_t eq = s.find(u'=');
        if (eq != std::u16string::npos && Compare(std::u16string_view(s).substr(0, eq), name) == 0)
            return i;
    }
    return -1;
}

std::u16string TWideStrings::GetValue(std::u16string_view name) const
{
    const int i = IndexOfName(name);
    if (i < 0)
        return {};
    // Everything after the line's own "=": its name may match Name with another length.
    const std::u16string s = Get(i);
    return s.substr(s.find(u'=') + 1);
}
