// The program's main window: search box and word list, the article pane, the direction and
// dictionary choosers, the letter panel, the learning-list panel, menus, tool bar and status
// bar. One class; its behaviour lives in one file per concern (LexDictionary*.cpp).
#pragma once

#include "app/Settings.h"
#include "components/MPEGPlayer.h"
#include "engine/ComboItem.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "engine/SoundIndex.h"
#include "engine/WideStringList.h"

#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class QVariantAnimation;
class QWidget;
class TGradientProgress;
class TShapeButton;
class TMBox;
class TPackageQueue;
class TCABFile;
class TMURL;
class TClipboardViewer;
class TTrayIcon;
class TWordListModel;

// Messages other programs and a second start post to the main window.
namespace LexEvents {
constexpr QEvent::Type InstallDictionary = static_cast<QEvent::Type>(QEvent::User + 5);
constexpr QEvent::Type RestoreWindow = static_cast<QEvent::Type>(QEvent::User + 6);
constexpr QEvent::Type SpeakWord = static_cast<QEvent::Type>(QEvent::User + 7);
constexpr QEvent::Type ReverseDirection = static_cast<QEvent::Type>(QEvent::User + 8);

// The install message carries the package path.
class TInstallEvent : public QEvent {
public:
    explicit TInstallEvent(QString path)
        : QEvent(InstallDictionary),
          Path(std::move(path))
    {
    }
    QString Path;
};
}  // namespace LexEvents

// The 24-byte record of a sound index file.
struct TSoundRecord {
    std::int64_t Reserved = 0;
    std::int64_t Offset = 0;
    std::int64_t Length = 0;
};

// Stops clipboard translation while the window shuts down.
extern bool ShuttingDown;

// The search history of a dictionary keeps at most this many entries.
constexpr int kHistoryLimit = 50;

// The entries of a history file, at most kHistoryLimit of them; a damaged or oversized file
// is read no further than a full history can reach.
std::vector<QString> ReadHistoryFile(const QString& fileName);

class TfLexDictionary : public QMainWindow {
    Q_OBJECT
public:
    // AppDir: the program folder (empty: the folder of the running program). Args: the
    // command line without the program name; the first one names a package to install.
    explicit TfLexDictionary(const QString& appDir = {}, const QStringList& args = {}, QWidget* parent = nullptr);
    ~TfLexDictionary() override;

    // --- members other windows read and write
    std::int32_t PreviousFromIndex = -1;
    std::uint8_t SearchMode = 0;
    QString AppDir;
    QString DataDir;
    QString CurrentDictionaryFile;
    QString SoundFile;
    QString LangFile;
    std::int16_t InterfaceLanguage = 100;
    TWideStringList LangStrings;
    std::unique_ptr<TBaseDictionary> Dictionary;
    std::unique_ptr<TDictManager> DictManager;
    std::unique_ptr<TLearnDictionary> LearnDictionary;
    char16_t CurrentLetter = u' ';
    std::int32_t Method6Position = 0;
    bool SpeakInMethod6 = false;
    bool LearningOpen = false;
    TMURL* AlphabetLink = nullptr;
    std::vector<std::int32_t> AdvancedResults;
    std::int32_t SoundWordIndex = -1;
    std::int32_t SoundBlock = -1;
    std::vector<std::unique_ptr<TComboItem>> DirectionItems;
    TSoundRecord SoundRecord;
    TSettings Settings;
    char16_t LastTypedChar = 0;
    QObject* UpdateThread = nullptr;  // the running update (its issue brings the class)
    bool Updating = false;

    // Set when creation found the program unable to run (missing language file); the
    // program ends without entering its loop.
    bool TerminateRequested = false;
    // The program ends when this window closes (set for the program's main window).
    bool QuitOnClose = false;
    QString HelpFile;

