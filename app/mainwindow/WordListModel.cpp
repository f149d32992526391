#include "app/mainwindow/WordListModel.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The case-folded form of one UTF-16 unit; ASCII without a table look-up, surrogates as they
// are (both halves then compare exactly).
inline char16_t Fold(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return QChar::isSurrogate(c) ? c : static_cast<char16_t>(QChar::toCaseFolded(c));
}

// The place of the first CR or LF at or after At, or N. A block is hundreds of thousands of
// units: eight are compared at a time where the processor can.
std::size_t NextBreak(const char16_t* text, std::size_t at, std::size_t n)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; at + 8 <= n; at += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const auto found = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf))));
        if (found != 0)
            return at + static_cast<std::size_t>(std::countr_zero(found)) / 2;
    }
#endif
    while (at < n && text[at] != u'\r' && text[at] != u'\n')
        ++at;
    return at;
}

}  // namespace

int TWordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QModelIndex TWordListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || row >= Count() || column != 0 || parent.isValid())
        return {};
    return createIndex(row, column);
}

QVariant TWordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)  // the tip shows what the width cuts
        return Word(index.row());
    if (role == UserWordRole)
        return IsMarked(index.row());
    return {};
}

QString TWordListModel::Word(int row) const
{
    const TRow& r = rows_[static_cast<std::size_t>(row)];
    return QString::fromUtf16(text_.data() + r.Start, r.Length);
}

void TWordListModel::SetText(std::u16string text)
{
    beginResetModel();
    text_.swap(text);
    spare_.swap(text);
    spare_.clear();
    rows_.clear();
    std::size_t start = 0;
    const std::size_t n = text_.size();
    while (start < n) {
        const std::size_t end = NextBreak(text_.data(), start, n);
        rows_.push_back({static_cast<std::int32_t>(start), static_cast<std::int32_t>(end - start)});
        start = end + (end + 1 < n && text_[end] == u'\r' && text_[end + 1] == u'\n' ? 2 : 1);
    }
    marks_.clear();
    endResetModel();
}

void TWordListModel::Reserve(std::size_t chars, std::size_t rows)
{
    text_.reserve(chars);
    spare_.reserve(chars);
    rows_.reserve(rows);
}

void TWordListModel::Clear()
{
    SetText({});
}

void TWordListModel::Append(const QString& word)
{
    Insert(Count(), word);
}

void TWordListModel::Insert(int row, const QString& word)
{
    row = std::clamp(row, 0, Count());
    beginInsertRows(QModelIndex(), row, row);
    // The new word goes to the end of the text; only its row says where it is shown.
    const auto at = static_cast<std::int32_t>(text_.size());
    text_.append(reinterpret_cast<const char16_t*>(word.utf16()), static_cast<std::size_t>(word.size()));
    text_.push_back(u'\n');
    rows_.insert(rows_.begin() + row, TRow{at, static_cast<std::int32_t>(word.size())});
    if (static_cast<std::size_t>(row) < marks_.size())
        marks_.insert(marks_.begin() + row, 0);
    endInsertRows();
}

int TWordListModel::FindPrefix(const QString& text) const
{
    if (text.isEmpty())
        return -1;
    std::u16string key(static_cast<std::size_t>(text.size()), u'\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        key[static_cast<std::size_t>(i)] = Fold(text.at(i).unicode());
    }
    const auto len = static_cast<std::int32_t>(key.size());
    // Rows are folded as they are compared: most differ from the text in their first letters,
    // so a search looks at little more than those, and needs no folded copy of the block.
    const char16_t* words = text_.data();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const TRow& r = rows_[i];
        if (r.Length < len)
            continue;
        const char16_t* w = words + r.Start;
        std::int32_t k = 0;
        while (k < len && Fold(w[k]) == key[static_cast<std::size_t>(k)])
            ++k;
        if (k == len)
            return static_cast<int>(i);
    }
    return -1;
}

void TWordListModel::SetMarks(const std::vector<std::uint8_t>& marks)
{
    if (marks.empty() && marks_.empty())
        return;
    marks_ = marks;
    if (Count() > 0)
        emit dataChanged(index(0), index(Count() - 1), {UserWordRole});
}

bool TWordListModel::IsMarked(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < marks_.size() && marks_[static_cast<std::size_t>(row)] == 1;
}

void TWordListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool user = index.data(TWordListModel::UserWordRole).toBool();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->save();
    QColor background = pal.color(QPalette::Base);
    QColor text = Qt::black;
    if (selected && user) {
        background = QColor(0xB0, 0xC0, 0xEC);
    } else if (selected) {
        background = pal.color(QPalette::Highlight);
        text = pal.color(QPalette::HighlightedText);
    } else if (user) {
        text = QColor(0, 0, 0xFF);
    }
    painter->fillRect(option.rect, background);
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(text);
    const QRect r = option.rect.adjusted(2, 0, 0, 0);
    painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
    painter->restore();
}

QSize TWordListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // Item height 14, or the font's line height when that is taller, so no text is cut.
    return QSize(option.rect.width(), std::max(14, option.fontMetrics.height() + 1));
}
