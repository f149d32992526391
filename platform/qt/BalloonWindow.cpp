#include "platform/qt/BalloonWindow.h"

#include "platform/qt/Balloon.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace Balloon {

namespace {

constexpr int kMarginX = 8, kMarginTop = 6, kMarginBottom = 8, kSpacing = 4;
constexpr int kMinTextWidth = 100;
constexpr int kWordLines = 3;  // the word itself takes at most this many lines

struct TLine {
    int Paragraph;
    int Start, Length;
};

}  // namespace

TFittedText FitBalloonText(const QString& text, const QFont& font, int maxWidth, int maxHeight)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (plain.endsWith(QLatin1Char('\n')))
        plain.chop(1);
    const QStringList paragraphs = plain.split(QLatin1Char('\n'));
    const QFontMetrics fm(font);
    maxWidth = std::max(maxWidth, fm.horizontalAdvance(QStringLiteral("MM")));
    const int maxLines = std::max(1, maxHeight / std::max(1, fm.lineSpacing()));

    std::vector<TLine> lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (int p = 0; p < paragraphs.size() && static_cast<int>(lines.size()) <= maxLines; ++p) {
        if (paragraphs[p].isEmpty()) {
            lines.push_back({p, 0, 0});
            continue;
        }
        QTextLayout layout(paragraphs[p], font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(maxWidth);
            lines.push_back({p, line.textStart(), line.textLength()});
            if (static_cast<int>(lines.size()) > maxLines)
                break;
        }
        layout.endLayout();
    }

    TFittedText fitted;
    QStringList shown;
    const bool overflow = static_cast<int>(lines.size()) > maxLines;
    const int keep = overflow ? maxLines : static_cast<int>(lines.size());
    for (int i = 0; i < keep; ++i) {
        const TLine& l = lines[static_cast<std::size_t>(i)];
        QString s = paragraphs[l.Paragraph].mid(l.Start, l.Length);
        if (overflow && i == keep - 1) {
            // The last line that fits takes what follows, joined, cut with "…" where needed.
            QStringList rest{paragraphs[l.Paragraph].mid(l.Start)};
            for (int p = l.Paragraph + 1; p < paragraphs.size(); ++p)
                rest << paragraphs[p];
            const QString joined = rest.join(QLatin1Char(' ')).simplified();
            s = fm.elidedText(joined, Qt::ElideRight, maxWidth);
        }
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        shown << s;
    }
    fitted.Text = shown.join(QLatin1Char('\n'));
    fitted.Lines = keep;
    return fitted;
}

TBalloonWindow::TBalloonWindow(const QString& word, const QString& text, int seconds, const QPoint& where)
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

    QScreen* screen = QGuiApplication::screenAt(where);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int frame = 2 * frameWidth();
    const int textWidth = std::max(kMinTextWidth, area.width() / 3 - 2 * kMarginX - frame);
    const int height = area.height() / 2 - kMarginTop - kMarginBottom - kSpacing - frame;

    auto* title = new QLabel(this);
    title->setObjectName("lWord");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setTextFormat(Qt::PlainText);
    const TFittedText fittedWord = FitBalloonText(word, bold, textWidth, kWordLines * QFontMetrics(bold).lineSpacing());
    title->setText(fittedWord.Text);

    auto* body = new QLabel(this);
    body->setObjectName("lText");
    body->setTextFormat(Qt::PlainText);
    body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int wordHeight = fittedWord.Lines * QFontMetrics(bold).lineSpacing();
    const TFittedText fittedText = FitBalloonText(text, body->font(), textWidth, height - wordHeight);
    body->setText(fittedText.Text);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMarginX, kMarginTop, kMarginX, kMarginBottom);
    layout->setSpacing(kSpacing);
    layout->addWidget(title);
    layout->addWidget(body, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate();
    adjustSize();

    QPoint at = where + QPoint(12, 16);
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - this->height())));
    move(at);

    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, this, [this] {
        emit Events().TimedOut();
        close();
    });
    timer->start(std::max(1, seconds) * 1000);
}

void TBalloonWindow::mousePressEvent(QMouseEvent*)
{
    emit Events().Clicked();
    emit Events().Hidden();
    close();
}

}  // namespace Balloon
