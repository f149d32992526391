// Creation, first showing and shut-down of the main window.
#include "app/mainwindow/JpegImage.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/HelpWindow.h"
#include "components/MBox.h"
#include "components/TrayIcon.h"
#include "components/WindowStacking.h"
#include "app/mainwindow/WordListModel.h"
#include "components/InterfaceText.h"
#include "engine/FolderUtils.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/Security.h"
#include "platform/SystemInfo.h"
#include "platform/qt/Balloon.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Registry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <cstdio>

bool ShuttingDown = false;

namespace {

// Shown before any interface text can be loaded, so its words are fixed.
void ShowNoSystemFiles(QWidget* owner)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lexora XP"), QStringLiteral("No system files!"),
                    QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.button(QMessageBox::Ok)->setObjectName("bOk");
    box.button(QMessageBox::Cancel)->setObjectName("bCancel");
    box.exec();
}

}  // namespace

TfLexDictionary::TfLexDictionary(const QString& appDir, const QStringList& args, QWidget* parent)
    : QMainWindow(parent),
      args_(args)
{
    setObjectName("fLexDictionary");
    AppDir = appDir.isEmpty() ? QString::fromStdString(Platform::ProgramFolder()) : appDir;
    if (!AppDir.endsWith('/'))
        AppDir += '/';
    BuildWidgets();
    ConnectHandlers();
    KeepOwnWindowsAbove(*this);
    FormCreate();
}

TfLexDictionary::~TfLexDictionary()
{
    FormDestroy();
    // The widgets go down after this object has stopped being the window: none of their
    // signals or events may reach its handlers any more.
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
    if (QCoreApplication::instance() != nullptr)
        QObject::disconnect(qApp, nullptr, this, nullptr);
}

