#include "tools/windows/AlphabetKeyboard.h"

#include "components/MURL.h"
#include "engine/Dictionary.h"
#include "engine/WideStringList.h"
#include "platform/qt/QtText.h"

#include <QFont>
#include <QWidget>

#include <optional>

namespace {

// A whole number: an optional sign and decimal digits, within 32 bits.
std::optional<std::int32_t> WholeNumber(std::u16string_view token)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == u'-' || token[i] == u'+')) {
        negative = token[i] == u'-';
        ++i;
    }
    if (i == token.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < u'0' || token[i] > u'9')
            return std::nullopt;
        value = value * 10 + (token[i] - u'0');
        if (value > 0x80000000LL)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 0x7FFFFFFFLL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

constexpr TColor kKeyColor = 297700;  // $048AE4

}  // namespace

std::vector<TAlphabetEntry> ParseAlphabetLine(std::u16string_view line)
{
    std::vector<TAlphabetEntry> entries;
    std::u16string token;
    for (char16_t c : line) {
        if (c != u',') {
            token += c;
            continue;
        }
        if (const auto number = WholeNumber(token)) {
            if (!entries.empty())
                entries.back().Spacing = static_cast<std::int16_t>(static_cast<std::uint16_t>(*number & 0xFFFF));
        } else {
            entries.push_back({token, 0});
        }
        token.clear();
    }
    return entries;
}

std::u16string KeyboardLine(TBaseDictionary* dictionary)
{
    if (dictionary == nullptr)
        return {};
    std::u16string description;
    dictionary->GetDescription(description);
    const std::vector<std::u16string> lines = SplitLines(description);
    return lines.size() > 1 ? lines[1] : std::u16string();
}

std::vector<TMURL*> CreateAlphabetKeys(QWidget* panel, const std::vector<TAlphabetEntry>& entries)
{
    for (TMURL* old : panel->findChildren<TMURL*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    std::vector<TMURL*> keys;
    int position = 4;
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(12);
    for (const TAlphabetEntry& entry : entries) {
        auto* key = new TMURL(panel);
        key->setObjectName(QStringLiteral("Key_") + ToQString(entry.Letter));
        key->setFont(font);
        key->SetFontColor(clBlack);
        key->SetColor(kKeyColor);
        key->SetHotBgColor(kKeyColor);
        key->SetHotColor(clWhite);
        key->SetTransparent(true);
        key->SetActivType(atUser);
        key->setText(ToQString(entry.Letter));
        key->setToolTip(ToQString(entry.Letter));
        key->adjustSize();
        position += entry.Spacing;
        key->move(position, 2);
        key->show();
        keys.push_back(key);
    }
    return keys;
}
