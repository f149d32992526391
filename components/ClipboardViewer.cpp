#include "components/ClipboardViewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaMethod>
#include <QMimeData>

TClipboardViewer::TClipboardViewer(QObject* owner)
    : QObject(owner)
{
    // Qt watches the clipboard for every viewer; no chain of viewers to keep intact.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TClipboardViewer::ClipboardChanged);
}

void TClipboardViewer::EmptyClipboard()
{
    QGuiApplication::clipboard()->clear();
}

void TClipboardViewer::ClipboardChanged()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    if (data->hasImage() && isSignalConnected(QMetaMethod::fromSignal(&TClipboardViewer::OnImage))) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull()) {
            emit OnImage(image);
            return;
        }
    }
    if (data->hasText())
        emit OnText(data->text());
}
