// The learning window's controls: the 800 x 600 panel with its background, the method links
// on the left, the method pages and the keyboard panel below them.
#include "tools/windows/Learning.h"
#include "tools/windows/LearningLayout.h"

#include "components/MBox.h"
#include "components/MURL.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

namespace LearningLayout {

QPushButton* Button(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    return l;
}

TMURL* Link(QWidget* parent, const char* name, int x, int y, int w, int h, int pointSize)
{
    auto* l = new TMURL(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    QFont f = l->font();
    f.setPointSize(pointSize);
    l->setFont(f);
    l->SetActivType(atUser);
    l->SetFontColor(clWhite);
    l->SetHotColor(clYellow);
    l->SetTransparent(true);
    return l;
}

QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int h, int pointSize)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, h);
    QFont f = e->font();
    f.setPointSize(pointSize);
    e->setFont(f);
    return e;
}

QTextEdit* RichEdit(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* r = new QTextEdit(parent);
    r->setObjectName(name);
    r->setGeometry(x, y, w, h);
    r->setReadOnly(true);
    r->setAcceptRichText(true);
    return r;
}

QProgressBar* Gauge(QWidget* parent, const char* name)
{
    auto* g = new QProgressBar(parent);
    g->setObjectName(name);
    g->setGeometry(10, 8, 520, 16);
    g->setRange(0, 1);
    g->setValue(0);
    g->setTextVisible(false);
    return g;
}

QCheckBox* Check(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 22);
    QPalette p = c->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    c->setPalette(p);
    return c;
}

QSlider* Speed(QWidget* parent, const char* name, const char* fast, const char* slow, QLabel*& lFast, QLabel*& lSlow)
{
    // Position 0 at the top end (fast), 10 at the bottom (slow).
    auto* s = new QSlider(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setGeometry(480, 64, 30, 200);
    s->setRange(0, 10);
    s->setValue(5);
    s->setInvertedAppearance(true);
    s->setInvertedControls(true);
    s->setTickPosition(QSlider::TicksRight);
    s->setPageStep(1);
    lFast = Label(parent, fast, 460, 40, 75, 20);
    lSlow = Label(parent, slow, 460, 268, 75, 20);
    return s;
}

QLabel* Picture(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    l->setScaledContents(true);
    return l;
}

}  // namespace LearningLayout

using namespace LearningLayout;

void TfLearning::BuildWidgets()
{
    setObjectName("fLearning");
    // No border, maximised; the panel of 800 x 600 sits in the middle.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(8);
    setFont(tahoma);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(6697728));
    setPalette(pal);

    pLearn = new QWidget(this);
    pLearn->setObjectName("pLearn");
    pLearn->setGeometry(0, 0, 800, 600);
    Image1 = Picture(pLearn, "Image1", 0, 0, 800, 600);

    lLanguage = Label(pLearn, "lLanguage", 20, 12, 500, 22);
    QFont big = lLanguage->font();
    big.setPointSize(11);
    big.setBold(true);
    lLanguage->setFont(big);
    // The links' column is as wide as the longest method caption needs at 11 points (the
    // German "Aus dem Gedächtnis schreiben"); the pages start right of it.
    constexpr int kLinkWidth = 238;
    constexpr int kPagesLeft = 20 + kLinkWidth;
    lMethod = Label(pLearn, "lMethod", kPagesLeft + 10, 40, 790 - kPagesLeft - 10, 30);
    big.setPointSize(15);
    lMethod->setFont(big);

    alMethod1 = Link(pLearn, "alMethod1", 20, 90, kLinkWidth, 24, 11);
    alMethod2 = Link(pLearn, "alMethod2", 20, 122, kLinkWidth, 24, 11);
    alMethod3 = Link(pLearn, "alMethod3", 20, 154, kLinkWidth, 24, 11);
    alMethod4 = Link(pLearn, "alMethod4", 20, 186, kLinkWidth, 24, 11);
    alMethod5 = Link(pLearn, "alMethod5", 20, 218, kLinkWidth, 24, 11);
    alMethod6 = Link(pLearn, "alMethod6", 20, 250, kLinkWidth, 24, 11);
    alHangMan = Link(pLearn, "alHangMan", 20, 298, kLinkWidth, 24, 11);
    alSound = Link(pLearn, "alSound", 20, 420, kLinkWidth, 22, 10);
    alHelp = Link(pLearn, "alHelp", 20, 450, kLinkWidth, 22, 10);
    alExit = Link(pLearn, "alExit", 20, 480, kLinkWidth, 22, 10);
    int tag = 1;
    for (TMURL* l : {alMethod1, alMethod2, alMethod3, alMethod4, alMethod5, alMethod6})
        l->setProperty("Tag", tag++);

    pcMethods = new QStackedWidget(pLearn);
    pcMethods->setObjectName("pcMethods");
    // Its pages hold their controls within 535 pixels.
    pcMethods->setGeometry(kPagesLeft, 80, 795 - kPagesLeft, 440);
    auto page = [this](const char* name) {
        auto* w = new QWidget(pcMethods);
        w->setObjectName(name);
        pcMethods->addWidget(w);
        return w;
    };
    tsMethod1 = page("tsMethod1");
    tsMethod2 = page("tsMethod2");
    tsMethod3 = page("tsMethod3");
    tsMethod4 = page("tsMethod4");
    tsMethod5 = page("tsMethod5");
    tsMethod6 = page("tsMethod6");
    tsHome = page("tsHome");
    tsHangman = page("tsHangman");
    pcMethods->setCurrentWidget(tsHome);

    mbChars = new TMBox(pLearn);
    mbChars->setObjectName("mbChars");
    mbChars->setGeometry(20, 540, 760, 34);
    mbChars->SetColor(0xF0E0D0);
    mbChars->SetBorderColor(0x804020);

    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(800);

    BuildCardPages();
    BuildSpellingPages();
    BuildDictationPages();
    BuildHangmanPage();
}

