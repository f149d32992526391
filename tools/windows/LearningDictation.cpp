// Method 5, dictation: the word is pronounced and typed. Method 6: the main window shows
// the next list word every few minutes after this window has closed.
#include "tools/windows/Learning.h"

#include "components/MURL.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

// --- method 5

void TfLearning::alMethod5Click()
{
    if (!BeginMethod(5, alMethod5))
        return;
    Timer->stop();
    for (QPushButton* b : {bCheckM5, bShowM5, bIncM5, bDecM5})
        b->setEnabled(false);
    bStartM5->setText(Text("LLBStart"));
    CurrentIndex = -1;
    GaugeM5->setRange(0, std::max(ListCount(), 1));
    GaugeM5->setValue(0);
    WordIndex = -1;
}

void TfLearning::bStartM5Click()
{
    if (bCheckM5->isEnabled()) {
        bStartM5->setText(Text("LLBStart"));
        for (QPushButton* b : {bCheckM5, bShowM5, bIncM5, bDecM5})
            b->setEnabled(false);
        return;
    }
    if (ListCount() == 0)
        return;
    bStartM5->setText(Text("LLBStop"));
    for (QPushButton* b : {bCheckM5, bShowM5, bIncM5, bDecM5})
        b->setEnabled(true);
    DictationWord = ShownWord(0);
    CurrentIndex = 0;
    GaugeM5->setValue(1);
    WordIndex = ListWordIndex(0);
    alSoundClick();
}

// Method 5 after a move: the next word is spoken and the answer field waits for it.
void TfLearning::DictateMovedWordM5()
{
    WordIndex = ListWordIndex(CurrentIndex);
    alSoundClick();
    DictationWord = ShownWord(CurrentIndex);
    GaugeM5->setValue(CurrentIndex + 1);
    eTestWordM5->clear();
    eTestWordM5->setFocus();
}

void TfLearning::bIncM5Click()
{
    if (MoveNext(ckbRandomM5->isChecked()))
        DictateMovedWordM5();
}

void TfLearning::bDecM5Click()
{
    if (MovePrevious(ckbRandomM5->isChecked()))
        DictateMovedWordM5();
}

void TfLearning::bCheckM5Click()
{
    if (eTestWordM5->text().isEmpty())
        return;
    if (eTestWordM5->text() != DictationWord) {
        ShowPicture(ImageM5, QStringLiteral("No.jpg"));
        PlayAnswer(QStringLiteral("No.wav"));
        return;
    }
    ShowPicture(ImageM5, QStringLiteral("Yes.jpg"));
    bIncM5Click();
    eTestWordM5->setFocus();
}

void TfLearning::bShowM5Click()
{
    eTestWordM5->setText(DictationWord);
}

bool TfLearning::eTestWordM5KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (bCheckM5->isEnabled())
        bCheckM5Click();
    return true;
}

// --- method 6

void TfLearning::alMethod6Click()
{
    if (!BeginMethod(6, alMethod6))
        return;
    WordIndex = -1;
    Timer->stop();
}

void TfLearning::tsMethod6Show()
{
    bStartM6->setText(Text("LLBStart"));
}

void TfLearning::bStartM6Click()
{
    if (host_.TimerM6 == nullptr)
        return;
    if (host_.TimerM6->isActive()) {
        host_.TimerM6->stop();
        bStartM6->setText(Text("LLBStart"));
        return;
    }
    host_.TimerM6->setInterval(UpDown1->value() * 60000);
    if (host_.SpeakInMethod6 != nullptr)
        *host_.SpeakInMethod6 = ckbSpeakM6->isChecked();
    host_.TimerM6->start();
    close();
}
