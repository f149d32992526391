#include "app/mainwindow/WordListModel.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>

int TWordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant TWordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count())
        return {};
    if (role == Qt::DisplayRole)
        return Word(index.row());
    if (role == UserWordRole)
        return IsMarked(index.row());
    return {};
}

void TWordListModel::SetText(std::u16string_view text)
{
    beginResetModel();
    words_.clear();
    foldedValid_ = false;
    folded_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos)
            end = text.size();
        words_.push_back(QString::fromUtf16(text.data() + start, static_cast<qsizetype>(end - start)));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    marks_.clear();
    endResetModel();
}

void TWordListModel::Clear()
{
    beginResetModel();
    words_.clear();
    folded_.clear();
    foldedValid_ = false;
    marks_.clear();
    endResetModel();
}

void TWordListModel::Append(const QString& word)
{
    Insert(Count(), word);
}

void TWordListModel::Insert(int row, const QString& word)
{
    row = std::clamp(row, 0, Count());
    beginInsertRows(QModelIndex(), row, row);
    words_.insert(words_.begin() + row, word);
    if (foldedValid_)
        folded_.insert(folded_.begin() + row, word.toCaseFolded());
    if (static_cast<std::size_t>(row) < marks_.size())
        marks_.insert(marks_.begin() + row, 0);
    endInsertRows();
}

void TWordListModel::FoldAll() const
{
    folded_.clear();
    folded_.reserve(words_.size());
    for (const QString& w : words_)
        folded_.push_back(w.toCaseFolded());
    foldedValid_ = true;
}

int TWordListModel::FindPrefix(const QString& text) const
{
    if (text.isEmpty())
        return -1;
    if (!foldedValid_)
        FoldAll();
    const QString key = text.toCaseFolded();
    for (std::size_t i = 0; i < folded_.size(); ++i)
        if (folded_[i].startsWith(key))
            return static_cast<int>(i);
    return -1;
}

void TWordListModel::SetMarks(const std::vector<std::uint8_t>& marks)
{
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
