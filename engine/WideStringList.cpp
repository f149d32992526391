// TWideStringList: the wide-string list that holds its strings, optionally sorted and
// without duplicates.
#include "engine/WideStringList.h"

#include <utility>

namespace {

constexpr const char* kListIndexError = "List index out of bounds (%d)";
constexpr const char* kListCapacityError = "List capacity out of bounds (%d)";
constexpr const char* kSortedListError = "Operation not allowed on sorted list";
constexpr const char* kDuplicateString = "String list does not allow duplicates";

}  // namespace

TWideStringList::~TWideStringList() = default;

void TWideStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= count_)
        Error(kListIndexError, index);
}

std::u16string TWideStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].String;
}

const std::u16string& TWideStringList::Strings(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].String;
}

int TWideStringList::GetCapacity() const
{
    return static_cast<int>(items_.size());
}

int TWideStringList::GetCount() const
{
    return count_;
}

TObjectRef TWideStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Object;
}

void TWideStringList::Put(int index, std::u16string_view s)
{
    if (sorted_)
        Error(kSortedListError, 0);
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].String.assign(s);
    Changed();
}

void TWideStringList::PutObject(int index, TObjectRef obj)
{
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].Object = obj;
    Changed();
}

void TWideStringList::SetCapacity(int n)
{
    if (n < count_)
        Error(kListCapacityError, n);
    items_.resize(static_cast<size_t>(n));
}

void TWideStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

void TWideStringList::SetLanguage(Platform::LCID lcid)
{
    language_ = lcid;
    if (sorted_) {
        Changing();
        if (count_ > 1)
            QuickSort(0, count_ - 1);
        Changed();
    }
}

int TWideStringList::Add(std::u16string_view s)
{
    int index = count_;
    if (sorted_ && Find(s, index)) {
        switch (Duplicates) {
        case TDuplicates::IgnoreDuplicates:
            return index;
        case TDuplicates::RejectDuplicates:
            Error(kDuplicateString, 0);
        case TDuplicates::AcceptDuplicates:
            break;
        }
    }
    InsertItem(index, s);
    return index;
}

void TWideStringList::Clear()
{
    if (count_ == 0)
        return;
    Changing();
    count_ = 0;
    TWideStringItemList().swap(items_);
    Changed();
}

void TWideStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    auto first = items_.begin() + index;
    std::move(first + 1, items_.begin() + count_, first);
    --count_;
    items_[static_cast<size_t>(count_)] = TWideStringItem{};
    Changed();
}

void TWideStringList::Exchange(int i, int j)
{
    CheckIndex(i);
    CheckIndex(j);
    Changing();
    std::swap(items_[static_cast<size_t>(i)], items_[static_cast<size_t>(j)]);
    Changed();
}

int TWideStringList::IndexOf(std::u16string_view s) const
{
    if (!sorted_)
        return TWideStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TWideStringList::Insert(int index, std::u16string_view s)
{
    if (sorted_)
        Error(kSortedListError, 0);
    if (index < 0 || index > count_)
        Error(kListIndexError, index);
    InsertItem(index, s);
}

void TWideStringList::Move(int curIndex, int newIndex)
{
    // Refused before anything is removed.
    if (sorted_ && curIndex != newIndex)
        Error(kSortedListError, 0);
    TWideStrings::Move(curIndex, newIndex);
}

void TWideStringList::Grow()
{
    const size_t cap = items_.size();
    const size_t delta = cap > 64 ? cap / 4 : cap > 8 ? 16 : 4;
    items_.resize(cap + delta);
}

void TWideStringList::InsertItem(int index, std::u16string_view s)
{
    Changing();
    if (static_cast<size_t>(count_) == items_.size())
        Grow();
    auto at = items_.begin() + index;
    std::move_backward(at, items_.begin() + count_, items_.begin() + count_ + 1);
    at->String.assign(s);
    at->Object = nullptr;
    ++count_;
    Changed();
}

void TWideStringList::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(*this);
}

void TWideStringList::Changing()
{
    if (updateCount_ == 0 && OnChanging)
        OnChanging(*this);
}

bool TWideStringList::Find(std::u16string_view s, int& index) const
{
    return SortedSearch(
        count_, [&](int i) { return Compare(items_[static_cast<size_t>(i)].String, s); },
        Duplicates == TDuplicates::AcceptDuplicates, index);
}

void TWideStringList::Sort()
{
    if (!sorted_ && count_ > 1) {
        Changing();
        QuickSort(0, count_ - 1);
        Changed();
    }
}

void TWideStringList::QuickSort(int l, int r)
{
    int i;
    do {
        i = l;
        int j = r;
        const std::u16string pivot = items_[static_cast<size_t>((l + r) / 2)].String;
        do {
            while (Compare(items_[static_cast<size_t>(i)].String, pivot) < 0)
                ++i;
            while (Compare(items_[static_cast<size_t>(j)].String, pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(items_[static_cast<size_t>(i)], items_[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j);
        l = i;
    } while (i < r);
}

void TWideStringList::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    if (value)
        Sort();
    sorted_ = value;
}
