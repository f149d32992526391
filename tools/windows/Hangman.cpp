// Hangman on the learning window's game page and the alphabet keyboard that serves every
// page: a word from the dictionary or the list, its first and last letters given, seven
// stages of the gallows for the misses.
#include "tools/windows/Learning.h"

#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "components/MessageForm.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "engine/WideStringList.h"
#include "engine/WideText.h"
#include "platform/qt/QtText.h"
#include "tools/windows/AlphabetKeyboard.h"
#include "tools/windows/HangmanWord.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

#include <numeric>

// --- the keyboard

void TfLearning::BuildAlphabetKeyboard()
{
    KeyboardLetters.clear();
    Keys = CreateAlphabetKeys(mbChars, ParseAlphabetLine(KeyboardLine(host_.Dictionary)));
    for (TMURL* key : Keys) {
        KeyboardLetters += key->text();
        connect(key, &TMURL::clicked, this, [this, key] { Guard([this, key] { MURL1Click(key); }); });
    }
}

void TfLearning::EnableAllKeys()
{
    for (TMURL* key : Keys)
        key->setEnabled(true);
}

void TfLearning::DisableKey(char16_t letter)
{
    const char16_t upper = UpCaseLetter(letter);
    for (TMURL* key : Keys) {
        const QString caption = key->text();
        if (!caption.isEmpty() && UpCaseLetter(caption.at(0).unicode()) == upper) {
            key->setEnabled(false);
            return;
        }
    }
}

// A key types its letter into the answer field of a method page, or is a guess in the game.
void TfLearning::MURL1Click(TMURL* key)
{
    QWidget* page = pcMethods->currentWidget();
    if (page == tsHangman) {
        if (HiddenCount == -1 || key->text().isEmpty())
            return;
        key->setEnabled(false);
        Guess(key->text().at(0).unicode());
        return;
    }
    QLineEdit* field = page == tsMethod1 ? eWordM1
        : page == tsMethod2              ? eWordM2
        : page == tsMethod3              ? eTestWordM3
        : page == tsMethod4              ? eTestWordM4
        : page == tsMethod5              ? eTestWordM5
                                         : nullptr;
    if (field != nullptr)
        field->setText(field->text() + key->text());
}

// --- the game

void TfLearning::alHangManClick()
{
    if (host_.TimerM6 != nullptr && host_.TimerM6->isActive())
        bStartM6Click();
    GameRunning = false;
    FailCount = 0;
    SuccessCount = 0;
    HiddenCount = -1;
    WordIndex = -1;
    lLoses->setText(QStringLiteral("0"));
    lWins->setText(QStringLiteral("0"));
    pcMethods->setCurrentWidget(tsHangman);
    Timer->stop();
    BuildAlphabetKeyboard();
    lMethod->setText(alHangMan->text());
    lGameWord->Show({});
    const bool listOpen = host_.ListShown ? host_.ListShown() : host_.lbList != nullptr && host_.lbList->isVisible();
    rbListWords->setEnabled(listOpen);
    (listOpen ? rbListWords : rbDictWords)->setChecked(true);
    ShowPicture(HangImage, QStringLiteral("Hang_Win.jpg"));
}

void TfLearning::alNextWordClick()
{
    EnableAllKeys();
    GameWord = PickHangmanWord();
    if (GameWord.isEmpty()) {
        // Nothing to guess (no words, or a blank one): no game starts.
        HiddenCount = -1;
        GameRunning = false;
        return;
    }
    RevealMask = GameWord;
    MissStage = 1;
    HiddenCount = -2;
    RevealLetter(GameWord.front().unicode());
    RevealLetter(GameWord.back().unicode());
    reDescriptionHM->clear();
    ShowPicture(HangImage, QStringLiteral("Hang_1.jpg"));
    TypedLetters.clear();
    GameRunning = true;
}

void TfLearning::alLossClick()
{
    GameRunning = false;
    if (HiddenCount == -1)
        return;
    ShowPicture(HangImage, QStringLiteral("Hang_7.jpg"));
    EndAsLoss();
}

void TfLearning::FillLetterLists()
{
    TBaseDictionary* d = host_.Dictionary;
    // Each list read makes its section the dictionary's current one; the main window's
    // letter block must stay as it was.
    const std::int32_t section = d->CurrentSection;
    const char16_t letter = d->CurrentLetter;
    for (std::size_t i = 0; i < 48 && d->Sections[i].Free == 0; ++i) {
        std::u16string words;
        d->GetLetterWords(d->Sections[i].Letter, false, words, false);
        LetterLists.push_back(ToQString(words));
    }
    d->CurrentSection = section;
    d->CurrentLetter = letter;
}

