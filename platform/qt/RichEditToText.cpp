#include "platform/Locale.h"
#include "platform/qt/RichText.h"

#include <QTextDocument>
#include <QTextEdit>

void RichEditToText(QTextEdit* edit, std::string& text)
{
    if (!edit) {
        text = RichText::WriteRtf(QTextDocument(), Platform::SystemCodePage());
        return;
    }
    // The edit stays in rich-text mode afterwards, as the control does once it streamed RTF.
    edit->setAcceptRichText(true);
    text = RichText::WriteRtf(*edit->document(), Platform::SystemCodePage());
}
