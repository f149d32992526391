// Word commands, the message box, clipboard translation, the window's keys and the commands
// that show or hide parts of the window; the settings window opens from LexDictionarySettings.cpp.
#include "app/ShortCutKeys.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordCommands.h"
#include "components/HelpWindow.h"
#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/MessageForm.h"
#include "engine/WideText.h"
#include "platform/qt/Balloon.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QListView>
#include <QComboBox>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRegion>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVariantAnimation>

#include <algorithm>
#include <stdexcept>

void TfLexDictionary::ShowSaveError(const QString& file, const std::exception& failure)
{
    QString text = LangText(LangStrings, "MsgCannotSave") + "\n" + QDir::toNativeSeparators(file);
    if (failure.what()[0] != '\0')
        text += "\n" + QString::fromLocal8Bit(failure.what());
    ShowMessageBox(text, 0, 2);
}

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
    const TShortCut pressed = ShortCutOfKey(key, modifiers);
    if (pressed != 0 && pressed == Settings.HotKey) {
        aReverseExecute();
        return true;
    }
    if (pressed != 0 && pressed == Settings.hkSpeak) {
        bSeyWordClick();
        return true;
    }
    if (key == Qt::Key_Escape && QApplication::activePopupWidget() == nullptr) {
        showMinimized();
        return true;
    }
    if (key == Qt::Key_F3 || ((key == Qt::Key_Return || key == Qt::Key_Enter) && (modifiers & Qt::ControlModifier))) {
        cbFind->setFocus();
        bFundClick();
        return true;
    }
    // The menu's Ctrl+A (add to the learning list) also from the search box, whose edit would
    // take it as "select all".
    if (key == Qt::Key_A
        && (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier
        && miAddToList->isEnabled()) {
        miAddToList->trigger();
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

// A slide still running ends at once, so the panel's state is settled before it changes.
void TfLexDictionary::FinishAlphabetSlide()
{
    if (alphabetSlide_ && alphabetSlide_->state() == QAbstractAnimation::Running)
        alphabetSlide_->setCurrentTime(alphabetSlide_->duration());
}

void TfLexDictionary::VKeyboardExecute()
{
    FinishAlphabetSlide();
    const bool show = !mbAlphabet->isVisibleTo(this);
    miAlphabet->setChecked(show);
    bKeyboard->setChecked(show);
    SlideAlphabet(show, Qt::Horizontal);
}

// The panel keeps its place in the layout while it slides: a mask centred on it grows from
// nothing or shrinks to nothing over 80 ms, across its width or its height.
void TfLexDictionary::SlideAlphabet(bool show, Qt::Orientation direction)
{
    auto slide = new QVariantAnimation(this);
    slide->setDuration(80);
    slide->setStartValue(show ? 0.0 : 1.0);
    slide->setEndValue(show ? 1.0 : 0.0);
    const auto narrow = [this, direction](double part) {
        const int width = mbAlphabet->width();
        const int height = mbAlphabet->height();
        if (direction == Qt::Horizontal) {
            const int shown = std::max(1, static_cast<int>(width * part));
            mbAlphabet->setMask(QRegion((width - shown) / 2, 0, shown, height));
        } else {
            const int shown = std::max(1, static_cast<int>(height * part));
            mbAlphabet->setMask(QRegion(0, (height - shown) / 2, width, shown));
        }
    };
    connect(slide, &QVariantAnimation::valueChanged, mbAlphabet,
            [narrow](const QVariant& value) { narrow(value.toDouble()); });
    connect(slide, &QVariantAnimation::finished, mbAlphabet, [this, show] {
        mbAlphabet->clearMask();
        mbAlphabet->setVisible(show);
        if (!show && windowOpacity() < 1.0)
            reDescription->viewport()->update();
    });
    alphabetSlide_ = slide;
    if (show) {
        narrow(0.0);
        mbAlphabet->setVisible(true);
    }
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

int TfLexDictionary::EditableWordIndex() const
{
    const int i = SelectedIndex();
    // Advanced-search results are words of any section: the engine's edits address the
    // current section only, so none of them is edited from there.
    if (i < 0 || SearchMode != 0 || !Dictionary)
        return -1;
    switch (SelectedDictionaryKind()) {
    case 0: {
        const std::vector<std::int32_t>& positions = Dictionary->UserWordPositions;
        const auto k = std::find(positions.begin(), positions.end(), i);
        return k == positions.end() ? -1 : static_cast<int>(k - positions.begin());
    }
    case 2:
    case 3:
        return i;
    default:
        return -1;
    }
}

void TfLexDictionary::aNewWordExecute()
{
    if (CurrentDictionaryFile.isEmpty())
        return;
    if (!IsUserAdministrator()) {
        ShowMessageBox(LangText(LangStrings, "MsgOnlyAdminMayDoThis"), 0, 2);
        return;
    }
    WordCommands::OpenWordEditor(*this, WordCommands::TWordEditRequest{});
}

void TfLexDictionary::miCreateDictionary1Click()
{
    if (!IsUserAdministrator()) {
        ShowMessageBox(LangText(LangStrings, "MsgOnlyAdminMayDoThis"), 0, 2);
        return;
    }
    WordCommands::OpenDictionaryWizard(*this);
}

void TfLexDictionary::miEditWord1Click()
{
    const int k = EditableWordIndex();
    if (k < 0)
        return;
    WordCommands::TWordEditRequest request;
    request.Edit = true;
    request.Index = k;
    request.Word = SelectedWord();
    // The user word's own article: its place among the user words, not in the list.
    Dictionary->GetArticle(k, true, request.Article, true, false);
    WordCommands::OpenWordEditor(*this, request);
}

void TfLexDictionary::miDeleteWord1Click()
{
    const int i = SelectedIndex();
    const int k = EditableWordIndex();
    if (k < 0)
        return;
    if (ShowMessageBox(LangText(LangStrings, "MsgDeleteWord"), 1, 0) != 6)
        return;
    const AddWordResult result = Dictionary->DeleteWord(k);
    if (result == WordResult::InOutError || result == WordResult::WriteError) {
        // The file the words live in stays as it was.
        const auto* maker = dynamic_cast<const TTavorDictionary*>(Dictionary.get());
        const std::string file = maker != nullptr ? maker->UserWordsFileName(false) : Dictionary->FileName;
        ShowSaveError(QFile::decodeName(QByteArray::fromStdString(file)), std::runtime_error(""));
    }
    if (result != WordResult::Done)
        return;
    const char16_t letter = Dictionary->CurrentLetter;
    std::u16string words;
    Dictionary->GetLetterWords(letter, false, words, false);
    // The last word of a user dictionary's letter leaves the list empty.
    SetWordsText(std::move(words));
    MergeUserWords(SelectedDictionaryKind() == 0 ? letter : char16_t(0));
    if (i - 1 < 0) {
        SetSelectedIndex(-1);
        reDescription->clear();
        SoundWordIndex = -1;
        UpdateWordCommands(false);
    } else {
        SetSelectedIndex(std::min(i - 1, WordCount() - 1));
        lbWordsClick();
    }
}

void TfLexDictionary::aExportExecute()
{
    const int kind = SelectedDictionaryKind();
    if (!Dictionary || (kind != 0 && kind != 2 && kind != 3))
        return;
    const QString own = QFile::decodeName(QByteArray::fromStdString(Dictionary->FileName));
    if (own.size() < 3)
        return;
    const QString file = own.left(own.size() - 3) + (kind == 0 ? "TDE" : "UDD");
    if (!QFileInfo::exists(file))
        return;
    const QString target =
        WordCommands::AskExportFile(this, LangText(LangStrings, "ExportCaption"), file, kind == 0 ? 2 : 0);
    if (target.isEmpty())
        return;
    // A failed copy leaves the chosen file as it was; the error is shown by the caller.
    Dictionary->SaveUserWords(QFile::encodeName(target).toStdString());
}

void TfLexDictionary::miConvert1Click()
{
    WordCommands::OpenNumberWords(*this);
}

void TfLexDictionary::ClipboardViewer1Text()
{
    if (ShuttingDown || destroyed_ || !Settings.ClipTranslate)
        return;
    // Copies made while a message or a file dialog is open belong to that window's work. The
    // learning window is the exception: the look-up runs, only its balloon is held back.
    QWidget* modal = QApplication::activeModalWidget();
    const bool learning = LearningOpen && modal != nullptr && modal->inherits("TfLearning");
    if (modal != nullptr && !learning)
        return;
    const QString copied = QGuiApplication::clipboard()->text();
    // The learning window works on the open dictionary: a word of the other side, which
    // would switch it, is not looked up meanwhile.
    if (learning && Dictionary && Dictionary->IsAlphabetLetter(ToU16(WordCommands::CutClipboardText(copied))))
        return;
    if (SearchMode != 0)
        SetSearchMode(0);
    cbFind->setEditText(WordCommands::CutClipboardText(copied));
    if (Dictionary)
        FindWord();
    if (SelectedIndex() < 0)
        return;
    if (Settings.Delicate) {
        if (!LearningOpen)
            Balloon::ShowBaloon(SelectedWord(), reDescription->toPlainText(), Settings.DelicateTime);
    } else if (!isActiveWindow()) {
        WMRestoreWindow();
    }
}

void TfLexDictionary::miHelp_11Click()
{
    ::ShowHelpTopic(HelpFile + "::/1.htm", LangStrings);
}
