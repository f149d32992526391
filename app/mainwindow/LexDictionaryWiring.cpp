// The main window's user signals, key preview and posted messages, each routed to its
// handler; no exception leaves a handler.
#include "app/mainwindow/LexDictionary.h"
#include "components/MBox.h"
#include "components/ShapeButton.h"
#include "components/TrayIcon.h"
#include "components/InterfaceText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QAbstractItemView>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

void TfLexDictionary::ConnectHandlers()
{
    auto on = [this](auto* sender, auto signal, auto handler) {
        connect(sender, signal, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    // search and list
    // Keys reach the combo box, which hands them to its edit directly.
    cbFind->installEventFilter(this);
    cbFind->lineEdit()->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(lbWords), static_cast<QWidget*>(reDescription),
                       static_cast<QWidget*>(cbFrom), static_cast<QWidget*>(cbTo)})
        w->installEventFilter(this);
    // Only a pick from the history list counts; the box also reports a typed text that
    // equals an entry whenever the edit loses the focus.
    cbFind->view()->parentWidget()->installEventFilter(this);
    // The lists' keys are seen first, while the list is still open.
    for (QComboBox* box : {cbFind, cbFrom, cbTo})
        box->view()->installEventFilter(this);
    connect(cbFind, &QComboBox::activated, this, [this] {
        // While the list is still open the report is the edit's own, made as it loses the
        // focus to the list; a pick comes after the list has closed.
        if (!historyPopup_ || cbFind->view()->isVisible())
            return;
        historyPopup_ = false;
        Guard([this] { cbFindCloseUp(); });
    });
    on(bFund, &QToolButton::clicked, &TfLexDictionary::bFundClick);
    connect(lbWords, &QListView::clicked, this, [this] { Guard([this] { lbWordsClick(); }); });
    connect(lbWords->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        // A mouse press is followed by its click; keyboard moves select at once.
        if (QApplication::mouseButtons() == Qt::NoButton)
            Guard([this] { lbWordsClick(); });
    });
    connect(lbWords, &QListView::doubleClicked, this, [this] { Guard([this] { lbWordsDblClick(); }); });
    on(miWordSearch, &QAction::triggered, &TfLexDictionary::miWordSearchClick);
    on(miAdvancedSearch, &QAction::triggered, &TfLexDictionary::miAdvancedSearchClick);
    on(miWordSearch2, &QAction::triggered, &TfLexDictionary::miWordSearch21Click);
    on(miAdvancedSearch2, &QAction::triggered, &TfLexDictionary::miAdvancedSearch21Click);
    on(miSearch, &QAction::triggered, &TfLexDictionary::miSearch1Click);
    // choice and reversal
    connect(cbFrom, &QComboBox::activated, this, [this] { Guard([this] { cbFrom1Change(); }); });
    connect(cbTo, &QComboBox::activated, this, [this] { Guard([this] { cbToChange(cbTo); }); });
    on(aReverse, &QAction::triggered, &TfLexDictionary::aReverseExecute);
    on(bReverse, &QToolButton::clicked, &TfLexDictionary::aReverseExecute);
    // pronunciation
    on(bSeyWord, &QToolButton::clicked, &TfLexDictionary::bSeyWordClick);
    connect(miSpeak, &QAction::triggered, this, [this] {
        Guard([this] {
            if (SelectedDictionaryKind() == 0)
                bSeyWordClick();
        });
    });
    // learning list and history
    on(aAddToList, &QAction::triggered, &TfLexDictionary::aAddToListExecute);
    on(bAddToList, &QToolButton::clicked, &TfLexDictionary::aAddToListExecute);
    on(aCloseList, &QAction::triggered, &TfLexDictionary::aCloseListExecute);
    on(bCloseList, &QToolButton::clicked, &TfLexDictionary::aCloseListExecute);
    on(miNewList, &QAction::triggered, &TfLexDictionary::miNewList1Click);
    on(miOpenList, &QAction::triggered, &TfLexDictionary::miOpenList1Click);
    on(miSaveList, &QAction::triggered, &TfLexDictionary::miSaveListClick);
    on(miSaveAs, &QAction::triggered, &TfLexDictionary::miSaveAsClick);
    on(TimerM6, &QTimer::timeout, &TfLexDictionary::TimerM6Timer);
    connect(lbList, &QListWidget::itemClicked, this, [this] { Guard([this] { lbListClick(); }); });
    connect(lbList, &QListWidget::itemDoubleClicked, this, [this] { Guard([this] { lbListDblClick(); }); });
    on(PopupMenuList, &QMenu::aboutToShow, &TfLexDictionary::PopupMenuListPopup);
    on(bOpenLists, &QToolButton::clicked, &TfLexDictionary::bOpenListsClick);
    on(bDelItem, &QToolButton::clicked, &TfLexDictionary::bDelItemClick);
    on(bEditListWord, &QToolButton::clicked, &TfLexDictionary::ToolButton6Click);
    on(sbSaveAs, &QToolButton::clicked, &TfLexDictionary::sbSaveAsClick);
    on(miFile, &QMenu::aboutToShow, &TfLexDictionary::miFileClick);
    on(miImport, &QAction::triggered, &TfLexDictionary::miImport1Click);
    for (int i = 0; i < 6; ++i)
        connect(Method[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { Guard([this, i] { StartMethod(i + 1); }); });
    connect(miHang, &QAction::triggered, this, [this] { Guard([this] { StartMethod(7); }); });
    // word commands and view
    on(aNewWord, &QAction::triggered, &TfLexDictionary::aNewWordExecute);
    on(bNewWord, &QToolButton::clicked, &TfLexDictionary::aNewWordExecute);
    on(miEditWord, &QAction::triggered, &TfLexDictionary::miEditWord1Click);
    on(bEdit, &QToolButton::clicked, &TfLexDictionary::miEditWord1Click);
    on(miDeleteWord, &QAction::triggered, &TfLexDictionary::miDeleteWord1Click);
    on(miCreateDictionary, &QAction::triggered, &TfLexDictionary::miCreateDictionary1Click);
    on(aExport, &QAction::triggered, &TfLexDictionary::aExportExecute);
    on(aInterfaceForm, &QAction::triggered, &TfLexDictionary::aInterfaceFormExecute);
    on(bSettings, &QToolButton::clicked, &TfLexDictionary::aInterfaceFormExecute);
    on(miOptions2, &QAction::triggered, &TfLexDictionary::aInterfaceFormExecute);
    on(miConvert, &QAction::triggered, &TfLexDictionary::miConvert1Click);
    on(miHelp_1, &QAction::triggered, &TfLexDictionary::miHelp_11Click);
    on(miBLine, &QAction::triggered, &TfLexDictionary::miBLine1Click);
    on(miDLine, &QAction::triggered, &TfLexDictionary::miDLine1Click);
    on(miStatusLine, &QAction::triggered, &TfLexDictionary::miStatusLine1Click);
    on(VKeyboard, &QAction::triggered, &TfLexDictionary::VKeyboardExecute);
    on(bKeyboard, &QToolButton::clicked, &TfLexDictionary::VKeyboardExecute);
    on(aExit, &QAction::triggered, &TfLexDictionary::aExitExecute);
    on(miTrayExit, &QAction::triggered, &TfLexDictionary::aExitExecute);
    // tray and small commands
    on(miShow, &QAction::triggered, &TfLexDictionary::miShowClick);
    on(miClipTran, &QAction::triggered, &TfLexDictionary::miClipTranClick);
    on(TrayIcon1, &TTrayIcon::OnDblClick, &TfLexDictionary::TrayIcon1DblClick);
    on(miHelp_2, &QAction::triggered, &TfLexDictionary::miHelp_2Click);
    on(miHelp_5, &QAction::triggered, &TfLexDictionary::miHelp_5Click);
    on(Homepage1, &QAction::triggered, &TfLexDictionary::Homepage1Click);
    on(miAbbreviation, &QAction::triggered, &TfLexDictionary::miAbbreviationClick);
    on(ShapeButton1, &TShapeButton::OnClick, &TfLexDictionary::ShapeButton1Click);
    on(ToolButton1, &QToolButton::clicked, &TfLexDictionary::ToolButton1Click);
    on(miUpdateNow, &QAction::triggered, &TfLexDictionary::miUpdateNowClick);
    on(ShapeButton2, &TShapeButton::OnClick, &TfLexDictionary::ShapeButton2Click);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        Guard([this, state] {
            if (state == Qt::ApplicationActive)
                ApplicationEvents1Activate();
            else if (state == Qt::ApplicationInactive)
                ApplicationEvents1Deactivate();
        });
    });
}

