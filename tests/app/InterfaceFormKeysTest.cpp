// The settings window's keys as a user presses them, on the control that has the keyboard:
// Escape closes the window from every control as Cancel does and is no shortcut, and the
// number boxes stop at their limits with the limit shown.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

constexpr TShortCut kCtrlR = 0x4052;

struct TKeysWindow {
    TProgramFolder Folder{{EnglishGerman(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> Main;
    std::unique_ptr<TfInterface> Form;

    explicit TKeysWindow(const std::function<void(TSettings&)>& stored)
    {
        WriteRealLanguageFile(Folder.Path());
        StoreSettings(stored);
        Main = std::make_unique<TfLexDictionary>(Folder.Path());
        Main->show();
    }
    TfInterface& Open()
    {
        Form = std::make_unique<TfInterface>(Main.get());
        Form->show();
        Activate();
        return *Form;
    }
    // Active again after a message: this platform gives the keyboard back to no window.
    void Activate()
    {
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get(), 60000));
    }
    // Gives Control the keyboard, on its page.
    void Focus(QWidget* control, QWidget* page)
    {
        Form->pcSettings->setCurrentWidget(page);
        control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return control->hasFocus(); }, 60000));
    }
};

// A key pressed where the keyboard is.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
}

void Type(const QString& text)
{
    for (const QChar c : text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, c.toLatin1());
    }
}

}  // namespace

TEST(InterfaceFormKeys, EscapeClosesFromEveryControlAsCancelAndIsNeverStoredAsAShortcut)
{
    TKeysWindow t([](TSettings& s) {
        s.HotKey = kCtrlR;
        s.EveryKey = false;
    });
    const auto controls = [&](TfInterface& f) {
        return std::vector<std::pair<QWidget*, QWidget*>>{{f.HotKey, f.tsTranslation},  {f.hkSpeak, f.tsTranslation},
                                                          {f.cbLangs, f.tsGeneral},     {f.cbStayOnTop, f.tsGeneral},
                                                          {f.UpDown1, f.tsTranslation}, {f.ListView1, f.tsDictionarys},
                                                          {f.UpDownDays, f.tsUpdates},  {f.bOk, f.tsUpdates}};
    };
    const std::size_t count = controls(t.Open()).size();
    for (std::size_t i = 0; i < count; ++i) {
        TfInterface& f = t.Open();
        const auto [control, page] = controls(f)[i];
        SCOPED_TRACE(control->objectName().toStdString());
        f.cbEveryKey->setChecked(true);  // changed, and Cancelled by the Escape
        t.Focus(control, page);
        Press(Qt::Key_Escape);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.result(), QDialog::Rejected);
        EXPECT_FALSE(t.Main->Settings.EveryKey);
        EXPECT_EQ(t.Main->Settings.HotKey, kCtrlR);
    }

    // An open drop-down list takes its Escape first; then the window's goes.
    TfInterface& f = t.Open();
    t.Focus(f.cbLangs, f.tsGeneral);
    f.cbLangs->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 60000));
    QWidget* popup = QApplication::activePopupWidget();
    QTest::keyClick(popup->focusWidget() != nullptr ? popup->focusWidget() : popup, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 60000));
    EXPECT_TRUE(f.isVisible());
    // While a sound folder is copied the window stays.
    f.CanClose = false;
    t.Focus(f.HotKey, f.tsTranslation);
    Press(Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.HotKey->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_R));
    f.CanClose = true;
    // Escape in a message closes only the message.
    t.Focus(f.UpDown1, f.tsTranslation);
    Press(Qt::Key_End);
    TestSupport::KeyInNextModal(Qt::Key_Escape);
    Type("99");  // 1099
    EXPECT_TRUE(f.isVisible());
    t.Activate();
    Press(Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());

    // A stored Esc, from settings saved before, is no key: Escape hides the main window.
    t.Form.reset();
    t.Main.reset();
    for (const TShortCut stored : {TShortCut(0x401B), TShortCut(0x1B)}) {
        StoreSettings([&](TSettings& s) {
            s.HotKey = stored;
            s.hkSpeak = stored;
        });
        TSettings loaded;
        LoadSettings(loaded);
        EXPECT_EQ(loaded.HotKey, 0);
        EXPECT_EQ(loaded.hkSpeak, 0);
    }
    t.Main = std::make_unique<TfLexDictionary>(t.Folder.Path());
    t.Main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.Main.get(), 60000));
    const QString direction = t.Main->CurrentDictionaryFile;
    t.Main->cbFind->setFocus();
    Press(Qt::Key_Escape);
    EXPECT_TRUE(t.Main->isMinimized() || !t.Main->isVisible());
    EXPECT_EQ(t.Main->CurrentDictionaryFile, direction);
}