QString TfLearning::PickHangmanWord()
{
    QString word;
    gameFromList_ = !rbDictWords->isChecked();
    if (!gameFromList_) {
        if (host_.Dictionary == nullptr)
            return {};
        if (LetterLists.empty())
            FillLetterLists();
        // Only sections with words can give one.
        std::vector<std::size_t> filled;
        std::vector<std::vector<std::u16string>> lines(LetterLists.size());
        for (std::size_t k = 0; k < LetterLists.size(); ++k) {
            lines[k] = SplitLines(ToU16(LetterLists[k]));
            if (!lines[k].empty())
                filled.push_back(k);
        }
        if (filled.empty())
            return {};
        const std::size_t k = filled[static_cast<std::size_t>(RandomPosition(static_cast<int>(filled.size())))];
        const int j = RandomPosition(static_cast<int>(lines[k].size()));
        WordIndex = host_.Dictionary->Sections[k].FirstWordIndex + j;
        word = ToQString(lines[k][static_cast<std::size_t>(j)]);
    } else {
        const int count = ListCount();
        if (count == 0)
            return {};
        const int j = RandomPosition(count);
        WordIndex = j;
        word = ListEntry(j);
    }
    return StripHomonymDigit(ToQString(WideTrim(ToU16(word))));
}

bool TfLearning::RevealLetter(char16_t letter)
{
    HiddenCount = 0;
    bool found = false;
    QString display;
    const char16_t upper = UpCaseLetter(letter);
    for (qsizetype i = 0; i < GameWord.size(); ++i) {
        const QChar c = GameWord.at(i);
        if (UpCaseLetter(c.unicode()) == upper) {
            display += QLatin1Char(' ') + QChar(letter) + QLatin1Char(' ');
            RevealMask[i] = QLatin1Char('*');
            found = true;
        } else if (c == QLatin1Char('\'')) {
            display += QLatin1Char('\'');
        } else if (c == QLatin1Char(' ')) {
            display += QStringLiteral("  ");
        } else if (c == QLatin1Char('-')) {
            display += QLatin1Char('-');
        } else if (RevealMask.at(i) == QLatin1Char('*')) {
            display += QLatin1Char(' ') + c + QLatin1Char(' ');
        } else {
            display += QStringLiteral(" _ ");
            ++HiddenCount;
        }
    }
    DisableKey(letter);
    lGameWord->Show(display);
    return found;
}

void TfLearning::Guess(char16_t letter)
{
    if (!RevealLetter(letter)) {
        MissStage += 1;
        if (MissStage >= 2 && MissStage <= 6) {
            ShowPicture(HangImage, QStringLiteral("Hang_%1.jpg").arg(MissStage));
        } else if (MissStage >= 7) {
            ShowPicture(HangImage, QStringLiteral("Hang_7.jpg"));
            EndAsLoss();
        }
        return;
    }
    if (HiddenCount == 0)
        EndAsWin();
}

void TfLearning::EndAsLoss()
{
    FailCount += 1;
    HiddenCount = -1;
    lLoses->setText(QString::number(FailCount));
    // The whole word, its inner letters spaced out.
    QString shown;
    if (GameWord.size() == 1) {
        shown = GameWord;
    } else if (!GameWord.isEmpty()) {
        shown = GameWord.front();
        for (qsizetype i = 1; i + 1 < GameWord.size(); ++i)
            shown += QLatin1Char(' ') + GameWord.at(i) + QLatin1Char(' ');
        shown += GameWord.back();
    }
    lGameWord->Show(shown);
    ShowGameArticle();
    GameRunning = false;
}

void TfLearning::EndAsWin()
{
    SuccessCount += 1;
    HiddenCount = -1;
    lWins->setText(QString::number(SuccessCount));
    ShowPicture(HangImage, QStringLiteral("Hang_Win.jpg"));
    ShowGameArticle();
    GameRunning = false;
}

// The article of the word just played, from where the word came.
void TfLearning::ShowGameArticle()
{
    std::string article;
    if (!gameFromList_) {
        if (host_.Dictionary != nullptr)
            host_.Dictionary->GetArticle(WordIndex, true, article, false, true);
    } else {
        article = ListArticle(WordIndex);
    }
    ShowArticle(reDescriptionHM, article);
}

void TfLearning::FormKeyPress(char16_t key)
{
    if (pcMethods->currentWidget() != tsHangman || !GameRunning)
        return;
    if (!KeyboardLetters.contains(QChar(WideLowerChar(key)))) {
        const QString text = Text("MsgCorectKeys");
        if (host_.ShowMessageBox)
            host_.ShowMessageBox(text, 0, 1);
        else
            ShowMessage(text);
        return;
    }
    if (TypedLetters.contains(QChar(key)))
        return;
    TypedLetters += QChar(key);
    Guess(key);
}
