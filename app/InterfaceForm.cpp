// The settings window: creation, showing, Apply and closing, and the pages of appearance,
// translation and updates. The dictionaries page lives in InterfaceFormDictionaries.cpp.
#include "app/InterfaceForm.h"

#include "app/CopyFolderThread.h"
#include "app/InterfaceLanguage.h"
#include "app/ShortCutKeys.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "components/MURL.h"
#include "platform/FileSystem.h"
#include "platform/qt/Autostart.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>

TfInterface::TfInterface(TfLexDictionary* main)
    : QDialog(main),
      main_(main)
{
    BuildWidgets();
    ConnectHandlers();
    FormCreate();
}

TfInterface::~TfInterface()
{
    CancelCopy();
}

void TfInterface::ShowError(const char* what)
{
    main_->ShowMessageBox(QString::fromLocal8Bit(what), 0, 2);
}

void TfInterface::ConnectHandlers()
{
    auto on = [this](auto* sender, auto signal, void (TfInterface::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guard([&] { (this->*handler)(); }); });
    };
    on(bOk, &QPushButton::clicked, &TfInterface::bOkClick);
    on(bCance, &QPushButton::clicked, &TfInterface::bCanceClick);
    on(cbTransparent, &QCheckBox::clicked, &TfInterface::cbTransparentClick);
    on(tbTransparent, &QSlider::sliderPressed, &TfInterface::tbTransparentEnter);
    on(tbTransparent, &QSlider::actionTriggered, &TfInterface::tbTransparentEnter);
    connect(tbTransparent, &QSlider::valueChanged, this, [this] { Guard([this] { tbTransparentChange(); }); });
    on(cbInTranslate, &QCheckBox::clicked, &TfInterface::cbInTranslateClick);
    on(cbClipTranslate, &QCheckBox::clicked, &TfInterface::cbClipTranslateClick);
    on(ckbEnableUpd, &QCheckBox::clicked, &TfInterface::ckbEnableUpdClick);
    on(ckbUseProxy, &QCheckBox::clicked, &TfInterface::ckbUseProxyClick);
    on(rbOne, &QRadioButton::clicked, &TfInterface::rbOneClick);
    on(rbTwo, &QRadioButton::clicked, &TfInterface::rbTwoClick);
    on(urlHelp, &TMURL::clicked, &TfInterface::urlHelpClick);
    connect(pcSettings, &QTabWidget::currentChanged, this, [this](int index) {
        if (pcSettings->widget(index) == tsDictionarys)
            Guard([this] { tsDictionarysShow(); });
    });
    on(lbDictionarys, &QListWidget::itemClicked, &TfInterface::lbDictionarysClick);
    connect(lbDictionarys, &QListWidget::currentRowChanged, this, [this] { Guard([this] { lbDictionarysClick(); }); });
    on(ListView1, &QTreeWidget::itemClicked, &TfInterface::ListView1Click);
    on(ListView1, &QTreeWidget::itemChanged, &TfInterface::ListView1Click);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        Guard([this] {
            ListView1Click();
            ListView1SelectItem();
        });
    });
    on(bInstall, &QPushButton::clicked, &TfInterface::bInstallClick);
    on(bRemove, &QPushButton::clicked, &TfInterface::bRemoveClick);
    on(bCopy, &QPushButton::clicked, &TfInterface::bCopyClick);
    // The keys of a number box come to its spin box, which hands them to its edit without
    // the edit's filters; keys sent to the edit itself come there.
    for (QObject* o : std::initializer_list<QObject*>{eDelicateTime, UpDown1, eDays, UpDownDays, ePort,
                                                      ListView1->viewport(), HotKey, hkSpeak})
        o->installEventFilter(this);
    InstallKeyPreview();
    // Exit from the tray while a copy runs: the copy stops and the window goes with the program.
    for (QAction* exit : {main_->miTrayExit, main_->aExit})
        if (exit != nullptr)
            connect(exit, &QAction::triggered, this, [this] {
                if (ShuttingDown) {
                    CancelCopy();
                    CanClose = true;
                    reject();
                }
            });
}

