// The game page of the learning window: the gallows picture, the word, the game's links,
// where the words come from, the score and the article shown when a game ends.
#include "tools/windows/Learning.h"
#include "tools/windows/HangmanWord.h"
#include "tools/windows/LearningLayout.h"

#include "components/MBox.h"
#include "components/MURL.h"

#include <QLabel>
#include <QRadioButton>
#include <QTextEdit>

using namespace LearningLayout;

void TfLearning::BuildHangmanPage()
{
    HangImage = Picture(tsHangman, "HangImage", 10, 10, 240, 300);

    lGameWord = new THangmanWord(tsHangman);
    lGameWord->setObjectName("lGameWord");
    lGameWord->setGeometry(260, 4, 275, 120);
    QPalette white = lGameWord->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lGameWord->setPalette(white);
    QFont word = lGameWord->font();
    word.setBold(true);
    lGameWord->setFont(word);

    alNewGame = Link(tsHangman, "alNewGame", 260, 130, 260, 24, 11);
    alNextWord = Link(tsHangman, "alNextWord", 260, 158, 260, 24, 11);
    alLoss = Link(tsHangman, "alLoss", 260, 186, 260, 24, 11);

    auto radio = [this](const char* name, int y) {
        auto* r = new QRadioButton(tsHangman);
        r->setObjectName(name);
        r->setGeometry(260, y, 275, 22);
        QPalette p = r->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        r->setPalette(p);
        return r;
    };
    rbDictWords = radio("rbDictWords", 216);
    rbListWords = radio("rbListWords", 240);
    rbDictWords->setChecked(true);

    // The score: losses, a picture, "<->", a picture, wins.
    MBox2 = new TMBox(tsHangman);
    MBox2->setObjectName("MBox2");
    MBox2->setGeometry(260, 272, 190, 40);
    MBox2->SetColor(0xF0E0D0);
    MBox2->SetBorderColor(0x804020);
    QFont score = font();
    score.setPointSize(12);
    score.setBold(true);
    auto scoreLabel = [&](const char* name, int x, int w, const QString& text) {
        auto* l = new QLabel(MBox2);
        l->setObjectName(name);
        l->setGeometry(x, 8, w, 24);
        l->setFont(score);
        l->setAlignment(Qt::AlignCenter);
        l->setText(text);
        return l;
    };
    lLoses = scoreLabel("lLoses", 6, 34, QStringLiteral("0"));
    Picture(MBox2, "ImageLoses", 42, 6, 28, 28);
    scoreLabel("lVersus", 74, 42, QStringLiteral("<->"));
    Picture(MBox2, "ImageWins", 118, 6, 28, 28);
    lWins = scoreLabel("lWins", 150, 34, QStringLiteral("0"));

    reDescriptionHM = RichEdit(tsHangman, "reDescriptionHM", 10, 320, 525, 112);
}

void TfLearning::ConnectHangman()
{
    auto on = [this](TMURL* link, void (TfLearning::*handler)()) {
        connect(link, &TMURL::clicked, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    on(alHangMan, &TfLearning::alHangManClick);
    on(alNewGame, &TfLearning::alHangManClick);
    on(alNextWord, &TfLearning::alNextWordClick);
    on(alLoss, &TfLearning::alLossClick);
    ShowPicture(MBox2->findChild<QLabel*>("ImageLoses"), QStringLiteral("No.jpg"));
    ShowPicture(MBox2->findChild<QLabel*>("ImageWins"), QStringLiteral("Yes.jpg"));
}