void TfLearning::BuildCardPages()
{
    // method 1: flash cards
    GaugeM1 = Gauge(tsMethod1, "GaugeM1");
    eWordM1 = Edit(tsMethod1, "eWordM1", 10, 40, 440, 34, 16);
    reDescriptionM1 = RichEdit(tsMethod1, "reDescriptionM1", 10, 84, 440, 250);
    tbSpeedM1 = Speed(tsMethod1, "tbSpeedM1", "lFastM1", "lSlowM1", lFastM1, lSlowM1);
    ckbSpeakM1 = Check(tsMethod1, "ckbSpeakM1", 10, 344, 300);
    bDecM1 = Button(tsMethod1, "bDecM1", 10, 380, 120, 30);
    bStartM1 = Button(tsMethod1, "bStartM1", 160, 380, 130, 30);
    bIncM1 = Button(tsMethod1, "bIncM1", 320, 380, 120, 30);

    // method 2: words only
    GaugeM2 = Gauge(tsMethod2, "GaugeM2");
    eWordM2 = Edit(tsMethod2, "eWordM2", 10, 40, 440, 34, 16);
    dDescriptionM2 = Button(tsMethod2, "dDescriptionM2", 10, 84, 200, 28);
    reDescriptionM2 = RichEdit(tsMethod2, "reDescriptionM2", 10, 120, 440, 214);
    tbSpeedM2 = Speed(tsMethod2, "tbSpeedM2", "lFastM2", "lSlowM2", lFastM2, lSlowM2);
    ckbSpeakM2 = Check(tsMethod2, "ckbSpeakM2", 10, 344, 300);
    bDecM2 = Button(tsMethod2, "bDecM2", 10, 380, 120, 30);
    bStartM2 = Button(tsMethod2, "bStartM2", 160, 380, 130, 30);
    bIncM2 = Button(tsMethod2, "bIncM2", 320, 380, 120, 30);
}

