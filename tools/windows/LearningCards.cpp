// Methods 1 and 2: the list's words shown one after another at the speed the user sets,
// with their articles (flash cards) or alone, the article on request (words only).
#include "tools/windows/Learning.h"

#include "components/MURL.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>

void TfLearning::ChooseCards(int method)
{
    const bool cards = method == 1;
    if (!BeginMethod(method, cards ? alMethod1 : alMethod2))
        return;
    // The choice gives method 2 another base than its speed bar (800 against 600 ms).
    Timer->setInterval(cards ? tbSpeedM1->value() * 500 + 600 : tbSpeedM2->value() * 500 + 800);
    SetTimerTick(cards ? &TfLearning::bIncM1Click : &TfLearning::bIncM2Click);
    (cards ? bStartM1 : bStartM2)->setText(Text("LLBStart"));
    CurrentIndex = -1;
    QProgressBar* gauge = cards ? GaugeM1 : GaugeM2;
    gauge->setRange(0, std::max(ListCount(), 1));
    gauge->setValue(0);
    (cards ? eWordM1 : eWordM2)->clear();
    (cards ? reDescriptionM1 : reDescriptionM2)->clear();
    WordIndex = -1;
}

void TfLearning::alMethod1Click()
{
    ChooseCards(1);
}

void TfLearning::alMethod2Click()
{
    ChooseCards(2);
}

void TfLearning::ShowCard(int method)
{
    const bool cards = method == 1;
    (cards ? eWordM1 : eWordM2)->setText(ShownWord(CurrentIndex));
    if (cards)
        ShowArticle(reDescriptionM1, ListArticle(CurrentIndex));
    (cards ? GaugeM1 : GaugeM2)->setValue(CurrentIndex + 1);
    if (cards && host_.SetListWordSoundPosition)
        host_.SetListWordSoundPosition(CurrentIndex);
    WordIndex = ListWordIndex(CurrentIndex);
    if ((cards ? ckbSpeakM1 : ckbSpeakM2)->isChecked())
        alSoundClick();
}

void TfLearning::bIncM1Click()
{
    if (MoveNext(false))
        ShowCard(1);
}

void TfLearning::bDecM1Click()
{
    if (MovePrevious(false))
        ShowCard(1);
}

void TfLearning::bStartM1Click()
{
    if (Timer->isActive())
        Timer->stop();
    else
        Timer->start();
    bStartM1->setText(Text(Timer->isActive() ? "LLBStop" : "LLBStart"));
}

void TfLearning::tbSpeedM1Change()
{
    Timer->setInterval(tbSpeedM1->value() * 500 + 600);
}

void TfLearning::bIncM2Click()
{
    if (MoveNext(false))
        ShowCard(2);
}

void TfLearning::bDecM2Click()
{
    if (MovePrevious(false))
        ShowCard(2);
}

void TfLearning::bStartM2Click()
{
    if (Timer->isActive())
        Timer->stop();
    else
        Timer->start();
    bStartM2->setText(Text(Timer->isActive() ? "LLBStop" : "LLBStart"));
}

void TfLearning::tbSpeedM2Change()
{
    Timer->setInterval(tbSpeedM2->value() * 500 + 600);
}

// Pauses the drill to show the current word's article, and resumes it.
void TfLearning::dDescriptionM2Click()
{
    if (CurrentIndex == -1)
        return;
    if (Timer->isActive())
        Timer->stop();
    else
        Timer->start();
    const bool running = Timer->isActive();
    if (running)
        reDescriptionM2->clear();
    else
        ShowArticle(reDescriptionM2, ListArticle(CurrentIndex));
    for (QPushButton* b : {bStartM2, bIncM2, bDecM2})
        b->setEnabled(running);
}
