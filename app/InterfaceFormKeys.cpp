// The settings window's typed-key checks of the number boxes and the hint of the dictionary
// rows under the mouse.
#include "app/InterfaceForm.h"

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

}  // namespace

bool TfInterface::eventFilter(QObject* watched, QEvent* e)
{
    // The shortcut boxes drop the keypad from a digit typed there; the keypad's digits are
    // keys of their own, so the box keeps them as such.
    if (e->type() == QEvent::KeyPress && (watched == HotKey || watched == hkSpeak)) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if ((key->modifiers() & Qt::KeypadModifier) && key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) {
            const Qt::KeyboardModifiers kept =
                key->modifiers() & (Qt::KeypadModifier | Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
            static_cast<QKeySequenceEdit*>(watched)->setKeySequence(
                QKeySequence(QKeyCombination(kept, static_cast<Qt::Key>(key->key()))));
            return true;
        }
    }
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
