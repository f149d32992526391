// The letter panel: a link per letter of the dictionary's alphabet, fitted into the panel's
// width, and what a click on a letter does.
#include "app/mainwindow/LexDictionary.h"
#include "components/ShapeButton.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

void TfLexDictionary::FreeAlphabetLinks()
{
    for (TMURL* link : alphabetLinks_)
        delete link;
    alphabetLinks_.clear();
    AlphabetLink = nullptr;
}

void TfLexDictionary::BuildAlphabetPanel(TBaseDictionary* dictionary)
{
    FreeAlphabetLinks();
    mbAlphabet->setMinimumWidth(0);
    if (dictionary == nullptr)
        return;
    std::u16string description;
    dictionary->GetDescription(description);
    if (description.empty())
        return;
    const std::vector<std::u16string> lines = SplitLines(description);
    for (int row = 0; row < 2 && row < static_cast<int>(lines.size()); ++row) {
        // Tokens end at a comma; a number is the spacing of the entry before it.
        struct Entry {
            std::u16string Text;
            int Spacing = 0;
        };
        std::vector<Entry> entries;
        const std::u16string& line = lines[static_cast<std::size_t>(row)];
        std::size_t start = 0;
        for (std::size_t comma = line.find(u','); comma != std::u16string::npos;
             start = comma + 1, comma = line.find(u',', start)) {
            const std::u16string token = line.substr(start, comma - start);
            std::int32_t spacing = 0;
            if (Dictionary::ParseInteger(token, spacing)) {
                if (!entries.empty())
                    entries.back().Spacing = spacing;
            } else if (!token.empty()) {
                entries.push_back({token, 0});
            }
        }
        int x = 4;
        for (const Entry& entry : entries) {
            const int left = x + entry.Spacing;
            x = left;
            auto* link = new TMURL(mbAlphabet);
            link->setText(row == 0 ? ToQString(entry.Text.substr(0, 1)) : ToQString(entry.Text));
            link->SetActivType(atUser);
            link->SetHotColor(clBlue);
            link->SetFontColor(clBlack);
            link->SetTransparent(true);
            link->setObjectName(QStringLiteral("MURL%1_%2").arg(row + 1).arg(alphabetLinks_.size()));
            QFont f(QStringLiteral("Tahoma"));
            f.setPointSize(row == 0 ? 10 : 11);
            link->setFont(f);
            if (row == 0 && entry.Text.size() > 1)
                link->SetLetterKey(entry.Text.size() > 2 ? entry.Text[2] : u'\0');
            link->adjustSize();
            link->setProperty("designedLeft", left);
            link->setProperty("designedPoints", f.pointSize());
            link->move(left, row == 0 ? 2 : 19);
            link->show();
            alphabetLinks_.push_back(link);
            AlphabetLink = link;
        }
    }
    ShapeButton1->raise();
    FitAlphabetLinks();
}

namespace {

constexpr int kLinkMargin = 4;
constexpr int kSmallestPoint = 6;

void SetLinkPointSize(TMURL* link, int points)
{
    if (link->font().pointSize() != points) {
        QFont f = link->font();  // keeps what a hover added
        f.setPointSize(points);
        link->setFont(f);
    }
    link->adjustSize();
}

// Lefts for one row of links within [kLinkMargin, room): the dictionary's spacing drawn closer
// together so the last link ends inside, and never two links overlapping. A row whose widths
// add up to more than the room stands edge to edge from the left, its last links beyond it.
std::vector<int> CloseUpRow(const std::vector<TMURL*>& row, int room, bool fits)
{
    int lastLeft = kLinkMargin;
    int lastWidth = 0;
    for (TMURL* link : row) {
        const int left = link->property("designedLeft").toInt();
        if (left + link->width() > lastLeft + lastWidth) {
            lastLeft = left;
            lastWidth = link->width();
        }
    }
    const double scale = lastLeft > kLinkMargin && lastLeft + lastWidth > room
        ? std::max(0.0, static_cast<double>(room - lastWidth - kLinkMargin) / (lastLeft - kLinkMargin))
        : 1.0;
    std::vector<int> lefts;
    int next = kLinkMargin;
    for (TMURL* link : row) {
        const int designed = link->property("designedLeft").toInt();
        lefts.push_back(std::max(next, kLinkMargin + static_cast<int>((designed - kLinkMargin) * scale)));
        next = lefts.back() + link->width();
    }
    if (!fits)
        return lefts;
    // Links pushed right by their neighbours move back from the end.
    int limit = room;
    for (std::size_t i = row.size(); i-- > 0;) {
        lefts[i] = std::min(lefts[i], limit - row[i]->width());
        limit = lefts[i];
    }
    return lefts;
}

}  // namespace

