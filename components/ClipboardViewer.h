// Reports every change of the system clipboard: a picture through OnImage when someone
// listens to it, otherwise text (Unicode, as it stands) through OnText.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class TClipboardViewer : public QObject {
    Q_OBJECT
public:
    explicit TClipboardViewer(QObject* owner = nullptr);

    // Empties the clipboard.
    void EmptyClipboard();

signals:
    void OnImage(const QImage& image);
    void OnText(const QString& text);

private:
    void ClipboardChanged();
};