    // --- components (object names as given)
    QComboBox* cbFind = nullptr;
    QListView* lbWords = nullptr;
    TWordListModel* WordsModel = nullptr;
    QTextEdit* reDescription = nullptr;
    QComboBox* cbFrom = nullptr;
    QComboBox* cbTo = nullptr;
    QLabel* lFromLanguage = nullptr;
    QLabel* lToLanguage = nullptr;
    TMBox* mbAlphabet = nullptr;
    TShapeButton* ShapeButton1 = nullptr;
    QWidget* pLeft = nullptr;
    QWidget* pList = nullptr;
    QListWidget* lbList = nullptr;
    QToolBar* tbLearnList = nullptr;
    QToolButton* bEditListWord = nullptr;
    QToolButton* bOpenLists = nullptr;
    QToolButton* bDelItem = nullptr;
    QToolButton* sbSaveAs = nullptr;
    QMenu* PopupMenuList = nullptr;
    QAction* miOpenCurrList = nullptr;
    QStatusBar* sbSearch = nullptr;
    std::array<QLabel*, 4> sbPanels{};
    QWidget* CoolBar1 = nullptr;
    QToolBar* ToolBar = nullptr;
    QWidget* DictionaryBand = nullptr;
    QToolButton* bKeyboard = nullptr;
    QToolButton* bFund = nullptr;
    QToolButton* bAddToList = nullptr;
    QToolButton* bReverse = nullptr;
    QToolButton* bSettings = nullptr;
    QToolButton* bSeyWord = nullptr;
    QToolButton* bNewWord = nullptr;
    QToolButton* bEdit = nullptr;
    QToolButton* bCloseList = nullptr;
    QToolButton* ToolButton1 = nullptr;
    TMBox* pBanner = nullptr;
    QLabel* IBaner = nullptr;
    TMBox* pDownload = nullptr;
    TGradientProgress* ProgressBar1 = nullptr;
    TShapeButton* ShapeButton2 = nullptr;
    QTimer* TimerM6 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    QMenu* pmSysTray = nullptr;
    QMenu* pmSearchType = nullptr;

    // menus and items
    QMenu* miFile = nullptr;
    QMenu* miLearnList = nullptr;
    QAction *miNewList = nullptr, *miOpenList = nullptr, *miAddToList = nullptr, *miSaveList = nullptr,
            *miSaveAs = nullptr, *miCloseList = nullptr, *miExport = nullptr, *miImport = nullptr, *miExit = nullptr;
    QMenu* miDictionarys = nullptr;
    QAction *miChangeDir = nullptr, *miSearch = nullptr;
    QMenu* miSearchType = nullptr;
    QAction *miWordSearch = nullptr, *miAdvancedSearch = nullptr, *miWordSearch2 = nullptr,
            *miAdvancedSearch2 = nullptr;
    QAction *miAddWord = nullptr, *miEditWord = nullptr, *miDeleteWord = nullptr, *miSpeak = nullptr,
            *miAbbreviation = nullptr;
    QMenu* miView = nullptr;
    QAction *miBLine = nullptr, *miDLine = nullptr, *miStatusLine = nullptr, *miAlphabet = nullptr;
    QMenu* miLearning = nullptr;
    std::array<QAction*, 6> Method{};  // Method_1 .. Method_6
    QAction* miHang = nullptr;
    QMenu* miTools = nullptr;
    QAction *miConvert = nullptr, *miSettings = nullptr, *miUpdateNow = nullptr, *miCreateDictionary = nullptr;
    QMenu* miHelp = nullptr;
    QAction *miHelp_1 = nullptr, *miHelp_2 = nullptr, *miHelp_3 = nullptr, *miHelp_5 = nullptr, *Homepage1 = nullptr;
    QAction *miOptions2 = nullptr, *miShow = nullptr, *miClipTran = nullptr, *miTrayExit = nullptr;
    // actions
    QAction *aReverse = nullptr, *aCloseList = nullptr, *aAddToList = nullptr, *aExport = nullptr, *aNewWord = nullptr,
            *aExit = nullptr, *aInterfaceForm = nullptr, *VKeyboard = nullptr;

