#include "components/MURLStr.h"

#include "platform/Locale.h"
#include "platform/qt/QtText.h"

TMURLStr::TMURLStr(QWidget* parent)
    : TCustomMURL(parent)
{
}

void TMURLStr::SetCaption(const std::string& caption)
{
    FCaption = caption;
    setText(ToQString(Platform::AnsiToWide(FCaption)));
}

QString TMURLStr::LinkText() const
{
    return ToQString(Platform::AnsiToWide(FCaption));
}
