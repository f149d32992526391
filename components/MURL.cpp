#include "components/MURL.h"

TMURL::TMURL(QWidget* parent)
    : TCustomMURL(parent)
{
}
