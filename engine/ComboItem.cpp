#include "engine/ComboItem.h"

TComboItem::TComboItem(const std::string& Code)
    : Code(Code.substr(0, 3))
{
}

std::int32_t TComboItem::Count() const
{
    return static_cast<std::int32_t>(Dictionaries.size());
}

std::int32_t TComboItem::GetId(std::int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        return -1;
    return Dictionaries[Index].Id;
}

std::int32_t TComboItem::IndexOfName(const std::string& Text) const
{
    for (std::int32_t i = 0; i < Count(); ++i) {
        if (Dictionaries[i].TargetCode == Text)
            return i;
    }
    return -1;
}