void TfInterface::ApplyCaptions()
{
    const TWideStrings& s = main_->LangStrings;
    setWindowTitle(LangText(s, "Caption"));
    pcSettings->setTabText(pcSettings->indexOf(tsGeneral), LangText(s, "General"));
    lSelectLang->setText(LangText(s, "SelectLang"));
    lHotKey->setText(LangText(s, "HotKey"));
    cbTransparent->setText(LangText(s, "Transparency"));
    cbStayOnTop->setText(LangText(s, "StayOnTop"));
    cbWinStart->setText(LangText(s, "WinStart"));
    cbStartMin->setText(LangText(s, "StartMin"));
    cbPublisher->setText(LangText(s, "ShowPublisher"));
    cbInTranslate->setText(LangText(s, "InTranslate"));
    cbAddToHistory->setText(LangText(s, "AddToHistory"));
    cbClipTranslate->setText(LangText(s, "ClipTranslate"));
    cbDelicate->setText(LangText(s, "Delicate"));
    cbEveryKey->setText(LangText(s, "EveryKey"));
    gbAppearance->setTitle(LangText(s, "Appearance"));
    gbSystem->setTitle(LangText(s, "System"));
    lDelicateTime->setText(LangText(s, "DelicateTime"));
    pcSettings->setTabText(pcSettings->indexOf(tsDictionarys), LangText(s, "DictPage"));
    bInstall->setText(LangText(s, "Install"));
    bRemove->setText(LangText(s, "Remove"));
    ListView1->setHeaderLabels({LangText(s, "Description"), LangText(s, "Publisher")});
    pcSettings->setTabText(pcSettings->indexOf(tsTranslation), LangText(s, "Translation"));
    gbTranslation->setTitle(LangText(s, "TranslationGB"));
    lClickSay->setText(LangText(s, "ClickSay"));
    lSpeakKey->setText(LangText(s, "SpeakKey"));
    lCDDrive->setText(LangText(s, "CDDrive"));
    pcSettings->setTabText(pcSettings->indexOf(tsUpdates), LangText(s, "AutomaticUpdate"));
    UpdLabel1->setText(LangText(s, "UpdateLine1"));
    UpdLabel2->setText(LangText(s, "UpdateLine2"));
    urlHelp->setText(LangText(s, "UpdateLine3"));
    ckbEnableUpd->setText(LangText(s, "UpdateLine5"));
    UpdDays->setText(LangText(s, "UpdateLine6"));
    gbUpdate->setTitle(LangText(s, "UpdateSettings"));
    rbOne->setText(LangText(s, "UpdateSett1"));
    rbTwo->setText(LangText(s, "UpdateSett2"));
    ckbUseProxy->setText(LangText(s, "UpdateProxy"));
    bOk->setText(LangText(s, "OK"));
    bCance->setText(LangText(s, "Cancel"));
    bCopy->setText(LangText(s, "UseCDROM"));
}

void TfInterface::FormCreate()
{
    CanClose = true;
    ApplyCaptions();
    FitCaptions();
    // cbLangs and cbCDROM follow their labels at 5 pixels through their rows' layouts.
    HotKey->setKeySequence(ShortCutToSequence(main_->Settings.HotKey));
    hkSpeak->setKeySequence(ShortCutToSequence(main_->Settings.hkSpeak));
    // The boxes show their shortcut or nothing: Qt's own prompt is not in the user's language.
    for (QKeySequenceEdit* box : {HotKey, hkSpeak}) {
        auto clearPrompt = [box] {
            if (auto* edit = box->findChild<QLineEdit*>())
                edit->setPlaceholderText(QString());
        };
        clearPrompt();
        connect(box, &QKeySequenceEdit::keySequenceChanged, box, clearPrompt);
    }
}

