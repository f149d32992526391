#include "tools/windows/NewWordRichEdit.h"

#include "platform/Locale.h"
#include "platform/qt/RichText.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

TNewWordRichEdit::TNewWordRichEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
}

const QStringList& TNewWordRichEdit::RtfFormats()
{
    static const QStringList formats{QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                     QStringLiteral("text/richtext")};
    return formats;
}

bool TNewWordRichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    for (const QString& format : RtfFormats())
        if (source->hasFormat(format))
            return true;
    return source->hasText() || source->hasHtml();
}

void TNewWordRichEdit::insertFromMimeData(const QMimeData* source)
{
    for (const QString& format : RtfFormats()) {
        if (!source->hasFormat(format))
            continue;
        const QByteArray rtf = source->data(format);
        QTextDocument document;
        RichText::ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())), document);
        textCursor().insertFragment(QTextDocumentFragment(&document));
        ensureCursorVisible();
        return;
    }
    QString text = source->text();
    if (!source->hasText() && source->hasHtml())
        text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    textCursor().insertText(text);
    ensureCursorVisible();
}

QMimeData* TNewWordRichEdit::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    const QTextDocumentFragment fragment = textCursor().selection();
    data->setText(fragment.toPlainText());
    QTextDocument document;
    QTextCursor(&document).insertFragment(fragment);
    const std::string rtf = RichText::WriteRtf(document, Platform::SystemCodePage());
    data->setData(RtfFormats().first(), QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return data;
}
