// Lists of UTF-16 strings with attached object references, compared case-insensitively under
// the list's own locale; split into and joined from lines; loaded and saved as UTF-16 with a
// byte-order mark or as 8-bit text in the system code page.
#pragma once

#include "platform/Locale.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Index and mode errors of the lists ("List index out of bounds (%d)" ...).
class EStringListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure of LoadFromFile: "System Error.  Code: %d.\r\n<message>".
class EOSError : public std::runtime_error {
public:
    EOSError(int code, const std::string& message)
        : std::runtime_error(message),
          ErrorCode(code)
    {
    }
    int ErrorCode;
};

// SaveToFile could not create its file: "Cannot create file "%s". %s".
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream failed while it was read.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream refused the bytes written to it.
class EWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The list comparison: negative, 0 or positive; case-insensitive under Locale.
int WideCompare(std::u16string_view s1, std::u16string_view s2, Platform::LCID locale);

// The binary search of Count sorted items: CompareAt(i) compares item i with the one sought.
// True when an equal item is met; Index is then that item (the first of a run of equals when
// FirstOfEquals), else the insertion point.
template <typename CompareAt> bool SortedSearch(int count, CompareAt&& compareAt, bool firstOfEquals, int& index)
{
    bool found = false;
    int lo = 0;
    int hi = count - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = compareAt(mid);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (!firstOfEquals)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

// The text of a line list: each line followed by CR LF, the last one too.
std::u16string JoinLines(const std::vector<std::u16string>& lines);
// The lines of a text, split as TWideStrings::SetTextStr splits them.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// The object attached to a string: stored and handed back, never freed by the list.
using TObjectRef = void*;

// The class library's 8-bit string list, as far as lists are assigned to and from it.
using TAnsiStrings = std::vector<std::string>;

class TWideStrings {
public:
    using TNotifyEvent = std::function<void(TWideStrings& sender)>;
    using TConfirmEvent = std::function<void(TWideStrings& sender, bool& allowed)>;

    TWideStrings();
    virtual ~TWideStrings() = default;
    TWideStrings(const TWideStrings&) = delete;
    TWideStrings& operator=(const TWideStrings&) = delete;

    virtual void AssignTo(TWideStrings& dest) const;
    virtual void AssignTo(TAnsiStrings& dest) const;
    virtual void Assign(const TWideStrings& source);
    virtual void Assign(const TAnsiStrings& source);
    virtual std::u16string Get(int index) const = 0;
    virtual int GetCapacity() const;
    virtual int GetCount() const = 0;
    virtual TObjectRef GetObject(int index) const;
    virtual std::u16string GetTextStr() const;
    virtual void Put(int index, std::u16string_view s);
    virtual void PutObject(int index, TObjectRef obj);
    virtual void SetCapacity(int n);
    virtual void SetTextStr(std::u16string_view text);
    virtual void SetUpdateState(bool updating);
    virtual void SetLanguage(Platform::LCID lcid);
    virtual int Add(std::u16string_view s);
    virtual int AddObject(std::u16string_view s, TObjectRef obj);
    virtual void AddStrings(const TAnsiStrings& strings);
    virtual void AddStrings(const TWideStrings& strings);
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Exchange(int i, int j);
    // A zero-terminated copy of GetTextStr, owned by the caller.
    virtual std::unique_ptr<char16_t[]> GetText() const;
    virtual int IndexOf(std::u16string_view s) const;
    virtual void Insert(int index, std::u16string_view s) = 0;
    virtual void LoadFromFile(const std::string& fileName);
    virtual void LoadFromStream(std::istream& stream);
    virtual void Move(int curIndex, int newIndex);
    virtual void SaveToFile(const std::string& fileName);
    virtual void SaveToStream(std::ostream& stream);
    virtual void SetText(const char16_t* text);

    void BeginUpdate();
    void EndUpdate();
    bool Equals(const TWideStrings& other) const;
    void InsertObject(int index, std::u16string_view s, TObjectRef obj);
    int IndexOfName(std::u16string_view name) const;
    std::u16string GetValue(std::u16string_view name) const;
    std::u16string Values(std::u16string_view name) const { return GetValue(name); }
    int Count() const { return GetCount(); }

    // Loads a list from bytes as LoadFromStream does.
    void LoadFromBytes(std::string_view bytes);

    Platform::LCID Language() const { return language_; }
    bool UnicodeOnSave() const { return unicodeOnSave_; }
    void SetUnicodeOnSave(bool value) { unicodeOnSave_ = value; }
    bool SaveDone() const { return saveDone_; }
    int UpdateCount() const { return updateCount_; }

    TConfirmEvent OnConfirmNarrowing;

    // Raises EStringListError with the message formatted with the value ("%d").
    [[noreturn]] static void Error(const char* message, int value);

protected:
    int Compare(std::u16string_view s1, std::u16string_view s2) const;
    // Runs f between BeginUpdate and EndUpdate; the bracket is closed on every path.
    template <typename F> void Updating(F&& f);

    int updateCount_ = 0;
    Platform::LCID language_;
    bool saveDone_ = false;
    bool unicodeOnSave_ = false;
};

struct TWideStringItem {
    std::u16string String;
    TObjectRef Object = nullptr;
};
using TWideStringItemList = std::vector<TWideStringItem>;

enum class TDuplicates : std::uint8_t { IgnoreDuplicates = 0, AcceptDuplicates = 1, RejectDuplicates = 2 };

class TWideStringList : public TWideStrings {
public:
    TWideStringList() = default;
    ~TWideStringList() override;

    std::u16string Get(int index) const override;
    int GetCapacity() const override;
    int GetCount() const override;
    TObjectRef GetObject(int index) const override;
    void Put(int index, std::u16string_view s) override;
    void PutObject(int index, TObjectRef obj) override;
    void SetCapacity(int n) override;
    void SetUpdateState(bool updating) override;
    void SetLanguage(Platform::LCID lcid) override;
    int Add(std::u16string_view s) override;
    void Clear() override;
    void Delete(int index) override;
    void Exchange(int i, int j) override;
    int IndexOf(std::u16string_view s) const override;
    void Insert(int index, std::u16string_view s) override;
    void Move(int curIndex, int newIndex) override;

    void Changed();
    void Changing();
    // Binary search of a sorted list; Index is the match or the insertion point.
    bool Find(std::u16string_view s, int& index) const;
    void Sort();

    // Read-only view of a string, without a copy.
    const std::u16string& Strings(int index) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates = TDuplicates::IgnoreDuplicates;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

private:
    void CheckIndex(int index) const;
    void InsertItem(int index, std::u16string_view s);
    void Grow();
    void QuickSort(int l, int r);

    TWideStringItemList items_;  // its size is the capacity
    int count_ = 0;
    bool sorted_ = false;
};