    // --- creation and shut-down
    void FormCreate();
    void FormShow();
    // False when the window must stay: the open list could not be saved (see aCloseListExecute).
    bool FormClose();
    void FormDestroy();
    void aExitExecute();
    // Shows the window as the settings ask at start: normal, maximised, minimised, or only
    // the tray icon when StartMin is set and TrayAvailable.
    void ShowAtStart(bool trayAvailable);
    // Session end (a signal or the session manager): saves what FormClose and FormDestroy
    // save, without questions, and ends the program.
    void EndSession();
    static bool IsUserAdministrator();
    QImage LoadJpegResource(const QString& name) const;
    void ShowBanner();
    void ApplyInterfaceLanguage();
    // Loads InterfaceLanguage into LangStrings at creation: an id the file lacks takes its
    // first language; a damaged file is reported and the built-in English texts are used.
    void LoadStartLanguage();
    void UpdateWindowTitle();
    void SetStatusPanel(int panel, const QString& text);
    QString StatusPanel(int panel) const;

    // --- search and word list
    void LoadLetterBlock(char16_t letter);
    int SelectMatchingWord(const QString& text);
    // The row SelectMatchingWord selects, or -1.
    int MatchingWord(const QString& text) const;
    void FindWord();
    void MergeUserWords(char16_t letter);
    void SetSearchMode(int mode);
    void BuildAlphabetPanel(TBaseDictionary* dictionary);
    void BindAlphabetLinks();
    bool cbFindKeyPress(char16_t key);
    bool cbFindKeyDown(int key);
    void cbFindCloseUp();
    void bFundClick();
    void MURL1Click(TMURL* link);
    void MURL14Click(TMURL* link);
    void lbWordsDblClick();
    void reDescriptionDblClick();
    void miWordSearchClick();
    void miAdvancedSearchClick();
    void miSearch1Click();
    void miWordSearch21Click();
    void miAdvancedSearch21Click();
    // The words of lbWords and selection helpers.
    int WordCount() const;
    int SelectedIndex() const;
    QString SelectedWord() const;
    // The row is scrolled into view, or to the top of the list with AtTop.
    void SetSelectedIndex(int index, bool atTop = false);
    void SetWordsText(std::u16string text);
    void ClearWords();

    // --- article
    void lbWordsClick();
    void UpdateWordCommands(bool isUserWord);
    void ShowArticle(const std::string& article);

    // --- choice and reversal
    void FillDirections();
    void FillDictionaries(int fromIndex);
    QString GetDictionaryFileName() const;
    int SelectedDictionaryKind() const;
    std::int32_t SelectedCatalogueId() const;
    void SwitchDictionaryClass();
    QString GetDictionaryPath() const;
    void cbFromDropDown();
    // A change of dictionary first closes the open list; when the list stays (its save was
    // cancelled or failed) the dictionary stays too and the choosers show it again.
    void cbFrom1Change();
    // False when the chosen dictionary was not opened because the open list stayed.
    bool cbToChange(QObject* sender);
    void aReverseExecute();
    bool SelectFirstDictionary();
    void ReverseToOtherSide();
    void ShowEditionLabel();
    const TDictionaryRecord* SelectedRecord() const;
    // Selects the open dictionary in the choosers; false when they do not list it.
    bool ShowCurrentDictionaryInChoosers();

    // --- pronunciation
    void bSeyWordClick();
    int SoundSource() const;
    TSoundRecord ReadSoundIndexRecord(std::int32_t index, const QString& indexFile) const;
    void BindPlayer();
    void MPEGPlayerPlayEnd();

    // --- learning list and history
    void EnableListCommands(bool enabled);
    void EnableListButtons(bool enabled);
    bool EnableLearningCommands();
    void SaveHistory();
    void LoadHistory(bool search);
    void SetListWordSoundPosition(int index);
    void StartMethod(int method);
    void aAddToListExecute();
    void lbListClick();
    void miNewList1Click();
    void miOpenList1Click();
    // The save commands: true when the list was saved (or had nothing to save).
    bool miSaveListClick();
    bool miSaveAsClick();
    // Closes the open list, asking first whether a changed one is to be saved. False, with
    // the list open as it was, when the save dialog was cancelled, the save failed or the
    // question was closed unanswered: the command that wanted the list closed stops then.
    bool aCloseListExecute();
    // The question of aCloseListExecute alone: true when the open list may be given up (it
    // is unchanged or saved, or the user declined to save it). InPlace saves a list that has
    // a file of its own there (Save), otherwise under a name chosen in the dialog (Save As).
    bool AskToSaveList(bool inPlace);
    void TimerM6Timer();
    void PopupMenuListPopup();
    void miOpenCurrListClick(QAction* item);
    void bOpenListsClick();
    void bDelItemClick();
    void ToolButton6Click();
    void sbSaveAsClick();
    void lbListDblClick();
    void miFileClick();
    void miImport1Click();

