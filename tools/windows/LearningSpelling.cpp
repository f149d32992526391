// Methods 3 and 4: a word shown for a moment and typed from memory (timed spelling), and a
// word typed from its article with the head taken away (optionally scored as an exam).
#include "tools/windows/Learning.h"

#include "components/MURL.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

// --- method 3

void TfLearning::alMethod3Click()
{
    if (!BeginMethod(3, alMethod3))
        return;
    for (QPushButton* b : {bRepeatM3, bCheckM3, bShowM3, bIncM3, bDecM3})
        b->setEnabled(false);
    ckbRandomM3->setChecked(false);
    Timer->setInterval(tbSpeedM3->value() * 100 + 1500);
    SetTimerTick(&TfLearning::TimerTimer);
    bStartM3->setText(Text("LLBStart"));
    CurrentIndex = -1;
    GaugeM3->setRange(0, std::max(ListCount(), 1));
    GaugeM3->setValue(0);
    WordIndex = -1;
}

void TfLearning::tbSpeedM3Change()
{
    Timer->setInterval(tbSpeedM3->value() * 100 + 1500);
}

// The word has been on show long enough: hide it.
void TfLearning::TimerTimer()
{
    Timer->stop();
    eTestWordM3->clear();
    eTestWordM3->setFocus();
}

void TfLearning::bStartM3Click()
{
    if (Timer->isActive())
        return;  // a word is on show
    if (bRepeatM3->isEnabled()) {
        bStartM3->setText(Text("LLBStart"));
        WordIndex = -1;
        for (QPushButton* b : {bRepeatM3, bCheckM3, bShowM3, bIncM3, bDecM3})
            b->setEnabled(false);
        return;
    }
    if (ListCount() == 0)
        return;
    bStartM3->setText(Text("LLBStop"));
    for (QPushButton* b : {bRepeatM3, bCheckM3, bShowM3, bIncM3, bDecM3})
        b->setEnabled(true);
    eTestWordM3->clear();
    CurrentIndex = 0;
    GaugeM3->setRange(0, ListCount());
    GaugeM3->setValue(1);
    WordIndex = ListWordIndex(0);
    eTestWordM3->setText(ShownWord(0));
    Timer->start();
}

// Method 3 after a move: the word shown again for the set time.
void TfLearning::ShowMovedWordM3()
{
    eTestWordM3->setText(ShownWord(CurrentIndex));
    GaugeM3->setValue(CurrentIndex + 1);
    Timer->start();
    WordIndex = ListWordIndex(CurrentIndex);
    ImageM3->hide();
}

void TfLearning::bIncM3Click()
{
    if (MoveNext(ckbRandomM3->isChecked()))
        ShowMovedWordM3();
}

void TfLearning::bDecM3Click()
{
    if (MovePrevious(ckbRandomM3->isChecked()))
        ShowMovedWordM3();
}

void TfLearning::bRepeatM3Click()
{
    if (Timer->isActive())
        return;
    if (ckbRandomM3->isChecked()) {
        eTestWordM3->setText(ShownWord(CurrentIndex));
        Timer->start();
        return;
    }
    CurrentIndex -= 1;
    bIncM3Click();
}

void TfLearning::bCheckM3Click()
{
    if (Timer->isActive())
        return;
    ImageM3->show();
    if (eTestWordM3->text() != ShownWord(CurrentIndex)) {
        ShowPicture(ImageM3, QStringLiteral("No.jpg"));
        eTestWordM3->clear();
        PlayAnswer(QStringLiteral("No.wav"));
    } else {
        ShowPicture(ImageM3, QStringLiteral("Yes.jpg"));
        PlayAnswer(QStringLiteral("Yes.wav"));
    }
}

void TfLearning::bShowM3Click()
{
    if (!Timer->isActive())
        eTestWordM3->setText(ShownWord(CurrentIndex));
}

bool TfLearning::eTestWordM3KeyDown(int key)
{
    // Enter checks the answer of a running drill while no word is on show.
    if (!IsEnter(key) || Timer->isActive() || !bCheckM3->isEnabled())
        return false;
    eTestWordM3->selectAll();
    bCheckM3Click();
    return true;
}

// --- method 4

void TfLearning::alMethod4Click()
{
    if (!BeginMethod(4, alMethod4))
        return;
    Timer->stop();
    for (QPushButton* b : {bCheckM4, bShowM4, bIncM4, bDecM4})
        b->setEnabled(false);
    bStartM4->setText(Text("LLBStart"));
    lResultM4->setText(QStringLiteral("0 - 0"));
    eTestWordM4->clear();
    reDescriptionM4->clear();
    CurrentIndex = -1;
    GaugeM4->setRange(0, std::max(ListCount(), 1));
    GaugeM4->setValue(0);
    WordIndex = -1;
    FailCount = 0;
    SuccessCount = 0;
}