void TfInterface::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        Guard([this] { FormShow(); });
    }
}

void TfInterface::FormShow()
{
    const TSettings& s = main_->Settings;
    {
        const QSignalBlocker block(pcSettings);
        pcSettings->setCurrentIndex(0);
    }
    cbEveryKey->setChecked(s.EveryKey);
    cbPublisher->setChecked(s.Publisher);
    cbInTranslate->setChecked(s.DblClickTranslate);
    cbAddToHistory->setChecked(s.AddToHistory);
    cbClipTranslate->setChecked(s.ClipTranslate);
    cbDelicate->setChecked(s.Delicate);
    cbStayOnTop->setChecked(s.StayOnTop);
    cbStartMin->setChecked(s.StartMin);
    cbWinStart->setChecked(s.WinStart);
    cbTransparent->setChecked(s.Transparent);
    lClickSay->setChecked(s.DBLClickSpeak);
    ckbEnableUpd->setChecked(s.UpdEnbl);
    ckbUseProxy->setChecked(s.UpdPrx);

    for (QWidget* w : std::initializer_list<QWidget*>{lDelicateTime, UpDown1, cbDelicate})
        w->setEnabled(cbClipTranslate->isChecked());
    cbAddToHistory->setEnabled(cbInTranslate->isChecked());
    tbTransparent->setEnabled(s.Transparent);
    {
        const QSignalBlocker block(tbTransparent);
        tbTransparent->setValue(s.TranValue);
    }

    SavedFromIndex = main_->cbFrom->currentIndex();
    SavedToIndex = main_->cbTo->currentIndex();
    LoadInterfaceLanguages();
    CollectEnabledFlags();

    UpDown1->setValue(s.DelicateTime);
    UpDownDays->setValue(s.UpdCnt);
    if (s.UpdStt == 0)
        rbOne->setChecked(true);
    else if (s.UpdStt == 1)
        rbTwo->setChecked(true);
    eProxyServer->setText(ToQString(s.UpdPrxSrv));
    eUserName->setText(ToQString(s.UpdPrxUsNa));
    ePassword->setText(ToQString(s.UpdPrxPss));
    ePort->setText(s.UpdPrxPrt == 0 ? QString() : QString::number(s.UpdPrxPrt));

    for (QWidget* w : std::initializer_list<QWidget*>{eDays, UpDownDays, rbOne, rbTwo, ckbUseProxy})
        w->setEnabled(s.UpdEnbl);
    EnableProxyFields(s.UpdEnbl && s.UpdPrx);

    FillCDDrives();

    if (!TfLexDictionary::IsUserAdministrator()) {
        bCopy->setEnabled(false);
        bInstall->setEnabled(false);
        bRemove->setEnabled(false);
    }
}

void TfInterface::FillCDDrives()
{
    cbCDROM->clear();
    const QIcon cd = style()->standardIcon(QStyle::SP_DriveCDIcon);
    for (const std::string& root : Platform::CDDriveRoots())
        cbCDROM->addItem(cd, QFile::decodeName(QByteArray::fromStdString(root)));
    cbCDROM->setCurrentIndex(cbCDROM->findText(ToQString(main_->Settings.CDROM)));
}

void TfInterface::LoadInterfaceLanguages()
{
    // A missing or damaged file lists no language; Apply then keeps the language as it is.
    LangIds.clear();
    cbLangs->clear();
    for (const TInterfaceLanguage& language :
         ListInterfaceLanguages(QFile::encodeName(main_->LangFile).toStdString())) {
        LangIds.push_back(language.Id);
        cbLangs->addItem(ToQString(language.Name));
    }
    cbLangs->setCurrentIndex(-1);
    for (std::size_t i = 0; i < LangIds.size(); ++i)
        if (LangIds[i] == main_->InterfaceLanguage) {
            cbLangs->setCurrentIndex(static_cast<int>(i));
            break;
        }
}

