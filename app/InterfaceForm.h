// The settings window: interface language and appearance, translation options, the installed
// dictionaries with their sound folders, and the update options. It edits the main window's
// settings in place and applies them when the user confirms; the catalogue changes of the
// dictionaries page take effect at once.
#pragma once

#include "engine/DictionaryRecord.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TCopyFolderThread;
class TMURL;
class TfLexDictionary;

// Images of the dictionary rows.
enum TDictionaryImage { diSoundsOnDisk = 0, diSoundsOnCD = 1, diUserDictionary = 2, diNoSounds = 3 };

class TfInterface : public QDialog {
    Q_OBJECT
public:
    explicit TfInterface(TfLexDictionary* main);
    ~TfInterface() override;

    // --- members
    std::vector<std::string> SourceCodes;
    DescNames PairEntries;
    std::vector<std::uint8_t> EnabledFlags;
    std::vector<std::int16_t> LangIds;  // the languages of cbLangs, in file order
    int SavedFromIndex = -1;
    int SavedToIndex = -1;
    bool CanClose = true;

    // --- components (object names as given)
    QTabWidget* pcSettings = nullptr;
    QWidget *tsGeneral = nullptr, *tsTranslation = nullptr, *tsDictionarys = nullptr, *tsUpdates = nullptr;
    QPushButton *bOk = nullptr, *bCance = nullptr;
    QGroupBox* gbAppearance = nullptr;
    QLabel* lSelectLang = nullptr;
    QComboBox* cbLangs = nullptr;
    QCheckBox *cbPublisher = nullptr, *cbTransparent = nullptr;
    QSlider* tbTransparent = nullptr;
    QLabel* IView = nullptr;
    QGroupBox* gbSystem = nullptr;
    QCheckBox *cbStayOnTop = nullptr, *cbStartMin = nullptr, *cbWinStart = nullptr;
    QLabel* lCDDrive = nullptr;
    QComboBox* cbCDROM = nullptr;
    QLabel* IMain = nullptr;
    QGroupBox* gbTranslation = nullptr;
    QCheckBox *cbClipTranslate = nullptr, *cbDelicate = nullptr, *cbEveryKey = nullptr, *cbInTranslate = nullptr,
              *cbAddToHistory = nullptr, *lClickSay = nullptr;
    QLabel *lHotKey = nullptr, *lSpeakKey = nullptr, *lDelicateTime = nullptr;
    QKeySequenceEdit *HotKey = nullptr, *hkSpeak = nullptr;
    QSpinBox* UpDown1 = nullptr;
    QLineEdit* eDelicateTime = nullptr;  // the edit of UpDown1
    QListWidget* lbDictionarys = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton *bInstall = nullptr, *bRemove = nullptr, *bCopy = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel *IUpdate = nullptr, *UpdLabel1 = nullptr, *UpdLabel2 = nullptr, *UpdDays = nullptr;
    TMURL* urlHelp = nullptr;
    QCheckBox *ckbEnableUpd = nullptr, *ckbUseProxy = nullptr;
    QSpinBox* UpDownDays = nullptr;
    QLineEdit* eDays = nullptr;  // the edit of UpDownDays
    QGroupBox* gbUpdate = nullptr;
    QRadioButton *rbOne = nullptr, *rbTwo = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLineEdit *eProxyServer = nullptr, *eUserName = nullptr, *ePort = nullptr, *ePassword = nullptr;

    // --- handlers
    void FormCreate();
    void FormShow();
    void FormClose();
    // Escape closes the window as Cancel does, from every control of it; true when the key
    // was the window's.
    bool FormKeyDown(int key);
    void bOkClick();
    void bCanceClick();
    void cbTransparentClick();
    void tbTransparentEnter();
    void tbTransparentChange();
    void cbInTranslateClick();
    void cbClipTranslateClick();
    bool eDelicateTimeKeyPress(QChar key);
    void tsDictionarysShow();
    void lbDictionarysClick();
    void ListView1Click();
    void ListView1MouseMove(const QPoint& at);
    void ListView1SelectItem();
    void bInstallClick();
    void bRemoveClick();
    void bCopyClick();
    void ckbEnableUpdClick();
    void ckbUseProxyClick();
    void rbOneClick();
    void rbTwoClick();
    bool ePortKeyPress(QChar key);
    bool eDaysKeyPress(QChar key);
    void urlHelpClick();
    void CopyCDOK();

    // --- own operations
    void LoadInterfaceLanguages();
    void CollectEnabledFlags();
    void SetAutostart(bool enable);
    void SetSoundLocation(std::int32_t recordId, std::uint8_t location);
    QString SoundFolderName() const;
    void EnableProxyFields(bool enable);

    // The running copy of a sound folder; null when none runs.
    TCopyFolderThread* CopyThread() const { return copyThread_.get(); }
    // Stops a running copy and waits for it; nothing is marked copied.
    void CancelCopy();
    // The image of a ListView1 row.
    static int RowImage(const QTreeWidgetItem* row);

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildWidgets();
    QWidget* BuildGeneralPage();
    QWidget* BuildTranslationPage();
    QWidget* BuildDictionariesPage();
    QWidget* BuildUpdatesPage();
    void ConnectHandlers();
    // The window sees its Escape key before the control that has the focus.
    void InstallKeyPreview();
    void ApplyCaptions();
    // Room for the captions of the current language: buttons, the source list, the columns.
    void FitCaptions();
    void FitSourceList(const QStringList& texts);
    void FitDictionaryColumns();
    // The names of source languages as the source list shows them.
    QStringList SourceTexts(const std::vector<std::string>& codes) const;
    void FillCDDrives();
    void RefreshMainChoosers(bool fromHandlerToo);
    void SetRowImage(QTreeWidgetItem* row, int image);
    TDictionaryRecord* RecordOf(std::int32_t id);
    QString SelectedSourceText() const;
    // Runs a handler; an exception becomes a message instead of leaving the slot.
    template <typename F> void Guard(F&& f)
    {
        try {
            f();
        } catch (const std::exception& e) {
            ShowError(e.what());
        }
    }
    void ShowError(const char* what);

    TfLexDictionary* main_;
    std::unique_ptr<TCopyFolderThread> copyThread_;
    std::int32_t copyRecordId_ = -1;
    QStringList copyFailed_;
    QString copyError_;
    bool shown_ = false;
};
