// The learning window's common part: creation, captions, the choice of a method, moving
// through the list, pronunciation, help, pictures and answer sounds, and key preview.
#include "tools/windows/Learning.h"

#include "components/HelpWindow.h"
#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "components/MessageForm.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "platform/Sound.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

// The host's interface strings; none (every text empty) when it gave none.
const TWideStrings& StringsOf(const TLearningHost& host)
{
    static const TWideStringList none;
    return host.LangStrings ? *host.LangStrings : none;
}

}  // namespace

TfLearning::TfLearning(TLearningHost host, QWidget* parent)
    : QDialog(parent),
      host_(std::move(host))
{
    BuildWidgets();
    ConnectHandlers();
    ConnectHangman();
    WatchKeys(this);
    FormCreate();
    // Maximised; also where no window manager maximises it.
    if (QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

TfLearning::~TfLearning() = default;

void TfLearning::FormCreate()
{
    ApplyCaptions();
    GameRunning = false;
    CurrentIndex = 0;
    lLanguage->setText(host_.FromText + QStringLiteral(" -> ") + host_.ToText);
    if (host_.RandomSeed)
        random_.seed(*host_.RandomSeed);
    else
        random_.seed(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    ShowPicture(Image1, QStringLiteral("LearnBack.jpg"));
    BuildAlphabetKeyboard();
}

QString TfLearning::Text(const char* key) const
{
    return host_.LangStrings ? LangText(*host_.LangStrings, key) : QString();
}

void TfLearning::ApplyCaptions()
{
    alSound->setText(Text("LLPlay"));
    alHelp->setText(Text("LLHelp"));
    alHangMan->setText(Text("LLHangMan"));
    alMethod1->setText(Text("LLMethod1"));
    alMethod2->setText(Text("LLMethod2"));
    alMethod3->setText(Text("LLMethod3"));
    alMethod4->setText(Text("LLMethod4"));
    alMethod5->setText(Text("LLMethod5"));
    alMethod6->setText(Text("LLMethod6"));
    alExit->setText(Text("LLClose"));
    for (QPushButton* b : {bStartM1, bStartM2, bStartM3, bStartM4, bStartM5, bStartM6})
        b->setText(Text("LLBStart"));
    for (QPushButton* b : {bDecM1, bDecM2, bDecM3, bDecM4, bDecM5})
        b->setText(Text("LLBDec"));
    for (QPushButton* b : {bIncM1, bIncM2, bIncM3, bIncM4, bIncM5})
        b->setText(Text("LLBInc"));
    for (QLabel* l : {lFastM1, lFastM2, lFastM3})
        l->setText(Text("LLFast"));
    for (QLabel* l : {lSlowM1, lSlowM2, lSlowM3})
        l->setText(Text("LLSlow"));
    for (QCheckBox* c : {ckbSpeakM1, ckbSpeakM2, ckbSpeakM6})
        c->setText(Text("LLSpeakCheck"));
    dDescriptionM2->setText(Text("LLDesc"));
    for (QPushButton* b : {bCheckM3, bCheckM4, bCheckM5})
        b->setText(Text("LLBCheck"));
    for (QPushButton* b : {bShowM3, bShowM4, bShowM5})
        b->setText(Text("LLBShow"));
    bRepeatM3->setText(Text("LLBRepeat"));
    for (QCheckBox* c : {ckbRandomM3, ckbRandomM4, ckbRandomM5})
        c->setText(Text("LLRandomCheck"));
    ckbExamenM4->setText(Text("LLChackExamen"));
    lIntervalM6->setText(Text("LLIntervalM6"));
    lGameWord->Show(Text("LLGameWord"));
    alLoss->setText(Text("LLLoss"));
    alNextWord->setText(Text("LLNexWord"));
    alNewGame->setText(Text("LLNewGame"));
    rbDictWords->setText(Text("LLDictWords"));
    rbListWords->setText(Text("LLListWords"));
}

void TfLearning::ConnectHandlers()
{
    auto link = [this](TMURL* l, void (TfLearning::*handler)()) {
        connect(l, &TMURL::clicked, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    auto button = [this](QPushButton* b, void (TfLearning::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    auto slider = [this](QSlider* s, void (TfLearning::*handler)()) {
        connect(s, &QSlider::valueChanged, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    link(alMethod1, &TfLearning::alMethod1Click);
    link(alMethod2, &TfLearning::alMethod2Click);
    link(alMethod3, &TfLearning::alMethod3Click);
    link(alMethod4, &TfLearning::alMethod4Click);
    link(alMethod5, &TfLearning::alMethod5Click);
    link(alMethod6, &TfLearning::alMethod6Click);
    link(alExit, &TfLearning::alExitClick);
    link(alHelp, &TfLearning::alHelpClick);
    link(alSound, &TfLearning::alSoundClick);
    connect(Timer, &QTimer::timeout, this, [this] {
        Guard([this] {
            if (const auto tick = timerTick_)
                (this->*tick)();
        });
    });
    button(bIncM1, &TfLearning::bIncM1Click);
    button(bDecM1, &TfLearning::bDecM1Click);
    button(bStartM1, &TfLearning::bStartM1Click);
    slider(tbSpeedM1, &TfLearning::tbSpeedM1Change);
    button(bIncM2, &TfLearning::bIncM2Click);
    button(bDecM2, &TfLearning::bDecM2Click);
    button(bStartM2, &TfLearning::bStartM2Click);
    button(dDescriptionM2, &TfLearning::dDescriptionM2Click);
    slider(tbSpeedM2, &TfLearning::tbSpeedM2Change);
    button(bStartM3, &TfLearning::bStartM3Click);
    button(bIncM3, &TfLearning::bIncM3Click);
    button(bDecM3, &TfLearning::bDecM3Click);
    button(bRepeatM3, &TfLearning::bRepeatM3Click);
    button(bCheckM3, &TfLearning::bCheckM3Click);
    button(bShowM3, &TfLearning::bShowM3Click);
    slider(tbSpeedM3, &TfLearning::tbSpeedM3Change);
    button(bStartM4, &TfLearning::bStartM4Click);
    button(bIncM4, &TfLearning::bIncM4Click);
    button(bDecM4, &TfLearning::bDecM4Click);
    button(bCheckM4, &TfLearning::bCheckM4Click);
    button(bShowM4, &TfLearning::bShowM4Click);
    button(bStartM5, &TfLearning::bStartM5Click);
    button(bIncM5, &TfLearning::bIncM5Click);
    button(bDecM5, &TfLearning::bDecM5Click);
    button(bCheckM5, &TfLearning::bCheckM5Click);
    button(bShowM5, &TfLearning::bShowM5Click);
    button(bStartM6, &TfLearning::bStartM6Click);
    connect(pcMethods, &QStackedWidget::currentChanged, this, [this] {
        if (pcMethods->currentWidget() == tsMethod6)
            Guard([this] { tsMethod6Show(); });
    });
}

// Key preview: the window sees every key before the control that has the focus.
void TfLearning::WatchKeys(QWidget* widget)
{
    for (QWidget* w : widget->findChildren<QWidget*>())
        w->installEventFilter(this);
}

bool TfLearning::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = false;
    Guard([&] {
        // A key goes to the focused control first; the filter sees it again on each parent
        // it is passed on to, where it is no longer previewed. The window's own focus
        // control is asked: while a message shown by the preview takes the activation, the
        // application has none.
        if (watched == focusWidget() && !key->isAutoRepeat()) {
            const QString text = key->text();
            if (!text.isEmpty())
                FormKeyPress(text.at(0).unicode());
        }
        if (watched == eTestWordM3)
            handled = eTestWordM3KeyDown(key->key());
        else if (watched == eTestWordM4)
            handled = eTestWordM4KeyDown(key->key());
        else if (watched == eTestWordM5)
            handled = eTestWordM5KeyDown(key->key());
    });
    return handled || QDialog::eventFilter(watched, event);
}

void TfLearning::keyPressEvent(QKeyEvent* event)
{
    // Keys of the focused control were seen by the filter already. A held key is one key:
    // its repeats (the key that closed a message, still down) are no guesses.
    QWidget* focus = focusWidget();
    if ((focus == nullptr || focus == this || !isAncestorOf(focus)) && !event->isAutoRepeat()) {
        const QString text = event->text();
        if (!text.isEmpty())
            Guard([&] { FormKeyPress(text.at(0).unicode()); });
    }
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfLearning::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    pLearn->move(std::max(0, (width() - pLearn->width()) / 2), std::max(0, (height() - pLearn->height()) / 2));
}

void TfLearning::done(int result)
{
    if (!closed_) {
        closed_ = true;
        Guard([this] { FormClose(); });
    }
    QDialog::done(result);
}

void TfLearning::FormClose()
{
    Timer->stop();
    if (host_.SoundWordIndex != nullptr)
        *host_.SoundWordIndex = -1;
}

void TfLearning::alExitClick()
{
    close();
}

void TfLearning::alHelpClick()
{
    const bool game = pcMethods->currentWidget() == tsHangman;
    ShowHelpTopic(host_.HelpFile + (game ? QStringLiteral("::/143.htm") : QStringLiteral("::/142.htm")),
                  StringsOf(host_), this);
}

void TfLearning::SelectMethod(int method)
{
    switch (method) {
    case 1:
        alMethod1Click();
        break;
    case 2:
        alMethod2Click();
        break;
    case 3:
        alMethod3Click();
        break;
    case 4:
        alMethod4Click();
        break;
    case 5:
        alMethod5Click();
        break;
    case 6:
        alMethod6Click();
        break;
    case 7:
        alHangManClick();
        break;
    default:
        break;
    }
}

bool TfLearning::CheckListOpen()
{
    const bool open = host_.ListShown ? host_.ListShown() : host_.lbList != nullptr && host_.lbList->isVisible();
    if (!open)
        ShowMessage(Text("MsgLoadList"));
    return open;
}

QString TfLearning::StripHomonymDigit(const QString& word)
{
    if (!word.isEmpty() && word.back() >= QLatin1Char('0') && word.back() <= QLatin1Char('9'))
        return word.left(word.size() - 1);
    return word;
}

bool TfLearning::BeginMethod(int method, TMURL* link)
{
    if (host_.TimerM6 != nullptr && host_.TimerM6->isActive())
        bStartM6Click();
    EnableAllKeys();
    if (method <= 5)
        GameRunning = false;
    if (!CheckListOpen())
        return false;
    static constexpr int kPages = 6;
    QWidget* pages[kPages] = {tsMethod1, tsMethod2, tsMethod3, tsMethod4, tsMethod5, tsMethod6};
    pcMethods->setCurrentWidget(pages[std::clamp(method, 1, kPages) - 1]);
    lMethod->setText(link->text());
    Timer->stop();
    return true;
}

int TfLearning::ListCount() const
{
    return host_.lbList != nullptr ? host_.lbList->count() : 0;
}

QString TfLearning::ListEntry(int position) const
{
    if (host_.lbList == nullptr || position < 0 || position >= host_.lbList->count())
        return {};
    return host_.lbList->item(position)->text();
}

std::int32_t TfLearning::ListWordIndex(int position) const
{
    return host_.LearnDictionary != nullptr ? host_.LearnDictionary->GetWordIndex(position) : -1;
}

std::string TfLearning::ListArticle(int position) const
{
    return host_.LearnDictionary != nullptr ? host_.LearnDictionary->GetArticle(position) : std::string();
}

int TfLearning::RandomPosition(int count)
{
    return std::uniform_int_distribution<int>(0, count - 1)(random_);
}

bool TfLearning::MoveNext(bool random)
{
    const int count = ListCount();
    if (count == 0)
        return false;
    if (random)
        CurrentIndex = RandomPosition(count);
    else
        CurrentIndex = CurrentIndex < -1 || CurrentIndex + 1 >= count ? 0 : CurrentIndex + 1;
    return true;
}

bool TfLearning::MovePrevious(bool random)
{
    const int count = ListCount();
    if (count == 0)
        return false;
    if (random)
        CurrentIndex = RandomPosition(count);
    else
        CurrentIndex = CurrentIndex <= 0 || CurrentIndex > count ? count - 1 : CurrentIndex - 1;
    return true;
}

void TfLearning::alSoundClick()
{
    if (WordIndex == -1 || pcMethods->currentWidget() == tsHangman)
        return;
    // A word the dictionary does not hold has nothing to pronounce.
    const std::int32_t block = host_.Dictionary != nullptr ? host_.Dictionary->SectionOfWordIndex(WordIndex) : -1;
    if (block < 0)
        return;
    if (host_.SoundBlock != nullptr)
        *host_.SoundBlock = block;
    if (host_.SoundWordIndex != nullptr)
        *host_.SoundWordIndex = WordIndex - host_.Dictionary->Sections[static_cast<std::size_t>(block)].FirstWordIndex;
    if (host_.SpeakWord)
        host_.SpeakWord();
}

void TfLearning::ShowArticle(QTextEdit* edit, const std::string& article)
{
    if (article.rfind("{\\rtf", 0) == 0)
        RichText::ReadRtf(article, *edit->document());
    else
        edit->setPlainText(ToQString(Platform::AnsiToWide(article)));
    edit->moveCursor(QTextCursor::Start);
}

void TfLearning::ShowPicture(QLabel* label, const QString& name)
{
    if (label == nullptr)
        return;
    const QImage image(host_.AppDir + QStringLiteral("Sounds/") + name);
    if (image.isNull())
        label->clear();
    else
        label->setPixmap(QPixmap::fromImage(image));
    label->setProperty("Picture", image.isNull() ? QString() : name);
}

void TfLearning::PlayAnswer(const QString& name)
{
    Platform::PlaySoundAsync((host_.AppDir + QStringLiteral("Sounds/") + name).toStdString());
}

void TfLearning::ShowMessage(const QString& text)
{
    ShowMessageForm(this, text, StringsOf(host_), 0, 1);
}

void TfLearning::SetTimerTick(void (TfLearning::*tick)())
{
    timerTick_ = tick;
}