void TfInterface::CollectEnabledFlags()
{
    EnabledFlags.clear();
    if (!main_->DictManager)
        return;
    for (const TDictionaryRecord& r : main_->DictManager->Records)
        EnabledFlags.push_back(r.Enabled);
}

void TfInterface::bOkClick()
{
    // A port that is no number stops Apply before anything changes.
    bool portOk = true;
    const QString portText = ePort->text().trimmed();
    const int port = portText.isEmpty() ? 0 : portText.toInt(&portOk);
    if (!portOk || port < 0 || port > 65535) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MsgWrongPort"), 0, 1);
        pcSettings->setCurrentWidget(tsUpdates);
        ePort->setFocus();
        return;
    }
    TSettings& s = main_->Settings;
    s.EveryKey = cbEveryKey->isChecked();
    s.Publisher = cbPublisher->isChecked();
    s.DblClickTranslate = cbInTranslate->isChecked();
    s.AddToHistory = cbAddToHistory->isChecked();
    s.ClipTranslate = cbClipTranslate->isChecked();
    s.Delicate = cbDelicate->isChecked();
    s.StayOnTop = cbStayOnTop->isChecked();
    s.StartMin = cbStartMin->isChecked();
    s.WinStart = cbWinStart->isChecked();
    s.DelicateTime = UpDown1->value();
    s.DBLClickSpeak = lClickSay->isChecked();
    s.Transparent = cbTransparent->isChecked();
    s.TranValue = tbTransparent->value();
    main_->setWindowOpacity(s.Transparent ? (s.TranValue & 0xFF) / 255.0 : 1.0);

    s.HotKey = SequenceToShortCut(HotKey->keySequence());
    s.hkSpeak = SequenceToShortCut(hkSpeak->keySequence());
    main_->miClipTran->setChecked(s.ClipTranslate);

    s.UpdEnbl = ckbEnableUpd->isChecked();
    s.UpdCnt = static_cast<std::int16_t>(UpDownDays->value());
    if (rbOne->isChecked())
        s.UpdStt = 0;
    else if (rbTwo->isChecked())
        s.UpdStt = 1;
    s.UpdPrx = ckbUseProxy->isChecked();
    s.UpdPrxSrv = ToU16(eProxyServer->text());
    s.UpdPrxUsNa = ToU16(eUserName->text());
    s.UpdPrxPss = ToU16(ePassword->text());
    s.UpdPrxPrt = port;

    const int language = cbLangs->currentIndex();
    if (language >= 0 && language < static_cast<int>(LangIds.size())) {
        const std::int16_t id = LangIds[static_cast<std::size_t>(language)];
        LoadInterfaceLanguage(QFile::encodeName(main_->LangFile).toStdString(), id, main_->LangStrings);
        main_->InterfaceLanguage = id;
        s.Language = id;
        main_->ApplyInterfaceLanguage();
    }

    if (TfLexDictionary::IsUserAdministrator() && main_->DictManager) {
        for (TDictionaryRecord& r : main_->DictManager->Records)
            if (r.Id >= 0 && r.Id < static_cast<std::int32_t>(EnabledFlags.size()))
                r.Enabled = EnabledFlags[static_cast<std::size_t>(r.Id)];
        main_->DictManager->SaveAll();
    }

    RefreshMainChoosers(true);
    main_->UpdateWindowTitle();

    const bool onTop = main_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTop != s.StayOnTop) {
        const bool visible = main_->isVisible();
        main_->setWindowFlag(Qt::WindowStaysOnTopHint, s.StayOnTop);
        if (visible)
            main_->show();
    }
    SetAutostart(s.WinStart);
    if (!cbCDROM->currentText().isEmpty() && cbCDROM->currentText() != ToQString(s.CDROM))
        s.CDROM = ToU16(cbCDROM->currentText());
    SaveSettings(s, main_->SelectedDictionaryKind());

    main_->HelpFile = main_->AppDir + "Help/Help" + LangText(main_->LangStrings, "HelpFile") + ".chm";
    if (!QFileInfo::exists(main_->HelpFile))
        main_->HelpFile = main_->AppDir + "Help/HelpENG.chm";
    main_->ShowBanner();
    accept();
}

