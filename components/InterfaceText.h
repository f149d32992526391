// Interface strings of the chosen language, looked up by key (name=value lines of the
// interface-language file). A key the language lacks gives the empty text.
#pragma once

#include "engine/WideStringList.h"
#include "platform/qt/QtText.h"

#include <QString>

inline QString LangText(const TWideStrings& strings, const char* key)
{
    return ToQString(strings.GetValue(ToU16(QString::fromLatin1(key))));
}
