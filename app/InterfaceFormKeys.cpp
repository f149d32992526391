// The settings window's keys: the shortcut boxes, the typed-key checks of the number boxes,
// and the hint of the dictionary rows under the mouse.
#include "app/InterfaceForm.h"

#include "app/ShortCutKeys.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "components/KeyPreview.h"

#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTreeWidget>

namespace {

bool IsDigit(QChar c)
{
    return c >= '0' && c <= '9';
}

// A shortcut box takes one key with its modifiers: every key it takes replaces what it held,
// so no chord of several keys builds up, and a key the stored shortcut cannot hold is refused
// (the box keeps what it had) instead of turning into "no shortcut" on Apply. Tab and
// Shift+Tab alone walk the window; Backspace alone empties a box that holds a key.
bool ShortCutBoxKeyPress(QKeySequenceEdit& box, const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;  // a modifier alone is no key yet
    default:
        break;
    }
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) && held == Qt::NoModifier)
        return false;
    if (key.key() == Qt::Key_Backspace && key.modifiers() == Qt::NoModifier && !box.keySequence().isEmpty()) {
        box.clear();
        return true;
    }
    const TShortCut shortCut = ShortCutOfKey(key.key(), key.modifiers());
    if (shortCut != 0)
        box.setKeySequence(ShortCutToSequence(shortCut));
    return true;
}

// The text of Box once Key is typed: it takes the place of the selection, else goes in at the caret.
QString TextWith(const QLineEdit& box, QChar key)
{
    QString text = box.text();
    int at = box.cursorPosition();
    if (box.hasSelectedText()) {
        at = box.selectionStart();
        text.remove(at, box.selectedText().size());
    }
    return text.insert(at, key);
}

}  // namespace

// The window sees the keys of its own controls first, whichever of them has the focus. Keys
// of other windows (a message, an open drop-down list) are theirs.
void TfInterface::InstallKeyPreview()
{
    new TKeyPreview(this, [this](QObject* watched, QKeyEvent* key) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->type() != QEvent::KeyPress || widget == nullptr || widget->window() != this)
            return false;
        bool handled = false;
        Guard([&] { handled = FormKeyDown(key->key()); });
        return handled;
    });
}

bool TfInterface::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    // Taken also while a sound folder is copied: then the window stays.
    if (CanClose)
        bCanceClick();
    return true;
}

bool TfInterface::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && (watched == HotKey || watched == hkSpeak))
        return ShortCutBoxKeyPress(*static_cast<QKeySequenceEdit*>(watched), *static_cast<QKeyEvent*>(e));
    const bool delicateTime = watched == eDelicateTime || watched == UpDown1;
    const bool days = watched == eDays || watched == UpDownDays;
    if (e->type() == QEvent::KeyPress && (delicateTime || days || watched == ePort)) {
        const QString text = static_cast<QKeyEvent*>(e)->text();
        // Keys without a character (arrows, Delete) and control characters are not typed text.
        if (text.size() != 1 || (text[0] < QChar(' ') && text[0] != QChar(8)))
            return QDialog::eventFilter(watched, e);
        bool discard = false;
        Guard([&] {
            if (delicateTime)
                discard = eDelicateTimeKeyPress(text[0]);
            else if (days)
                discard = eDaysKeyPress(text[0]);
            else
                discard = ePortKeyPress(text[0]);
        });
        return discard;
    }
    if (e->type() == QEvent::MouseMove && watched == ListView1->viewport()) {
        Guard([&] { ListView1MouseMove(static_cast<QMouseEvent*>(e)->position().toPoint()); });
        return false;
    }
    return QDialog::eventFilter(watched, e);
}

bool TfInterface::eDelicateTimeKeyPress(QChar key)
{
    if (key == QChar(8))
        return false;
    if (!IsDigit(key))
        return true;
    // Beyond the limit the box shows the limit itself, and says so.
    if (TextWith(*eDelicateTime, key).toLongLong() > 180) {
        UpDown1->setValue(180);
        eDelicateTime->setText("180");
        main_->ShowMessageBox(LangText(main_->LangStrings, "MaxDelicateTime"), 0, 1);
        return true;
    }
    return false;
}

bool TfInterface::eDaysKeyPress(QChar key)
{
    if (key == QChar(8))
        return false;
    if (!IsDigit(key))
        return true;
    // A digit put before the number is checked both ways round; what the selection held goes.
    const bool atStart = (eDays->hasSelectedText() ? eDays->selectionStart() : eDays->cursorPosition()) == 0;
    if (atStart) {
        QString text = eDays->text();
        if (eDays->hasSelectedText())
            text.remove(eDays->selectionStart(), eDays->selectedText().size());
        if (QString(key + text).toLongLong() > 30 || QString(text + key).toLongLong() > 30) {
            UpDownDays->setValue(30);
            eDays->setText("30");
            return true;
        }
    }
    return false;
}

bool TfInterface::ePortKeyPress(QChar key)
{
    if (key == QChar(8))
        return false;
    if (!IsDigit(key))
        return true;
    return ePort->text().size() - ePort->selectedText().size() + 1 > 5;
}

void TfInterface::ListView1MouseMove(const QPoint& at)
{
    QTreeWidgetItem* row = ListView1->itemAt(at);
    if (row != nullptr && row == ListView1->currentItem() && row->isSelected())
        ListView1SelectItem();
    else
        ListView1->setToolTip(QString());
}

void TfInterface::ListView1SelectItem()
{
    if (!main_->DictManager || main_->DictManager->Count() == 0)
        return;
    QTreeWidgetItem* row = ListView1->currentItem();
    const int index = row != nullptr ? ListView1->indexOfTopLevelItem(row) : -1;
    if (index < 0 || index >= static_cast<int>(PairEntries.size()) || !row->isSelected()) {
        ListView1->setToolTip(QString());
        return;
    }
    const TWideStrings& s = main_->LangStrings;
    const QString target =
        ToQString(s.GetValue(Platform::AnsiToWide(PairEntries[static_cast<std::size_t>(index)].TargetCode)));
    ListView1->setToolTip(LangText(s, "HintWords") + SelectedSourceText() + "\n" + LangText(s, "HintDesc") + target
                          + "\n" + LangText(s, "HintPub") + row->text(1));
}
