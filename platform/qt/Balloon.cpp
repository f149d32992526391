#include "platform/qt/Balloon.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace Balloon {

namespace {

constexpr int kMaxWidth = 360;
constexpr int kMaxHeight = 240;

class TBalloonWindow : public QFrame {
public:
    TBalloonWindow(const QString& word, const QString& text, int seconds)
        : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setObjectName("Balloon");
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_DeleteOnClose);
        setFocusPolicy(Qt::NoFocus);
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
        p.setColor(QPalette::WindowText, Qt::black);
        setPalette(p);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(8, 6, 8, 8);
        auto* title = new QLabel(word, this);
        title->setObjectName("lWord");
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        title->setWordWrap(true);
        auto* body = new QLabel(text, this);
        body->setObjectName("lText");
        body->setWordWrap(true);
        body->setTextFormat(Qt::PlainText);
        body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(title);
        layout->addWidget(body, 1);
        setMaximumSize(kMaxWidth, kMaxHeight);
        body->setMaximumWidth(kMaxWidth - 16);
        title->setMaximumWidth(kMaxWidth - 16);
        // A word too long to wrap is clipped rather than widening the balloon.
        for (QLabel* l : {title, body})
            l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        const QSize wanted = sizeHint();
        const int w = std::clamp(wanted.width(), 120, kMaxWidth);
        setFixedSize(w, std::min(heightForWidth(w) > 0 ? heightForWidth(w) : wanted.height(), kMaxHeight));
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, this, &QWidget::close);
        timer->start(std::max(1, seconds) * 1000);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { close(); }
};

QPointer<QWidget>& Current()
{
    static QPointer<QWidget> current;
    return current;
}

QPoint PlaceNear(const QPoint& cursor, const QSize& size)
{
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    QPoint at = cursor + QPoint(12, 16);
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    return at;
}

}  // namespace

void ShowBaloon(const QString& word, const QString& text, int seconds)
{
    CloseBaloon();
    auto* balloon = new TBalloonWindow(word, text, seconds);
    balloon->move(PlaceNear(QCursor::pos(), balloon->size()));
    balloon->show();
    Current() = balloon;
}

void CloseBaloon()
{
    if (QWidget* shown = Current().data()) {
        Current() = nullptr;
        shown->close();
    }
}

QWidget* CurrentBalloon()
{
    return Current().data();
}

}  // namespace Balloon