void TfLearning::BuildSpellingPages()
{
    // method 3: timed spelling
    GaugeM3 = Gauge(tsMethod3, "GaugeM3");
    eTestWordM3 = Edit(tsMethod3, "eTestWordM3", 10, 40, 440, 34, 16);
    ImageM3 = Picture(tsMethod3, "ImageM3", 180, 90, 96, 96);
    ImageM3->hide();
    ckbRandomM3 = Check(tsMethod3, "ckbRandomM3", 10, 240, 300);
    tbSpeedM3 = Speed(tsMethod3, "tbSpeedM3", "lFastM3", "lSlowM3", lFastM3, lSlowM3);
    bStartM3 = Button(tsMethod3, "bStartM3", 10, 290, 130, 30);
    bRepeatM3 = Button(tsMethod3, "bRepeatM3", 160, 290, 130, 30);
    bCheckM3 = Button(tsMethod3, "bCheckM3", 310, 290, 130, 30);
    bShowM3 = Button(tsMethod3, "bShowM3", 310, 330, 130, 30);
    bDecM3 = Button(tsMethod3, "bDecM3", 10, 380, 120, 30);
    bIncM3 = Button(tsMethod3, "bIncM3", 320, 380, 120, 30);
    for (QPushButton* b : {bRepeatM3, bCheckM3, bShowM3, bDecM3, bIncM3})
        b->setEnabled(false);

    // method 4: the word from its article
    GaugeM4 = Gauge(tsMethod4, "GaugeM4");
    reDescriptionM4 = RichEdit(tsMethod4, "reDescriptionM4", 10, 34, 440, 200);
    eTestWordM4 = Edit(tsMethod4, "eTestWordM4", 10, 244, 440, 34, 16);
    ckbRandomM4 = Check(tsMethod4, "ckbRandomM4", 10, 286, 200);
    ckbExamenM4 = Check(tsMethod4, "ckbExamenM4", 220, 286, 200);
    lResultM4 = Label(tsMethod4, "lResultM4", 455, 244, 80, 34);
    QFont score = lResultM4->font();
    score.setPointSize(14);
    score.setBold(true);
    lResultM4->setFont(score);
    lResultM4->setText(QStringLiteral("0 - 0"));
    bStartM4 = Button(tsMethod4, "bStartM4", 10, 330, 130, 30);
    bCheckM4 = Button(tsMethod4, "bCheckM4", 160, 330, 130, 30);
    bShowM4 = Button(tsMethod4, "bShowM4", 310, 330, 130, 30);
    bDecM4 = Button(tsMethod4, "bDecM4", 10, 380, 120, 30);
    bIncM4 = Button(tsMethod4, "bIncM4", 320, 380, 120, 30);
    for (QPushButton* b : {bCheckM4, bShowM4, bDecM4, bIncM4})
        b->setEnabled(false);
}

void TfLearning::BuildDictationPages()
{
    // method 5: dictation
    GaugeM5 = Gauge(tsMethod5, "GaugeM5");
    ImageM5 = Picture(tsMethod5, "ImageM5", 180, 40, 96, 96);
    eTestWordM5 = Edit(tsMethod5, "eTestWordM5", 10, 150, 440, 34, 16);
    ckbRandomM5 = Check(tsMethod5, "ckbRandomM5", 10, 194, 300);
    bStartM5 = Button(tsMethod5, "bStartM5", 10, 290, 130, 30);
    bCheckM5 = Button(tsMethod5, "bCheckM5", 160, 290, 130, 30);
    bShowM5 = Button(tsMethod5, "bShowM5", 310, 290, 130, 30);
    bDecM5 = Button(tsMethod5, "bDecM5", 10, 380, 120, 30);
    bIncM5 = Button(tsMethod5, "bIncM5", 320, 380, 120, 30);
    for (QPushButton* b : {bCheckM5, bShowM5, bDecM5, bIncM5})
        b->setEnabled(false);

    // method 6: a word every few minutes
    lIntervalM6 = Label(tsMethod6, "lIntervalM6", 10, 40, 250, 24);
    UpDown1 = new QSpinBox(tsMethod6);
    UpDown1->setObjectName("UpDown1");
    UpDown1->setGeometry(270, 38, 70, 28);
    UpDown1->setRange(1, 30);
    UpDown1->setValue(3);
    if (auto* edit = UpDown1->findChild<QLineEdit*>()) {
        edit->setObjectName("lIntevalM6");
        edit->setReadOnly(true);
    }
    ckbSpeakM6 = Check(tsMethod6, "ckbSpeakM6", 10, 80, 300);
    bStartM6 = Button(tsMethod6, "bStartM6", 10, 120, 130, 30);
}