    // --- word commands, clipboard, keys, view
    int ShowMessageBox(const QString& text, int buttons, int icon);
    // Tells the user that File could not be written and kept its previous contents.
    void ShowSaveError(const QString& file, const std::exception& failure);
    // ShowSaveError for the open learning list when its last rewrite could not be written.
    void ShowListWriteError();
    void aNewWordExecute();
    void miEditWord1Click();
    void miDeleteWord1Click();
    void miCreateDictionary1Click();
    void aExportExecute();
    void aInterfaceFormExecute();
    void miConvert1Click();
    void ClipboardViewer1Text();
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void miHelp_11Click();
    void miBLine1Click();
    void miDLine1Click();
    void miStatusLine1Click();
    void VKeyboardExecute();

    // --- tray and view
    void miShowClick();
    void TrayIcon1DblClick();
    void miClipTranClick();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();
    void FormHelp();
    void ShowHelpTopic(int number);
    void IBanerClick();
    void miHelp_5Click();
    void Homepage1Click();
    void miAbbreviationClick();
    void ShapeButton1Click();
    void FormKeyPress(char16_t key);
    void ToolButton1Click();
    void miHelp_2Click();

    // --- packages and messages
    void WMInstallDictionary(const QString& path);
    void WMRestoreWindow();
    void WMSpeakWord();
    void WMReverseDirection();
    void InstallDictionaryPackage(const QString& path);

    // --- update
    void CheckAutoUpdate();
    void miUpdateNowClick();
    void ShapeButton2Click();
    void StoreUpdateTime();
    bool FormCloseQuery();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void BuildWidgets();
    void BuildMenus();
    void BuildToolBars();
    void ConnectHandlers();
    void ApplySettingsToWindow();
    void RestoreBounds();
    void FitIntoScreen();
    void AddProgramFonts();
    void FreeAlphabetLinks();
    void FitAlphabetLinks();
    void FinishAlphabetSlide();
    void SlideAlphabet(bool show, Qt::Orientation direction);
    void UpdateCoolBar();
    // FormShow, the first time the window is shown (or would be, when it starts in the tray).
    void RunFormShowOnce();
    // Saves a new, unnamed learning list under a free name in the learning folder.
    void KeepUnsavedList();
    bool sessionEnded_ = false;
    // Runs a handler; an exception becomes a message instead of leaving the slot.
    template <typename F> void Guard(F&& f);

    QStringList args_;
    bool shown_ = false;
    bool fitted_ = false;              // fitted into the screen on its first normal showing
    bool everVisible_ = false;         // shown on the screen at least once
    bool startedInTray_ = false;       // started with only the tray icon showing
    bool restoreMaximized_ = false;    // a restore brings the window back maximised
    bool restoringMaximized_ = false;  // restored maximised, not yet on the screen
    QPointer<QTimer> fitWait_;         // waiting for that showing's frame
    bool historyPopup_ = false;        // the history list of cbFind was opened and nothing typed since
    bool historyChanged_ = false;      // cbFind's entries differ from the history file
    bool popupKeyPending_ = false;     // a key went to an open pop-up and may travel on
    std::uint64_t popupKeyTime_ = 0;
    // The window's look at every key before its receiver (its key preview).
    bool PreviewKey(QObject* watched, QKeyEvent* key);
    const QKeyEvent* previewedKey_ = nullptr;  // the key press the window took last, at
    std::uint64_t previewedTime_ = 0;          // its time and first receiver
    QPointer<QWidget> previewedAt_;
    // The search box's selected text looks selected only while the box has the keyboard.
    void ShowSearchSelection();
    bool searchSelectionShown_ = true;
    bool autoSaveErrorShown_ = false;  // a failed history or settings save is told once a session
    // The letter panel opening or closing.
    QPointer<QVariantAnimation> alphabetSlide_;
    // What the article pane shows, so that selecting the same word again reads nothing.
    struct TShownArticle {
        const TBaseDictionary* Dictionary = nullptr;
        std::string FileName;
        std::int32_t Index = -1;
        bool UserWord = false;
        bool Absolute = false;
        int Revision = -1;
    } shownArticle_;
    std::int32_t shownSection_ = -1;
    bool ShowArticleOnce(std::int32_t index, bool userWord, bool absolute);
    // Work done for the look-ups of a newly opened dictionary while a word is typed, in short
    // steps between the keys: room for its largest letter block, and its articles' fonts and
    // letters drawn once.
    void QueuePrepareLookUps();
    void PrepareLookUps();
    // Draws the article of the Nth letter block's first word out of sight; false when there is
    // no such article to draw.
    bool WarmArticleFonts(int n);
    std::string preparedFor_;   // the file of the dictionary prepared for
    std::string preparingFor_;  // the file whose preparation is under way, and its next step
    int prepareStep_ = 0;
    bool prepareQueued_ = false;
    bool destroyed_ = false;
    std::vector<TMURL*> alphabetLinks_;

