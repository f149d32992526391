// The learning window: six methods that drill the words of the open learning list, the
// hangman game and the on-screen keyboard of the dictionary's alphabet. The main window
// makes a new one for each start, chooses the method (SelectMethod) and shows it modally.
// Its behaviour lives in Learning*.cpp (common rules, one file per group of methods) and
// Hangman*.cpp.
#pragma once

#include "tools/windows/HangmanWord.h"
#include "tools/windows/LearningHost.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <exception>
#include <random>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTextEdit;
class QTimer;
class TMBox;
class TMURL;

class TfLearning : public QDialog {
    Q_OBJECT
public:
    explicit TfLearning(TLearningHost host, QWidget* parent = nullptr);
    ~TfLearning() override;

    // --- state of the methods and the game
    bool GameRunning = false;
    std::int32_t CurrentIndex = -1;
    std::int32_t FailCount = 0;
    std::int32_t SuccessCount = 0;
    QString DictationWord;
    std::int32_t WordIndex = -1;
    // hangman
    std::vector<QString> LetterLists;
    QString GameWord;
    QString RevealMask;
    QString KeyboardLetters;
    QString TypedLetters;
    std::int32_t HiddenCount = -1;
    std::int32_t MissStage = 0;

    // --- components (object names as given)
    QWidget* pLearn = nullptr;
    QLabel* Image1 = nullptr;
    TMURL *alMethod1 = nullptr, *alMethod2 = nullptr, *alMethod3 = nullptr, *alMethod4 = nullptr, *alMethod5 = nullptr,
          *alMethod6 = nullptr;
    TMURL *alHangMan = nullptr, *alExit = nullptr, *alHelp = nullptr, *alSound = nullptr;
    QLabel* lLanguage = nullptr;
    QLabel* lMethod = nullptr;
    QStackedWidget* pcMethods = nullptr;
    QWidget *tsMethod1 = nullptr, *tsMethod2 = nullptr, *tsMethod3 = nullptr, *tsMethod4 = nullptr,
            *tsMethod5 = nullptr, *tsMethod6 = nullptr, *tsHome = nullptr, *tsHangman = nullptr;
    TMBox* mbChars = nullptr;
    QTimer* Timer = nullptr;
    // method 1
    QProgressBar* GaugeM1 = nullptr;
    QLineEdit* eWordM1 = nullptr;
    QPushButton *bDecM1 = nullptr, *bIncM1 = nullptr, *bStartM1 = nullptr;
    QTextEdit* reDescriptionM1 = nullptr;
    QCheckBox* ckbSpeakM1 = nullptr;
    QSlider* tbSpeedM1 = nullptr;
    QLabel *lFastM1 = nullptr, *lSlowM1 = nullptr;
    // method 2
    QProgressBar* GaugeM2 = nullptr;
    QLineEdit* eWordM2 = nullptr;
    QPushButton *bDecM2 = nullptr, *bIncM2 = nullptr, *bStartM2 = nullptr, *dDescriptionM2 = nullptr;
    QTextEdit* reDescriptionM2 = nullptr;
    QCheckBox* ckbSpeakM2 = nullptr;
    QSlider* tbSpeedM2 = nullptr;
    QLabel *lFastM2 = nullptr, *lSlowM2 = nullptr;
    // method 3
    QPushButton *bStartM3 = nullptr, *bRepeatM3 = nullptr, *bCheckM3 = nullptr, *bShowM3 = nullptr, *bDecM3 = nullptr,
                *bIncM3 = nullptr;
    QProgressBar* GaugeM3 = nullptr;
    QLabel* ImageM3 = nullptr;
    QLineEdit* eTestWordM3 = nullptr;
    QCheckBox* ckbRandomM3 = nullptr;
    QSlider* tbSpeedM3 = nullptr;
    QLabel *lFastM3 = nullptr, *lSlowM3 = nullptr;
    // method 4
    QPushButton *bStartM4 = nullptr, *bCheckM4 = nullptr, *bShowM4 = nullptr, *bDecM4 = nullptr, *bIncM4 = nullptr;
    QProgressBar* GaugeM4 = nullptr;
    QLineEdit* eTestWordM4 = nullptr;
    QTextEdit* reDescriptionM4 = nullptr;
    QCheckBox *ckbRandomM4 = nullptr, *ckbExamenM4 = nullptr;
    QLabel* lResultM4 = nullptr;
    // method 5
    QLabel* ImageM5 = nullptr;
    QProgressBar* GaugeM5 = nullptr;
    QPushButton *bStartM5 = nullptr, *bCheckM5 = nullptr, *bShowM5 = nullptr, *bDecM5 = nullptr, *bIncM5 = nullptr;
    QCheckBox* ckbRandomM5 = nullptr;
    QLineEdit* eTestWordM5 = nullptr;
    // method 6
    QLabel* lIntervalM6 = nullptr;
    QSpinBox* UpDown1 = nullptr;  // its edit is lIntevalM6
    QPushButton* bStartM6 = nullptr;
    QCheckBox* ckbSpeakM6 = nullptr;
    // hangman
    QLabel* HangImage = nullptr;
    TMURL *alNewGame = nullptr, *alNextWord = nullptr, *alLoss = nullptr;
    THangmanWord* lGameWord = nullptr;
    QRadioButton *rbDictWords = nullptr, *rbListWords = nullptr;
    QTextEdit* reDescriptionHM = nullptr;
    TMBox* MBox2 = nullptr;
    QLabel *lLoses = nullptr, *lWins = nullptr;
    // the keys of the alphabet keyboard, in order
    std::vector<TMURL*> Keys;