// A row wider than the panel first draws its links closer together, then in a smaller font
// step by step, so every letter stays within reach, clear of the close button. Only a row that
// does not fit even in the smallest font hides the links that would reach the button. A wide
// panel shows the links as the dictionary spaces and sizes them.
void TfLexDictionary::FitAlphabetLinks()
{
    const int room = mbAlphabet->width() - ShapeButton1->width() - 6;
    for (const int top : {2, 19}) {
        std::vector<TMURL*> row;
        for (TMURL* link : alphabetLinks_)
            if (link->y() == top)
                row.push_back(link);
        if (row.empty())
            continue;
        int points = row.front()->property("designedPoints").toInt();
        if (points <= 0)
            points = row.front()->font().pointSize();
        int widths = kLinkMargin;
        for (;; --points) {
            widths = kLinkMargin;
            for (TMURL* link : row) {
                SetLinkPointSize(link, points);
                widths += link->width();
            }
            if (widths <= room || points <= kSmallestPoint)
                break;
        }
        const std::vector<int> lefts = CloseUpRow(row, room, widths <= room);
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i]->move(lefts[i], top);
            row[i]->setVisible(lefts[i] + row[i]->width() <= room);
        }
    }
}

void TfLexDictionary::BindAlphabetLinks()
{
    for (TMURL* link : alphabetLinks_) {
        disconnect(link, &TMURL::clicked, this, nullptr);
        if (link->y() == 2)
            connect(link, &TMURL::clicked, this, [this, link] { Guard([this, link] { MURL1Click(link); }); });
        else
            connect(link, &TMURL::clicked, this, [this, link] { Guard([this, link] { MURL14Click(link); }); });
    }
}

void TfLexDictionary::MURL1Click(TMURL* link)
{
    const QString caption = link->text();
    cbFind->setEditText(caption);
    const char16_t letter =
        link->LetterKey() == u' ' && !caption.isEmpty() ? caption.at(0).unicode() : link->LetterKey();
    CurrentLetter = letter;
    std::u16string words;
    Dictionary->GetLetterWords(letter, false, words, false);
    if (words.empty()) {
        ClearWords();
        return;
    }
    SetSearchMode(0);
    SetWordsText(std::move(words));
    MergeUserWords(letter);
    bFundClick();
    cbFind->lineEdit()->setCursorPosition(1);
    cbFind->lineEdit()->deselect();
    lbWordsClick();
}

void TfLexDictionary::MURL14Click(TMURL* link)
{
    QLineEdit* edit = cbFind->lineEdit();
    const QString caption = link->text();
    int caret = 0;
    if (edit->hasSelectedText() && edit->selectedText().size() == edit->text().size()) {
        edit->setText(caption);
        caret = static_cast<int>(caption.size());
    } else {
        QString text = edit->text();
        int at = edit->cursorPosition();
        if (edit->hasSelectedText()) {
            at = edit->selectionStart();
            text.remove(at, edit->selectedText().size());
        }
        text.insert(at, caption);
        edit->setText(text);
        caret = at + static_cast<int>(caption.size());
    }
    if (Settings.EveryKey)
        FindWord();
    edit->deselect();
    edit->setCursorPosition(caret);
    cbFind->setFocus();
}
