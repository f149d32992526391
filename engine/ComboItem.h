// The item attached to each entry of the direction chooser: a source language and the
// catalogue entries of its dictionaries.
#pragma once

#include "engine/DictionaryRecord.h"

#include <cstdint>
#include <string>

class TComboItem {
public:
    // Keeps the first three characters of Code.
    explicit TComboItem(const std::string& Code);

    std::int32_t Count() const;

    // The catalogue Id of entry Index; -1 when Index is out of range.
    std::int32_t GetId(std::int32_t Index) const;

    // The index of the first entry whose TargetCode equals Text exactly; -1 when none does.
    std::int32_t IndexOfName(const std::string& Text) const;

    std::string Code;
    std::u16string Caption;
    DescNames Dictionaries;
};
