// The main window's user signals, key preview and posted messages, each routed to its
// handler; no exception leaves a handler.
#include "app/mainwindow/LexDictionary.h"
#include "components/KeyPreview.h"
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
#include <QMenuBar>
#include <QPalette>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

void TfLexDictionary::ConnectHandlers()
{
    auto on = [this](auto* sender, auto signal, auto handler) {
        connect(sender, signal, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    };
    // keys: the window takes the keys of its own controls first (FormKeyDown, FormKeyPress),
    // whichever of them has the focus, also when none has and the window itself receives them
    new TKeyPreview(this, [this](QObject* watched, QKeyEvent* key) { return PreviewKey(watched, key); });
    // The search box shows its text selected only while it has the keyboard.
    connect(qApp, &QApplication::focusChanged, this, [this] { ShowSearchSelection(); });
    ShowSearchSelection();
    // search and list
    cbFrom->installEventFilter(this);
    // Only a pick from the history list counts; the box also reports a typed text that
    // equals an entry whenever the edit loses the focus.
    cbFind->view()->parentWidget()->installEventFilter(this);
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
    // F3 arrives as this shortcut before any key handler sees it: it too hands the keyboard
    // to the search box, as FormKeyDown does.
    connect(miSearch, &QAction::triggered, this, [this] {
        Guard([this] {
            cbFind->setFocus();
            miSearch1Click();
        });
    });
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
    connect(lbList, &QListWidget::currentRowChanged, this, [this](int row) {
        // A selection the keyboard moves shows its entry as a click does; a mouse press is
        // followed by its click.
        if (row >= 0 && QApplication::mouseButtons() == Qt::NoButton)
            Guard([this] { lbListClick(); });
    });
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

bool TfLexDictionary::PreviewKey(QObject* watched, QKeyEvent* key)
{
    if (destroyed_)
        return false;
    if (key->type() == QEvent::KeyRelease) {
        previewedKey_ = nullptr;
        return false;
    }
    // An open pop-up (the history list, a chooser's list, a menu) takes the keys itself:
    // Escape closes only it, and nothing typed there is the window's, also when the key
    // travels on after the list has closed (a list closes on the key's shortcut check,
    // before the key itself arrives).
    if (QApplication::activePopupWidget() != nullptr) {
        if (!popupKeyPending_)
            QTimer::singleShot(0, this, [this] { popupKeyPending_ = false; });
        popupKeyPending_ = true;
        popupKeyTime_ = key->timestamp();
        return false;
    }
    if (popupKeyPending_ && key->timestamp() == popupKeyTime_)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Keys of other windows (dialogs, the help window) and of the menu bar while the user
    // walks it with the keyboard are theirs.
    if (key->type() != QEvent::KeyPress || widget == nullptr || widget->window() != this
        || qobject_cast<QMenuBar*>(widget) != nullptr)
        return false;
    // A key its receiver leaves goes on to the receiver's parents: the window takes it once.
    if (key == previewedKey_ && key->timestamp() == previewedTime_ && previewedAt_ != nullptr && widget != previewedAt_
        && widget->isAncestorOf(previewedAt_))
        return false;
    previewedKey_ = key;
    previewedTime_ = key->timestamp();
    previewedAt_ = widget;
    bool handled = false;
    Guard([&] {
        if (FormKeyDown(key->key(), key->modifiers())) {
            handled = true;
            return;
        }
        const QString text = key->text();
        const bool typed = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
        if (typed)
            FormKeyPress(text.at(0).unicode());
        if (widget == cbFind || widget == cbFind->lineEdit()) {
            historyPopup_ = false;  // typed text is no pick from the list
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                handled = cbFindKeyDown(key->key());
            else if (typed)
                handled = cbFindKeyPress(text.at(0).unicode());
        }
    });
    return handled;
}

void TfLexDictionary::ShowSearchSelection()
{
    QLineEdit* edit = cbFind->lineEdit();
    const QWidget* focus = QApplication::focusWidget();
    // The box keeps the keyboard while its own history list is open.
    const bool typing = focus != nullptr
        && (focus == cbFind || focus == edit || focus == cbFind->view() || cbFind->view()->isAncestorOf(focus));
    if (edit == nullptr || typing == searchSelectionShown_)
        return;
    searchSelectionShown_ = typing;
    if (typing) {
        edit->setPalette(QPalette());  // the combo box's own colours again
        return;
    }
    // Elsewhere the selection stays (typing into the box later replaces it) but is drawn as
    // plain text.
    QPalette plain = cbFind->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        plain.setColor(group, QPalette::Highlight, plain.color(group, QPalette::Base));
        plain.setColor(group, QPalette::HighlightedText, plain.color(group, QPalette::Text));
    }
    edit->setPalette(plain);
}

bool TfLexDictionary::eventFilter(QObject* watched, QEvent* e)
{
    bool handled = false;
    if (watched == cbFind->view()->parentWidget() && e->type() == QEvent::Show) {
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
    // The state a restore brings back is the one the window had on the screen; what the
    // window system makes of a hidden or minimised window does not count.
    if (e->type() != QEvent::WindowStateChange || !isVisible() || isMinimized())
        return;
    // Shown again while the window manager was still withdrawing it, the window may lose its
    // maximised state to that withdrawal before it is on the screen: it asks for it once more.
    const bool onScreen = windowHandle() != nullptr && windowHandle()->isExposed();
    if (restoringMaximized_ && e->spontaneous() && !onScreen && !isMaximized()) {
        restoringMaximized_ = false;
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !isMinimized() && !isMaximized())
                showMaximized();
        });
        return;
    }
    if (onScreen || !e->spontaneous())
        restoringMaximized_ = false;
    restoreMaximized_ = isMaximized();
}
