// The settings window's keys: the shortcut boxes, the typed-key checks of the number boxes,
// and the hint of the dictionary rows under the mouse.
#include "app/InterfaceForm.h"

#include "app/ShortCutKeys.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"

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

}  // namespace

bool TfInterface::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && (watched == HotKey || watched == hkSpeak))
        return ShortCutBoxKeyPress(*static_cast<QKeySequenceEdit*>(watched), *static_cast<QKeyEvent*>(e));
    if (e->type() == QEvent::KeyPress && (watched == eDelicateTime || watched == eDays || watched == ePort)) {
        const QString text = static_cast<QKeyEvent*>(e)->text();
        // Keys without a character (arrows, Delete) and control characters are not typed text.
        if (text.size() != 1 || (text[0] < QChar(' ') && text[0] != QChar(8)))
            return QDialog::eventFilter(watched, e);
        bool discard = false;
        Guard([&] {
            if (watched == eDelicateTime)
                discard = eDelicateTimeKeyPress(text[0]);
            else if (watched == eDays)
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
    if ((eDelicateTime->text() + key).toLongLong() > 180) {
        main_->ShowMessageBox(LangText(main_->LangStrings, "MaxDelicateTime"), 0, 1);
        UpDown1->setValue(180);
        eDelicateTime->setText("180");
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
    if (eDays->cursorPosition() == 0) {
        const QString text = eDays->text();
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