void TfLearning::bStartM4Click()
{
    if (bCheckM4->isEnabled()) {
        bStartM4->setText(Text("LLBStart"));
        for (QPushButton* b : {bCheckM4, bShowM4, bIncM4, bDecM4})
            b->setEnabled(false);
        return;
    }
    if (ListCount() == 0)
        return;
    bStartM4->setText(Text("LLBStop"));
    for (QPushButton* b : {bCheckM4, bShowM4, bIncM4, bDecM4})
        b->setEnabled(true);
    lResultM4->setText(QStringLiteral("0 - 0"));
    eTestWordM4->clear();
    FailCount = 0;
    SuccessCount = 0;
    CurrentIndex = -1;
    WordIndex = -1;
    bIncM4Click();
}

// Method 4 after a move: the next translation without its head, the answer field waiting.
void TfLearning::AskMovedWordM4()
{
    ShowArticle(reDescriptionM4, ListArticle(CurrentIndex));
    HideArticleHead();
    GaugeM4->setValue(CurrentIndex + 1);
    WordIndex = ListWordIndex(CurrentIndex);
    eTestWordM4->clear();
    eTestWordM4->setFocus();
    bCheckM4->setEnabled(true);
    bShowM4->setEnabled(true);
}

void TfLearning::bIncM4Click()
{
    if (MoveNext(ckbRandomM4->isChecked()))
        AskMovedWordM4();
}

void TfLearning::bDecM4Click()
{
    if (MovePrevious(ckbRandomM4->isChecked()))
        AskMovedWordM4();
}

void TfLearning::bCheckM4Click()
{
    if (eTestWordM4->text().isEmpty())
        return;
    const bool exam = ckbExamenM4->isChecked();
    auto score = [this] { lResultM4->setText(QStringLiteral("%1 - %2").arg(FailCount).arg(SuccessCount)); };
    if (eTestWordM4->text() == ShownWord(CurrentIndex)) {
        if (exam) {
            SuccessCount += 1;
            score();
        }
        PlayAnswer(QStringLiteral("Yes.wav"));
        bIncM4Click();
    } else {
        PlayAnswer(QStringLiteral("No.wav"));
        if (exam) {
            FailCount += 1;
            score();
            bCheckM4->setEnabled(false);
            eTestWordM4->setText(ListEntry(CurrentIndex));
            ShowArticle(reDescriptionM4, ListArticle(CurrentIndex));
        }
    }
    eTestWordM4->setFocus();
}

void TfLearning::bShowM4Click()
{
    if (ckbExamenM4->isChecked()) {
        FailCount += 1;
        lResultM4->setText(QStringLiteral("%1 - %2").arg(FailCount).arg(SuccessCount));
        bShowM4->setEnabled(false);
    }
    eTestWordM4->setFocus();
    eTestWordM4->setText(ShownWord(CurrentIndex));
    bCheckM4->setEnabled(false);
}

bool TfLearning::eTestWordM4KeyDown(int key)
{
    if (!IsEnter(key))
        return false;
    if (bCheckM4->isEnabled())
        bCheckM4Click();
    return true;
}

namespace {

// Bold, italic, underlined or struck out: the marks of an article's head.
bool StyledAt(const QTextDocument& document, int position)
{
    if (position < 0 || position >= document.characterCount() - 1)
        return false;
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (position >= f.position() && position < f.position() + f.length()) {
            const QTextCharFormat c = f.charFormat();
            return c.fontWeight() > QFont::Normal || c.fontItalic() || c.fontUnderline() || c.fontStrikeOut();
        }
    }
    return false;  // the block's end: a paragraph mark carries no style of its own here
}

}  // namespace

// Removes the head of the article (the headword and the styled text beside it) so that the
// answer is not given away: it ends at the first sense number ("1" or "I") or at the first
// of four plain characters in a row.
void TfLearning::HideArticleHead()
{
    QTextDocument& document = *reDescriptionM4->document();
    const int length = document.characterCount() - 1;
    int p = 0;
    while (p < length) {
        const QChar c = document.characterAt(p);
        if (c == QLatin1Char('1') || c == QLatin1Char('I'))
            break;
        if (StyledAt(document, p) || StyledAt(document, p + 1) || StyledAt(document, p + 2)
            || StyledAt(document, p + 3)) {
            ++p;
            continue;
        }
        break;
    }
    if (p == 0)
        return;
    QTextCursor cursor(&document);
    cursor.setPosition(0);
    cursor.setPosition(p, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    reDescriptionM4->moveCursor(QTextCursor::Start);
}
