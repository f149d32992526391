#include "tools/windows/HangmanWord.h"

#include <QFontMetrics>
#include <QPainter>

#include <initializer_list>

namespace {

// Text split at its runs of at least Gap spaces, each piece but the first keeping its run in
// front: "a  b    c" with Gap 3 gives "a  b", "    c".
QStringList Pieces(const QString& text, int gap)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) != QLatin1Char(' ')) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end) == QLatin1Char(' '))
            ++end;
        if (end - i >= gap && i > 0 && end < text.size()) {
            pieces << text.mid(start, i - start);
            start = i;
        }
        i = end;
    }
    pieces << text.mid(start);
    return pieces;
}

}  // namespace

THangmanWord::THangmanWord(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void THangmanWord::Show(const QString& text)
{
    setText(text);
    Fit();
}

void THangmanWord::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Fit();
}

// Lines filled greedily with whole words (a word's letters are two spaces apart, words four);
// with BreakWords a word wider than the line on its own is broken between its letters.
QStringList THangmanWord::Wrap(const QFont& font, int width, bool breakWords) const
{
    const QFontMetrics m(font);
    QStringList lines;
    auto fill = [&](const QStringList& pieces, QString& line) {
        for (const QString& piece : pieces) {
            if (line.isEmpty() || m.horizontalAdvance(line + piece) <= width) {
                line += piece;
            } else {
                lines << line;
                qsizetype first = 0;  // a line starts with a letter
                while (first < piece.size() && piece.at(first) == QLatin1Char(' '))
                    ++first;
                line = piece.mid(first);
            }
        }
    };
    QString line;
    for (const QString& word : Pieces(text(), 3)) {
        if (!breakWords || m.horizontalAdvance(word.trimmed()) <= width)
            fill({word}, line);
        else
            fill(Pieces(word, 1), line);
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

void THangmanWord::Fit()
{
    QFont f = font();
    const QRect room = contentsRect();
    auto fits = [&](int size, qreal spaceShare, bool breakWords = false) {
        f.setPointSize(size);
        f.setWordSpacing(0);
        f.setWordSpacing(-QFontMetricsF(f).horizontalAdvance(QLatin1Char(' ')) * (1 - spaceShare));
        lines_ = Wrap(f, room.width(), breakWords);
        const QFontMetrics m(f);
        for (const QString& line : lines_)
            if (m.horizontalAdvance(line) > room.width())
                return false;
        return lines_.size() * m.lineSpacing() <= room.height();
    };
    auto fitsAtSomeSize = [&](std::initializer_list<qreal> spaceShares) {
        for (int size = kLargestPoints; size >= kSmallestPoints; --size)
            for (qreal share : spaceShares)
                if (fits(size, share))
                    return true;
        return false;
    };
    // Blanks ("_") need their gaps to be counted; letters alone can stand closer.
    if (!fitsAtSomeSize({1, 0.5}) && (text().contains(QLatin1Char('_')) || !fitsAtSomeSize({0.25})))
        fits(kSmallestPoints, 0.5, true);  // a word too long for any size: broken rather than cut
    setFont(f);
    update();
}

void THangmanWord::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QFontMetrics m(font());
    const QRect room = contentsRect();
    int baseline = room.top() + m.ascent();
    for (const QString& line : lines_) {
        p.drawText(room.left(), baseline, line);
        baseline += m.lineSpacing();
    }
}