void TfLexDictionary::FormCreate()
{
    if (!QFileInfo::exists(AppDir + "LangItf.lng")) {
        ShowNoSystemFiles(this);
        TerminateRequested = true;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    ShuttingDown = false;
    LangStrings.Clear();
    LangFile = AppDir + "LangItf.lng";
    if (!Platform::IsSupportedWindows()) {
        QMessageBox::critical(this, QStringLiteral("Lexora XP"),
                              QStringLiteral("This program requres Windows NT 4.0/2000/XP/2003 or later."));
        TerminateRequested = true;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    TrayIcon1->SetIcon(windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : windowIcon());
    TrayIcon1->SetHint(QStringLiteral("TavroSoft - Lexora XP"));
    LearningOpen = false;
    SoundWordIndex = -1;
    SearchMode = 0;

    try {
        DataDir = AppDir + "Data/";
        try {
            LoadSettings(Settings);
        } catch (const std::exception&) {
            // A damaged settings key keeps what was read and the defaults of the rest.
        }
        InterfaceLanguage = static_cast<std::int16_t>(Settings.Language);
        ApplySettingsToWindow();
        CurrentDictionaryFile = ToQString(Settings.Dictionary);
        LoadStartLanguage();
        ApplyInterfaceLanguage();
        DictManager = std::make_unique<TDictManager>((DataDir + "DICTIONARYS.DNT").toStdString());

        const std::int32_t id = DictManager->FindIdByFileName(Platform::WideToAnsi(ToU16(CurrentDictionaryFile)));
        const TDictionaryRecord* record = id >= 0 && id < static_cast<std::int32_t>(DictManager->Records.size())
            ? &DictManager->Records[id]
            : nullptr;
        if (record == nullptr || record->Kind != Settings.DictType || record->Enabled != 1) {
            SelectFirstDictionary();
            // Every kind and an empty catalogue leave an object that answers every call.
            if (!Dictionary)
                Dictionary = std::make_unique<TUnknownDictionary>((DataDir + CurrentDictionaryFile).toStdString());
            if (DictManager->Count() == 0)
                throw std::runtime_error("My Exception");
            LearnDictionary = std::make_unique<TLearnDictionary>((AppDir + "Learning").toStdString());
            LearnDictionary->SetLanguagePair(CurrentDictionaryFile.left(6).toStdString());
            MergeUserWords(Dictionary->Sections[0].Letter);
        } else {
            Dictionary =
                CreateDictionary(DictKindFromInt(record->Kind), (DataDir + CurrentDictionaryFile).toStdString());
            std::u16string words;
            Dictionary->GetLetterWords(u'A', true, words, false);
            SetWordsText(std::move(words));
            LearnDictionary = std::make_unique<TLearnDictionary>((AppDir + "Learning").toStdString());
            LearnDictionary->SetLanguagePair(CurrentDictionaryFile.left(6).toStdString());
            BuildAlphabetPanel(Dictionary.get());
            BindAlphabetLinks();
            FillDirections();
            if (Settings.From >= 0 && Settings.From < cbFrom->count())
                cbFrom->setCurrentIndex(Settings.From);
            FillDictionaries(cbFrom->currentIndex());
            if (Settings.To >= 0 && Settings.To < cbTo->count())
                cbTo->setCurrentIndex(Settings.To);
            // Stored chooser positions from another catalogue would show a dictionary other
            // than the one open: point the choosers at the open one.
            if (SelectedCatalogueId() != id) {
                for (std::size_t d = 0; d < DirectionItems.size(); ++d) {
                    const int at = [&] {
                        for (int k = 0; k < DirectionItems[d]->Count(); ++k)
                            if (DirectionItems[d]->GetId(k) == id)
                                return k;
                        return -1;
                    }();
                    if (at >= 0) {
                        cbFrom->setCurrentIndex(static_cast<int>(d));
                        FillDictionaries(static_cast<int>(d));
                        cbTo->setCurrentIndex(at);
                        break;
                    }
                }
            }
            PreviousFromIndex = cbFrom->currentIndex();
            MergeUserWords(Dictionary->Sections[0].Letter);
        }
        LoadHistory(false);
        UpdateWindowTitle();
    } catch (const std::exception&) {
        if (!LearnDictionary)
            LearnDictionary = std::make_unique<TLearnDictionary>((AppDir + "Learning").toStdString());
        if (!Dictionary)
            Dictionary = std::make_unique<TUnknownDictionary>((DataDir + CurrentDictionaryFile).toStdString());
        // Every handler relies on a catalogue; it never throws while it loads.
        if (!DictManager)
            DictManager = std::make_unique<TDictManager>((DataDir + "DICTIONARYS.DNT").toStdString());
        if (windowTitle().isEmpty())
            UpdateWindowTitle();
    }
    BindPlayer();
    EnableLearningCommands();
    if (!args_.isEmpty() && !args_.first().isEmpty())
        InstallDictionaryPackage(QFileInfo(args_.first()).absoluteFilePath());

    HelpFile = AppDir + "Help/Help" + LangText(LangStrings, "HelpFile") + ".chm";
    if (!QFileInfo::exists(HelpFile))
        HelpFile = AppDir + "Help/HelpENG.chm";
    pBanner->setCursor(Qt::PointingHandCursor);
    AddProgramFonts();
    Updating = false;
}

void TfLexDictionary::ApplySettingsToWindow()
{
    FinishAlphabetSlide();
    mbAlphabet->setVisible(Settings.Alphabet);
    sbSearch->setVisible(Settings.SLine);
    miStatusLine->setChecked(Settings.SLine);
    miAlphabet->setChecked(Settings.Alphabet);
    bKeyboard->setChecked(Settings.Alphabet);
    miBLine->setChecked(Settings.BLine);
    miDLine->setChecked(Settings.DLine);
    if (Settings.Transparent)
        setWindowOpacity(std::clamp(Settings.TranValue, 0, 255) / 255.0);
    setWindowFlag(Qt::WindowStaysOnTopHint, Settings.StayOnTop);
    RestoreBounds();
    restoreMaximized_ = Settings.Max;
    // The word list keeps its stored width inside the width the window got.
    if (auto* splitter = qobject_cast<QSplitter*>(pLeft->parentWidget()))
        splitter->setSizes({std::max(60, Settings.WordsWidth), std::max(100, width() - Settings.WordsWidth)});
    miClipTran->setChecked(Settings.ClipTranslate);
}

// Top and Left name the window's outer corner (its frame, where a window manager draws one),
// Width and Height its inside: what is stored names the same place when it comes back. The
// window goes inside the available area of its screen and is never larger than it.
void TfLexDictionary::RestoreBounds()
{
    const QPoint corner(Settings.Left, Settings.Top);
    QScreen* screen = QGuiApplication::screenAt(corner);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        resize(std::max(200, Settings.Width), std::max(150, Settings.Height));
        move(corner);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size(std::min(std::max(200, Settings.Width), area.width()),
                     std::min(std::max(150, Settings.Height), area.height()));
    resize(size);
    move(std::clamp(corner.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())),
         std::clamp(corner.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
}

// Once the window shows with its frame the frame is known: the window shrinks and moves as
// far as needed to lie inside the available area of its screen.
void TfLexDictionary::FitIntoScreen()
{
    if (isMaximized() || isMinimized() || isFullScreen() || screen() == nullptr)
        return;
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    const int extraWidth = frame.width() - inside.width();
    const int extraHeight = frame.height() - inside.height();
    const QSize fitted(std::min(inside.width(), area.width() - extraWidth),
                       std::min(inside.height(), area.height() - extraHeight));
    if (fitted != inside.size())
        resize(fitted);
    const QSize outer = fitted + QSize(extraWidth, extraHeight);
    const QPoint at(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
                    std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (at != frame.topLeft())
        move(at);
}

void TfLexDictionary::AddProgramFonts()
{
    const QString fonts = QString::fromStdString(WindowsFolderPath()) + "Fonts/";
    const QString own = AppDir + "Fonts/";
    for (const char* name : {"Alltms.ttf", "Alltmsbd.ttf", "Alltmsbi.ttf", "Alltmsi.ttf"}) {
        const QString file = QFileInfo::exists(own + name) ? own + name : fonts + name;
        if (QFileInfo::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
}

void TfLexDictionary::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    everVisible_ = true;
    RunFormShowOnce();
    if (fitted_ || fitWait_)
        return;
    // The first time the window shows in its normal state (at start, or later from the tray
    // or the task bar when it started there) it goes inside the screen once its frame is
    // known, which is once the window is on the screen.
    auto* wait = new QTimer(this);
    fitWait_ = wait;
    wait->setInterval(20);
    connect(wait, &QTimer::timeout, this, [this, wait, tries = 0]() mutable {
        const bool away = isMinimized() || !isVisible();
        if (!away && (windowHandle() == nullptr || !windowHandle()->isExposed()) && ++tries <= 150)
            return;
        wait->stop();
        wait->deleteLater();
        fitWait_ = nullptr;
        if (away)
            return;  // the next showing tries again
        fitted_ = true;
        Guard([this] { FitIntoScreen(); });
    });
    wait->start();
}

void TfLexDictionary::RunFormShowOnce()
{
    if (!shown_) {
        shown_ = true;
        Guard([this] { FormShow(); });
    }
}

void TfLexDictionary::FormShow()
{
    cbFind->setFocus();
    UpdateCoolBar();
    UpdateWordCommands(false);
    EnableListCommands(false);
    ShowEditionLabel();
    if (WordCount() > 0) {
        SetSelectedIndex(0);
        lbWordsClick();
    }
    ShowBanner();
    CheckAutoUpdate();
    if (!IsUserAdministrator()) {
        miCreateDictionary->setEnabled(false);
        miUpdateNow->setEnabled(false);
    }
}

void TfLexDictionary::UpdateCoolBar()
{
    ToolBar->setVisible(miBLine->isChecked());
    DictionaryBand->setVisible(miDLine->isChecked());
    CoolBar1->setVisible(miBLine->isChecked() || miDLine->isChecked());
}

void TfLexDictionary::closeEvent(QCloseEvent* e)
{
    bool canClose = true;
    Guard([&] { canClose = FormCloseQuery(); });
    bool closing = false;
    if (canClose)
        Guard([&] { closing = FormClose(); });
    if (!closing) {
        e->ignore();
        return;
    }
    e->accept();
    // The program ends with its main window, also while it sits in the tray.
    if (QuitOnClose)
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

bool TfLexDictionary::FormClose()
{
    SaveHistory();
    // A list whose save was cancelled or failed keeps the window open.
    if (!aCloseListExecute())
        return false;
    ShuttingDown = true;
    CloseAllHelp();
    return true;
}

void TfLexDictionary::aExitExecute()
{
    close();
}

void TfLexDictionary::EndSession()
{
    if (destroyed_ || sessionEnded_)
        return;
    sessionEnded_ = true;
    // What FormClose saves, without its questions: nobody is there to answer them.
    Guard([this] {
        ShuttingDown = true;
        SaveHistory();
        KeepUnsavedList();
        if (LearnDictionary)
            LearnDictionary->Close();
    });
    hide();
    // Every loop ends, also those of open message or settings windows; the settings are
    // written when the window goes (FormDestroy).
    if (QuitOnClose)
        QCoreApplication::exit(0);
}

void TfLexDictionary::KeepUnsavedList()
{
    if (!LearnDictionary || LearnDictionary->Closed || !LearnDictionary->Modified || LearnDictionary->IsEmpty())
        return;
    // A named list is written with every change; only a new one lives in the temporary file.
    const QString folder = QString::fromStdString(LearnDictionary->Folder) + '/';
    if (QFileInfo(QString::fromStdString(LearnDictionary->ListFileName)) != QFileInfo(folder + "TempList.tmp"))
        return;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    QString name = folder + QStringLiteral("List %1.lst").arg(stamp);
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = folder + QStringLiteral("List %1 (%2).lst").arg(stamp).arg(n);
    // The working file holds the whole list: renamed, it needs no room on a full disk.
    QFile list(folder + "TempList.tmp");
    if (list.rename(name))
        return;
    // Nobody is there to answer a message: the session's log gets the words' whereabouts.
    std::fprintf(stderr, "LexoraApp: the learning list could not be saved as \"%s\" (%s); its words stay in \"%s\".\n",
                 QFile::encodeName(name).constData(), list.errorString().toLocal8Bit().constData(),
                 QFile::encodeName(folder + "TempList.tmp").constData());
}

void TfLexDictionary::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    ShuttingDown = true;
    Balloon::CloseBaloon();
    // A window never shown (it started in the tray) keeps the place, size and widths it was
    // given: its layouts never ran.
    if (everVisible_) {
        const bool onScreen = isVisible() && !isMinimized();
        if (onScreen ? isMaximized() : restoreMaximized_) {
            Settings.Max = true;
        } else {
            Settings.Max = false;
            // The bounds the window has when it is neither minimised nor maximised: the outer
            // corner (the frame's, as RestoreBounds places it) and the inside's size.
            const QRect n = normalGeometry().isValid() ? normalGeometry() : geometry();
            const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
            Settings.Top = n.top() - frameOffset.y();
            Settings.Left = n.left() - frameOffset.x();
            Settings.Width = n.width();
            Settings.Height = n.height();
        }
        Settings.WordsWidth = pLeft->width();
    }
    Settings.Alphabet = miAlphabet->isChecked();  // the panel may still be sliding
    Settings.Dictionary = ToU16(CurrentDictionaryFile);
    Settings.BLine = miBLine->isChecked();
    Settings.DLine = miDLine->isChecked();
    Settings.SLine = miStatusLine->isChecked();
    Settings.From = cbFrom->currentIndex();
    Settings.To = cbTo->currentIndex();
    if (isMinimized() || TrayIcon1->OwnerInTray() || (startedInTray_ && !everVisible_))
        Settings.Min = true;
    Settings.Language = InterfaceLanguage;
    try {
        SaveSettings(Settings, SelectedDictionaryKind());
    } catch (const std::exception& e) {
        // The stored settings stay as they were; shutting down goes on.
        if (!autoSaveErrorShown_) {
            autoSaveErrorShown_ = true;
            ShowSaveError(QString::fromStdString(TRegistry::StoreFile(TRootKey::CurrentUser)), e);
        }
    }
    LearnDictionary.reset();
    Dictionary.reset();
}

bool TfLexDictionary::IsUserAdministrator()
{
    return Platform::IsUserAdministrator();
}

QImage TfLexDictionary::LoadJpegResource(const QString& name) const
{
    return LoadJpegFile(AppDir + "Banners/" + name + ".jpg");
}

void TfLexDictionary::ShowBanner()
{
    const QImage banner = LoadJpegResource(InterfaceLanguage == 53 ? "BANNER_BG" : "BANNER_ENG");
    IBaner->setPixmap(banner.isNull() ? QPixmap() : QPixmap::fromImage(banner));
}

void TfLexDictionary::SetStatusPanel(int panel, const QString& text)
{
    if (panel >= 0 && panel < 4)
        sbPanels[static_cast<std::size_t>(panel)]->setText(text);
}

QString TfLexDictionary::StatusPanel(int panel) const
{
    return panel >= 0 && panel < 4 ? sbPanels[static_cast<std::size_t>(panel)]->text() : QString();
}