    // --- common
    void SelectMethod(int method);
    void FormCreate();
    void FormClose();
    void alExitClick();
    void alHelpClick();
    void alSoundClick();
    void alMethod1Click();
    void alMethod2Click();
    void alMethod3Click();
    void alMethod4Click();
    void alMethod5Click();
    void alMethod6Click();
    void TimerTimer();
    bool CheckListOpen();
    static QString StripHomonymDigit(const QString& word);
    // method 1
    void bIncM1Click();
    void bDecM1Click();
    void bStartM1Click();
    void tbSpeedM1Change();
    // method 2
    void bIncM2Click();
    void bDecM2Click();
    void bStartM2Click();
    void dDescriptionM2Click();
    void tbSpeedM2Change();
    // method 3
    void bStartM3Click();
    void bIncM3Click();
    void bDecM3Click();
    void bRepeatM3Click();
    void bCheckM3Click();
    void bShowM3Click();
    void tbSpeedM3Change();
    bool eTestWordM3KeyDown(int key);
    // method 4
    void bStartM4Click();
    void bIncM4Click();
    void bDecM4Click();
    void bCheckM4Click();
    void bShowM4Click();
    bool eTestWordM4KeyDown(int key);
    void HideArticleHead();
    // method 5
    void bStartM5Click();
    void bIncM5Click();
    void bDecM5Click();
    void bCheckM5Click();
    void bShowM5Click();
    bool eTestWordM5KeyDown(int key);
    // method 6
    void bStartM6Click();
    void tsMethod6Show();
    // keyboard and hangman
    void BuildAlphabetKeyboard();
    void EnableAllKeys();
    void DisableKey(char16_t letter);
    void MURL1Click(TMURL* key);
    void alHangManClick();
    void alNextWordClick();
    void alLossClick();
    QString PickHangmanWord();
    bool RevealLetter(char16_t letter);
    void FormKeyPress(char16_t key);

    const TLearningHost& Host() const { return host_; }

    // Every way of closing ends here: FormClose runs once.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildWidgets();
    void BuildCardPages();
    void BuildSpellingPages();
    void BuildDictationPages();
    void BuildHangmanPage();
    void ConnectHandlers();
    void ConnectHangman();
    void ApplyCaptions();
    void WatchKeys(QWidget* widget);

    // The list: its entry count, an entry as it stands and its shown form.
    int ListCount() const;
    QString ListEntry(int position) const;
    QString ShownWord(int position) const { return StripHomonymDigit(ListEntry(position)); }
    QString Text(const char* key) const;
    // Choosing a method: the common first steps; false when the method cannot run.
    bool BeginMethod(int method, TMURL* link);
    // Moves CurrentIndex; false (nothing moved) when the list is empty.
    bool MoveNext(bool random);
    void ShowMovedWordM3();
    void AskMovedWordM4();
    void DictateMovedWordM5();
    bool MovePrevious(bool random);
    int RandomPosition(int count);
    std::int32_t ListWordIndex(int position) const;
    std::string ListArticle(int position) const;
    void ShowArticle(QTextEdit* edit, const std::string& article);
    // A picture of Sounds/ in a label; a missing picture leaves it empty.
    void ShowPicture(QLabel* label, const QString& name);
    void PlayAnswer(const QString& name);
    void ShowMessage(const QString& text);
    void SetTimerTick(void (TfLearning::*tick)());
    // methods 1 and 2 share their steps
    void ShowCard(int method);
    void ChooseCards(int method);
    // hangman endings
    void EndAsLoss();
    void EndAsWin();
    void ShowGameArticle();
    void Guess(char16_t letter);
    void FillLetterLists();

    template <typename F> void Guard(F&& f);

    TLearningHost host_;
    std::mt19937 random_;
    void (TfLearning::*timerTick_)() = nullptr;
    bool closed_ = false;
    bool gameFromList_ = false;  // the word in play came from the learning list
};

// Runs a handler; an exception becomes a message instead of leaving the slot.
template <typename F> void TfLearning::Guard(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        ShowMessage(QString::fromLocal8Bit(e.what()));
    }
}