TEST(InterfaceFormKeys, TypedNumbersStopAtTheLimitWhichTheBoxesThenShow)
{
    TKeysWindow t([](TSettings& s) {
        s.ClipTranslate = true;
        s.DelicateTime = 10;
        s.UpdEnbl = true;
        s.UpdPrx = true;
        s.UpdCnt = 7;
    });
    TfInterface& f = t.Open();
    EXPECT_EQ(f.UpDown1->minimum(), 5);
    EXPECT_EQ(f.UpDown1->maximum(), 180);
    EXPECT_EQ(f.UpDownDays->minimum(), 1);
    EXPECT_EQ(f.UpDownDays->maximum(), 30);

    // Any message comes to light here, also one that should not come.
    int messages = 0;
    const auto answer = [&] {
        TestSupport::AnswerNextModal([&](QWidget* modal) {
            ++messages;
            QTest::keyClick(modal->focusWidget() != nullptr ? modal->focusWidget() : modal, Qt::Key_Return);
        });
    };
    answer();
    t.Focus(f.UpDown1, f.tsTranslation);  // the number selected, as Tab leaves it
    Type("18x-");
    EXPECT_EQ(f.eDelicateTime->text(), "18");
    Type("0");  // 180 itself is allowed
    EXPECT_EQ(f.eDelicateTime->text(), "180");
    EXPECT_EQ(messages, 0);
    Press(Qt::Key_Backspace);
    Type("1");  // 181
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(TestSupport::LastModalText(), LangText(t.Main->LangStrings, "MaxDelicateTime"));
    EXPECT_EQ(f.eDelicateTime->text(), "180");
    EXPECT_EQ(f.UpDown1->value(), 180);
    // The box keeps the keyboard of its window and goes on typing.
    EXPECT_EQ(f.focusWidget(), f.UpDown1);
    t.Activate();
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Type("5");
    EXPECT_EQ(f.eDelicateTime->text(), "15");
    EXPECT_EQ(f.UpDown1->value(), 15);

    // Days: a digit put before the number makes 30 when either way round it is more.
    t.Focus(f.UpDownDays, f.tsUpdates);
    Press(Qt::Key_Home);
    Type("4");  // 47
    EXPECT_EQ(f.eDays->text(), "30");
    EXPECT_EQ(f.UpDownDays->value(), 30);
    f.UpDownDays->setValue(2);
    Press(Qt::Key_Home);
    Type("1");  // 12, but 21 would be within too
    EXPECT_EQ(f.eDays->text(), "12");
    Type("a");
    EXPECT_EQ(f.eDays->text(), "12");

    // The port takes five digits.
    t.Focus(f.ePort, f.tsUpdates);
    Type("123x456");
    EXPECT_EQ(f.ePort->text(), "12345");
    EXPECT_EQ(messages, 1);

    QTest::mouseClick(f.bOk, Qt::LeftButton);
    EXPECT_EQ(t.Main->Settings.DelicateTime, 15);
    EXPECT_EQ(t.Main->Settings.UpdCnt, 12);
    EXPECT_EQ(t.Main->Settings.UpdPrxPrt, 12345);
}
