#include "components/KeyPreview.h"

#include <QCoreApplication>
#include <QKeyEvent>

TKeyPreview::TKeyPreview(QObject* owner, TPreview preview)
    : QObject(owner),
      preview_(std::move(preview))
{
    QCoreApplication::instance()->installEventFilter(this);
}

TKeyPreview::~TKeyPreview()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

bool TKeyPreview::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return preview_(watched, static_cast<QKeyEvent*>(e));
    default:
        return false;
    }
}
