// The items of the word list: a letter block of up to tens of thousands of words with the
// user-word marks beside them, and the list box's case-insensitive prefix search.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStyledItemDelegate>

#include <cstdint>
#include <string_view>
#include <vector>

class TWordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Role of the user-word mark (bool) of an item.
    static constexpr int UserWordRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The list view asks for the index of every row each time it lays a letter block out:
    // made here without the base's calls back for the row and column counts.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces the items by the lines of Text (CR LF or LF separated; a last empty line
    // is not an item).
    void SetText(std::u16string text);
    // An empty buffer with the room of an earlier text, for the next letter block to be read
    // into: a block of a megabyte then costs no fresh pages.
    std::u16string TakeSpareText() { return std::move(spare_); }
    // Room for blocks of up to Chars characters and Rows words.
    void Reserve(std::size_t chars, std::size_t rows);
    void Clear();
    void Append(const QString& word);
    void Insert(int row, const QString& word);
    int Count() const { return static_cast<int>(rows_.size()); }
    QString Word(int row) const;

    // The first item (from the top) that begins with Text, ignoring letter case; -1 when
    // none does or Text is empty.
    int FindPrefix(const QString& text) const;

    // The user-word marks, one per item (shorter lists mark the rest as maker's words).
    void SetMarks(const std::vector<std::uint8_t>& marks);
    bool IsMarked(int row) const;

private:
    struct TRow {
        std::int32_t Start = 0;
        std::int32_t Length = 0;
    };

    // A letter block holds tens of thousands of words: they stay in one text with the
    // place of each, and are made into strings only when shown.
    std::u16string text_;
    std::u16string spare_;  // the text before, emptied
    std::vector<TRow> rows_;
    std::vector<std::uint8_t> marks_;
};

// Draws the items: user words in blue, a selected user word on light blue with black text,
// other words black, selected on the highlight colour.
class TWordListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
