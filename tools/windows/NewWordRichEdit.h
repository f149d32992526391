// The article edit of the word editor: takes only plain text and RTF from the clipboard or a
// drop (HTML and other formats arrive as plain text), and gives its own selections as RTF
// too, so formatting survives a copy within the program.
#pragma once

#include <QTextEdit>

class TNewWordRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TNewWordRichEdit(QWidget* parent = nullptr);

    // The clipboard formats that carry RTF, the first one the preferred name.
    static const QStringList& RtfFormats();

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
};
