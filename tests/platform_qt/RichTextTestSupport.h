// Helpers of the rich-text tests: reading RTF into a fresh document and looking at the
// formats of its runs and paragraphs.
#pragma once

#include "platform/qt/RichText.h"

#include <QColor>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <memory>
#include <string>
#include <vector>

namespace RichTextTest {

struct TRun {
    QString Text;
    QTextCharFormat Format;
};

inline std::unique_ptr<QTextDocument> Read(const std::string& rtf, bool* isRtf = nullptr)
{
    auto doc = std::make_unique<QTextDocument>();
    const bool result = RichText::ReadRtf(rtf, *doc);
    if (isRtf)
        *isRtf = result;
    return doc;
}

// The runs of every block, in order.
inline std::vector<TRun> Runs(const QTextDocument& doc)
{
    std::vector<TRun> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid())
                runs.push_back({it.fragment().text(), it.fragment().charFormat()});
    return runs;
}

// The format of the first run that holds the text.
inline QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text)
{
    for (const TRun& r : Runs(doc))
        if (r.Text.contains(text))
            return r.Format;
    return {};
}

inline std::vector<QString> Blocks(const QTextDocument& doc)
{
    std::vector<QString> blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks.push_back(b.text());
    return blocks;
}

inline QString Family(const QTextCharFormat& f)
{
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.front();
}

inline QColor Colour(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
}

}  // namespace RichTextTest