void TfInterface::RefreshMainChoosers(bool fromHandlerToo)
{
    TfLexDictionary& m = *main_;
    m.FillDirections();
    {
        const QSignalBlocker block(m.cbFrom);
        if (SavedFromIndex >= 0 && SavedFromIndex < m.cbFrom->count())
            m.cbFrom->setCurrentIndex(SavedFromIndex);
    }
    // The direction shown stays the one chosen: its change handler must not reset the
    // dictionary chooser to its first item.
    m.PreviousFromIndex = m.cbFrom->currentIndex();
    m.FillDictionaries(m.cbFrom->currentIndex());
    if (SavedToIndex < m.cbTo->count()) {
        const QSignalBlocker block(m.cbTo);
        m.cbTo->setCurrentIndex(SavedToIndex < 0 ? (m.cbTo->count() > 0 ? 0 : -1) : SavedToIndex);
    }
    if (fromHandlerToo)
        m.cbFrom1Change();
    // Also with no direction left: the dictionary that was switched off or removed goes.
    m.cbToChange(m.cbTo);
}

void TfInterface::SetAutostart(bool enable)
{
    Autostart::SetAutostart(enable,
                            QFile::decodeName(QByteArray::fromStdString(Platform::ProgramFolder()))
                                + QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

void TfInterface::bCanceClick()
{
    reject();
}

void TfInterface::FormClose()
{
    // The main window is opaque while it is active; translucency returns when it is left.
    main_->setWindowOpacity(1.0);
}

void TfInterface::done(int result)
{
    if (!CanClose)
        return;
    FormClose();
    QDialog::done(result);
}

void TfInterface::reject()
{
    if (CanClose)
        QDialog::reject();
}

void TfInterface::closeEvent(QCloseEvent* e)
{
    if (!CanClose) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void TfInterface::cbTransparentClick()
{
    tbTransparent->setEnabled(cbTransparent->isChecked());
}

void TfInterface::tbTransparentEnter()
{
    // Blending on: the preview shows the track bar's value.
    main_->setWindowOpacity((tbTransparent->value() & 0xFF) / 255.0);
}

void TfInterface::tbTransparentChange()
{
    if (tbTransparent->isEnabled())
        main_->setWindowOpacity((tbTransparent->value() & 0xFF) / 255.0);
}

void TfInterface::cbInTranslateClick()
{
    cbAddToHistory->setEnabled(cbInTranslate->isChecked());
}

void TfInterface::cbClipTranslateClick()
{
    const bool on = cbClipTranslate->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{cbDelicate, lDelicateTime, eDelicateTime, UpDown1})
        w->setEnabled(on);
}

void TfInterface::ckbEnableUpdClick()
{
    const bool on = ckbEnableUpd->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{UpdDays, eDays, UpDownDays, rbOne, rbTwo, ckbUseProxy})
        w->setEnabled(on);
    EnableProxyFields(on && ckbUseProxy->isChecked());
}

void TfInterface::ckbUseProxyClick()
{
    EnableProxyFields(ckbUseProxy->isChecked());
}

void TfInterface::rbOneClick()
{
    eDays->setEnabled(false);
}

void TfInterface::rbTwoClick()
{
    eDays->setEnabled(false);
}

void TfInterface::EnableProxyFields(bool enable)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label1, Label2, Label3, Label4, eProxyServer, eUserName, ePort, ePassword})
        w->setEnabled(enable);
}

void TfInterface::urlHelpClick()
{
    main_->ShowHelpTopic(124);
}
