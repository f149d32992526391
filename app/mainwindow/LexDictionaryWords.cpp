// Word commands, the message box, clipboard translation, the window's keys and the commands
// that show or hide parts of the window. The word editor, the wizard, the settings window
// and number-to-words come with their issues.
#include "app/mainwindow/LexDictionary.h"
#include "components/MBox.h"
#include "components/InterfaceText.h"
#include "components/MessageForm.h"
#include "tools/windows/NumTran.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

// The stored shortcut form: virtual-key code in the low byte, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt.
TShortCut ShortCutOf(int key, Qt::KeyboardModifiers modifiers)
{
    int vk = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        vk = 'A' + (key - Qt::Key_A);
    else if (key >= Qt::Key_0 && key <= Qt::Key_9)
        vk = '0' + (key - Qt::Key_0);
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        vk = 0x70 + (key - Qt::Key_F1);
    else if (key == Qt::Key_Space)
        vk = 0x20;
    else if (key == Qt::Key_Insert)
        vk = 0x2D;
    else if (key == Qt::Key_Delete)
        vk = 0x2E;
    else if (key >= Qt::Key_Left && key <= Qt::Key_Down)
        vk = 0x25 + (key - Qt::Key_Left);
    if (vk == 0)
        return 0;
    int s = vk;
    if (modifiers & Qt::ShiftModifier)
        s |= 0x2000;
    if (modifiers & Qt::ControlModifier)
        s |= 0x4000;
    if (modifiers & Qt::AltModifier)
        s |= 0x8000;
    return static_cast<TShortCut>(s);
}

}  // namespace

int TfLexDictionary::ShowMessageBox(const QString& text, int buttons, int icon)
{
    TfMessage form(this);
    form.setWindowTitle(LangText(LangStrings, "MessageCaption"));
    form.lMessage->setText(text);
    form.bOk->setVisible(buttons == 0);
    form.bYes->setVisible(buttons == 1);
    form.bNo->setVisible(buttons == 1);
    form.bOk->setText(LangText(LangStrings, "OK"));
    form.bYes->setText(LangText(LangStrings, "OK"));
    form.bNo->setText(LangText(LangStrings, "Cancel"));
    form.ImageQuestion->setVisible(icon == 0);
    form.ImageInfo->setVisible(icon == 1);
    form.ImageError->setVisible(icon == 2);
    return form.exec();
}

bool TfLexDictionary::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const TShortCut pressed = ShortCutOf(key, modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (pressed != 0 && pressed == Settings.HotKey) {
        aReverseExecute();
        return true;
    }
    if (pressed != 0 && pressed == Settings.hkSpeak) {
        bSeyWordClick();
        return true;
    }
    if (key == Qt::Key_Escape) {
        showMinimized();
        return true;
    }
    if (key == Qt::Key_F3 || ((key == Qt::Key_Return || key == Qt::Key_Enter) && (modifiers & Qt::ControlModifier))) {
        cbFind->setFocus();
        bFundClick();
        return true;
    }
    return false;
}

void TfLexDictionary::miBLine1Click()
{
    ToolBar->setVisible(miBLine->isChecked());
    CoolBar1->setVisible(miBLine->isChecked() || miDLine->isChecked());
}

void TfLexDictionary::miDLine1Click()
{
    DictionaryBand->setVisible(miDLine->isChecked());
    CoolBar1->setVisible(miBLine->isChecked() || miDLine->isChecked());
}

void TfLexDictionary::miStatusLine1Click()
{
    sbSearch->setVisible(!sbSearch->isVisibleTo(this));
    miStatusLine->setChecked(sbSearch->isVisibleTo(this));
}

void TfLexDictionary::VKeyboardExecute()
{
    const bool show = !mbAlphabet->isVisibleTo(this);
    mbAlphabet->setVisible(show);
    miAlphabet->setChecked(show);
    bKeyboard->setChecked(show);
    if (!show && windowOpacity() < 1.0)
        reDescription->viewport()->update();
}

void TfLexDictionary::ClipboardViewer1Text()
{
}
void TfLexDictionary::aNewWordExecute()
{
}
void TfLexDictionary::miEditWord1Click()
{
}
void TfLexDictionary::miDeleteWord1Click()
{
}
void TfLexDictionary::miCreateDictionary1Click()
{
}
void TfLexDictionary::aExportExecute()
{
}
void TfLexDictionary::aInterfaceFormExecute()
{
}
void TfLexDictionary::miConvert1Click()
{
    TfNumTran window(LangStrings, this);
    window.exec();
}
void TfLexDictionary::miHelp_11Click()
{
}