    // --- pronunciation, word commands and clipboard, tray and help (features)
public:
    // The word's sound is served from memory to the player; the streams the player opened
    // live until it closes them.
    void MPEGPlayerOpenStream(bool& nonseekable, void*& context);
    void PlayerReadStream(void* context, void* buffer, int count, int& bytesRead, bool& result);
    void PlayerSeekStream(void* context, int offset, int origin, int& newPosition);
    void PlayerGetStreamSize(void* context, int& size);
    void PlayerCloseStream(void* context);
    // Whether a pronunciation is playing (the speak button's tag).
    bool Speaking() const;
    TClipboardViewer* ClipboardViewer1 = nullptr;

private:
    // The index of the user word shown in lbWords, or -1 (kind 0: its place among the user
    // words; other kinds: the selected index). Advanced-search results have none.
    int EditableWordIndex() const;
    void ShowProNotice();
    std::mutex soundStreamsLock_;
    std::vector<std::unique_ptr<SoundFiles::TSoundStream>> soundStreams_;
    QString soundIndexFile_;
    QString playerError_;  // why the decoder library could not be bound
    // Declared after the streams: it is unbound (and closes its streams) before they go.
    std::unique_ptr<TMPEGPlayer> playerOwner_;

public:
    TMPEGPlayer* MPEGPlayer = nullptr;

public:
    // --- settings window (LexDictionarySettings.cpp)
    // True while the settings window is open. A package that arrives meanwhile waits: its
    // installer checks this flag and installs on SettingsClosed().
    bool SettingsOpen = false;
signals:
    void SettingsClosed();

public:
    // --- packages: the installs waiting and in work (a child object; made on first use)
    TPackageQueue* PackageQueue = nullptr;
    TCABFile* CABFile1 = nullptr;  // extracts the cabinets of packages

    // ===== learning list and history (learning concern) =====
public:
    // --- learning list: helpers of the list commands
    void lbListKeyDown(int key);
    // The list panel shows a list.
    bool ListShown() const;
    // The search history's file of the current dictionary; empty when it has no name.
    QString HistoryFileName() const;
    // The list's words into lbList, its file name into status panel 1, the panel shown.
    void ShowListWords(const QString& fileName);
    // Opens a list file in the store; a damaged one gives a message and keeps the open list.
    bool LoadListFile(const QString& fileName);
    // The list that "Pro" and "Free" editions bring, and its opening.
    QString FixedListFile() const;
    void OpenFixedList();
    // Seed of the learning window's random choices (tests); unset: the clock.
    std::optional<std::uint32_t> LearningSeed;
};

template <typename F> void TfLexDictionary::Guard(F&& f)
{
    if (destroyed_)
        return;  // late signals of widgets going down with the window
    try {
        f();
    } catch (const std::exception& e) {
        ShowMessageBox(QString::fromLocal8Bit(e.what()), 0, 2);
    }
}
