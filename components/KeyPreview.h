// A window's key preview: every key event of the application goes to the window's Preview
// before its receiver sees it, whichever control has the focus. Preview answers whether the
// window took the key (then nobody else sees it).
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

class TKeyPreview : public QObject {
public:
    using TPreview = std::function<bool(QObject* receiver, QKeyEvent* key)>;

    // Owned by Owner; previews until it goes.
    TKeyPreview(QObject* owner, TPreview preview);
    ~TKeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TPreview preview_;
};