bool TfLexDictionary::eventFilter(QObject* watched, QEvent* e)
{
    bool handled = false;
    // An open pop-up (the history list, a chooser's list, a menu) takes the keys itself:
    // Escape closes only it, and nothing typed there is the window's, also when the key
    // travels on after the list has closed (a list closes on the key's shortcut check,
    // before the key itself arrives).
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (QApplication::activePopupWidget() != nullptr) {
            if (!popupKeyPending_)
                QTimer::singleShot(0, this, [this] { popupKeyPending_ = false; });
            popupKeyPending_ = true;
            popupKeyTime_ = key->timestamp();
            return QMainWindow::eventFilter(watched, e);
        }
        if (popupKeyPending_ && key->timestamp() == popupKeyTime_)
            return QMainWindow::eventFilter(watched, e);
    }
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        Guard([&] {
            // The window sees keys before its controls.
            if (FormKeyDown(key->key(), key->modifiers())) {
                handled = true;
                return;
            }
            const QString text = key->text();
            const bool typed = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
            if (typed)
                FormKeyPress(text.at(0).unicode());
            if (watched == cbFind || watched == cbFind->lineEdit()) {
                historyPopup_ = false;  // typed text is no pick from the list
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                    handled = cbFindKeyDown(key->key());
                else if (typed)
                    handled = cbFindKeyPress(text.at(0).unicode());
            }
        });
    } else if (watched == cbFind->view()->parentWidget() && e->type() == QEvent::Show) {
        historyPopup_ = true;
    } else if (e->type() == QEvent::MouseButtonDblClick && watched == reDescription->viewport()) {
        // The pane selects the word under the mouse first, then the look-up runs.
        QTimer::singleShot(0, this, [this] { Guard([this] { reDescriptionDblClick(); }); });
    } else if (e->type() == QEvent::MouseButtonPress && watched == cbFrom) {
        Guard([this] { cbFromDropDown(); });
    } else if (e->type() == QEvent::MouseButtonDblClick && watched == lToLanguage) {
        Guard([this] { aReverseExecute(); });
        handled = true;
    } else if (e->type() == QEvent::Resize && watched == mbAlphabet) {
        Guard([this] { FitAlphabetLinks(); });
    } else if (e->type() == QEvent::MouseButtonRelease && watched == IBaner) {
        Guard([this] { IBanerClick(); });
    }
    return handled || QMainWindow::eventFilter(watched, e);
}

bool TfLexDictionary::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case LexEvents::InstallDictionary:
        Guard([&] { WMInstallDictionary(static_cast<LexEvents::TInstallEvent*>(e)->Path); });
        return true;
    case LexEvents::RestoreWindow:
        Guard([this] { WMRestoreWindow(); });
        return true;
    case LexEvents::SpeakWord:
        Guard([this] { WMSpeakWord(); });
        return true;
    case LexEvents::ReverseDirection:
        Guard([this] { WMReverseDirection(); });
        return true;
    default:
        break;
    }
    return QMainWindow::event(e);
}

void TfLexDictionary::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
}
