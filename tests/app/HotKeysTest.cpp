// The window's two shortcuts: every key the settings window's shortcut boxes can store fires
// in the main window, and the keypad's digits stay apart from the main row's.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/ShortCutKeys.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

struct TKey {
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    TShortCut Stored;
};

class MainWindowHotKeys : public ::testing::Test {
protected:
    MainWindowHotKeys()
    {
        SettingsTest::WriteRealLanguageFile(folder.Path());
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Presses Key in the search box; true when the direction turned.
    bool Reverses(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        const QString before = window->CurrentDictionaryFile;
        window->cbFind->setFocus();
        Click(window->cbFind, key, modifiers);
        return window->CurrentDictionaryFile != before;
    }
    // A key click; keys outside Latin-1 (a Russian letter) with their own text.
    static void Click(QWidget* at, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        if (key <= 0xFF || key >= Qt::Key_Escape) {
            QTest::keyClick(at, key, modifiers);
            return;
        }
        const QString text = modifiers & (Qt::ControlModifier | Qt::AltModifier) ? QString() : QString(QChar(key));
        QTest::sendKeyEvent(QTest::Press, at, key, text, modifiers);
        QTest::sendKeyEvent(QTest::Release, at, key, text, modifiers);
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace

TEST_F(MainWindowHotKeys, EveryKeyTheShortcutBoxStoresFires)
{
    const TKey keys[] = {
        {Qt::Key_Backspace, {}, 0x08},
        {Qt::Key_Tab, {}, 0x09},
        {Qt::Key_Return, {}, 0x0D},
        {Qt::Key_PageUp, {}, 0x21},
        {Qt::Key_PageDown, {}, 0x22},
        {Qt::Key_End, {}, 0x23},
        {Qt::Key_Home, {}, 0x24},
        {Qt::Key_Home, Qt::ControlModifier, 0x4024},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_F5, {}, 0x74},
    };
    TfInterface form(window.get());
    form.show();
    for (const TKey& k : keys) {
        SCOPED_TRACE(QKeySequence(k.Key).toString().toStdString());
        form.HotKey->clear();
        form.HotKey->setFocus();
        // Tab leaves the box (keyboard navigation); a stored Tab comes from the settings file.
        if (k.Key == Qt::Key_Tab)
            form.HotKey->setKeySequence(QKeySequence(Qt::Key_Tab));
        else
            QTest::keyClick(form.HotKey, k.Key, k.Modifiers);
        const TShortCut stored = SequenceToShortCut(form.HotKey->keySequence());
        ASSERT_EQ(stored, k.Stored);
        window->Settings.HotKey = stored;
        EXPECT_TRUE(Reverses(k.Key, k.Modifiers));
        EXPECT_TRUE(Reverses(k.Key, k.Modifiers));
        EXPECT_EQ(window->CurrentDictionaryFile, "ENGGER_T");
    }
    // Shift+Tab comes as Backtab; it is Tab with Shift.
    window->Settings.HotKey = 0x2009;
    EXPECT_FALSE(Reverses(Qt::Key_Tab));
    EXPECT_TRUE(Reverses(Qt::Key_Backtab, Qt::ShiftModifier));

    // The speak key is matched the same way: with sounds on a CD not yet named it asks for the drive.
    window->Settings.HotKey = 0;
    window->Settings.hkSpeak = 0x22;
    for (TDictionaryRecord& r : window->DictManager->Records)
        r.SoundSource = 0;
    window->Settings.CDROM.clear();
    ASSERT_GE(window->SoundWordIndex, 0);
    ASSERT_GE(window->SoundBlock, 0);
    bool asked = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        asked = true;
        modal->close();
    });
    EXPECT_FALSE(Reverses(Qt::Key_PageDown));
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked; }, 60000));
}

TEST_F(MainWindowHotKeys, KeypadDigitsStayKeypadDigitsThroughTheSettings)
{
    window->Settings.HotKey = 0x65;  // keypad 5
    EXPECT_FALSE(Reverses(Qt::Key_5));
    EXPECT_EQ(window->cbFind->currentText(), "5");  // typed, as any digit
    EXPECT_TRUE(Reverses(Qt::Key_5, Qt::KeypadModifier));
    window->Settings.HotKey = 0x35;  // the main row's 5
    EXPECT_FALSE(Reverses(Qt::Key_5, Qt::KeypadModifier));

    // Through the settings window and the stored settings and back.
    window->Settings.HotKey = 0x4069;  // Ctrl + keypad 9
    window->Settings.hkSpeak = 0x31;   // 1
    TfInterface form(window.get());
    form.show();
    EXPECT_EQ(form.HotKey->keySequence(),
              QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_9)));
    QTest::mouseClick(form.bOk, Qt::LeftButton);
    TSettings stored;
    LoadSettings(stored);
    EXPECT_EQ(stored.HotKey, 0x4069);
    EXPECT_EQ(stored.hkSpeak, 0x31);
    EXPECT_EQ(ShortCutToText(0x4069), u"Ctrl+Num 9");
}

TEST_F(MainWindowHotKeys, PunctuationKeypadOperatorsAndPauseAreStoredAndFireAndABoxHoldsOneKey)
{
    const TKey keys[] = {
        {Qt::Key_Comma, Qt::ControlModifier, 0x40BC},
        {Qt::Key_Question, Qt::ShiftModifier | Qt::AltModifier, 0xA0BF},  // Shift+/ on the US layout
        {Qt::Key_BracketRight, {}, 0xDD},
        {Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ControlModifier, 0x406A},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Pause, Qt::ShiftModifier, 0x2013},
        {Qt::Key_Udiaeresis, Qt::ControlModifier, 0x40BA},            // German ü, the key of the US ;
        {static_cast<Qt::Key>(0x0419), Qt::ControlModifier, 0x4051},  // Russian Й, the key of Q
    };
    for (const TKey& k : keys) {
        SCOPED_TRACE(QKeySequence(QKeyCombination(k.Modifiers, k.Key)).toString().toStdString());
        TfInterface form(window.get());
        form.show();
        form.HotKey->setFocus();
        QTest::keyClick(form.HotKey, Qt::Key_K, Qt::ControlModifier);  // replaced by the next key
        Click(form.HotKey, k.Key, k.Modifiers);
        EXPECT_EQ(form.HotKey->keySequence().count(), 1);
        QTest::mouseClick(form.bOk, Qt::LeftButton);
        TSettings stored;
        LoadSettings(stored);
        EXPECT_EQ(stored.HotKey, k.Stored);
        EXPECT_TRUE(Reverses(k.Key, k.Modifiers));
    }
}
