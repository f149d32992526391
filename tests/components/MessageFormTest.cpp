// The message form: results of its buttons and keys, title-bar closing, texts from the
// interface strings, pictures and the fixed layout.
#include "components/MessageForm.h"

#include "engine/WideStringList.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

const TWideStringList& Strings()
{
    static TWideStringList s;
    if (s.GetCount() == 0) {
        s.Add(u"MessageCaption=Lexora XP");
        s.Add(u"OK=Ja");
        s.Add(u"Cancel=Nein");
    }
    return s;
}

// Shows the form and lets Answer act on it once it is up.
int ShowAndAnswer(int buttons, int icon, std::function<void(TfMessage*)> answer, const QString& text = "Text")
{
    TestSupport::AnswerNextModal([answer](QWidget* w) {
        auto form = qobject_cast<TfMessage*>(w);
        ASSERT_NE(form, nullptr);
        answer(form);
    });
    return ShowMessageForm(nullptr, text, Strings(), buttons, icon);
}

// A key as the user types it: to whatever has the focus in the form.
void Press(TfMessage* form, Qt::Key key)
{
    QWidget* target = form->focusWidget() ? form->focusWidget() : form;
    QTest::keyClick(target, key);
}

std::function<void(TfMessage*)> PressKey(Qt::Key key)
{
    return [key](TfMessage* f) { Press(f, key); };
}

// The title bar's close button: a close request from the window system.
void CloseByTitleBar(TfMessage* form)
{
    form->windowHandle()->close();
}

}  // namespace

TEST(MessageForm, OneButtonEnterAndEscapeBothGiveOk)
{
    EXPECT_EQ(ShowAndAnswer(0, 1, PressKey(Qt::Key_Return)), 1);
    EXPECT_EQ(ShowAndAnswer(0, 1, PressKey(Qt::Key_Enter)), 1);
    EXPECT_EQ(ShowAndAnswer(0, 1, PressKey(Qt::Key_Escape)), 1);
    EXPECT_EQ(ShowAndAnswer(0, 1, [](TfMessage* f) { QTest::mouseClick(f->bOk, Qt::LeftButton); }), 1);
}

TEST(MessageForm, TwoButtonsEnterGivesYesEscapeGivesNo)
{
    EXPECT_EQ(ShowAndAnswer(1, 0, PressKey(Qt::Key_Return)), 6);
    EXPECT_EQ(ShowAndAnswer(1, 0, PressKey(Qt::Key_Escape)), 7);
    EXPECT_EQ(ShowAndAnswer(1, 0, [](TfMessage* f) { QTest::mouseClick(f->bYes, Qt::LeftButton); }), 6);
    EXPECT_EQ(ShowAndAnswer(1, 0, [](TfMessage* f) { QTest::mouseClick(f->bNo, Qt::LeftButton); }), 7);
}

TEST(MessageForm, KeysReachTheFormBeforeTheFocusedButton)
{
    // Enter on a focused No still means Yes; Escape on a focused Yes still means No.
    EXPECT_EQ(ShowAndAnswer(1, 0,
                            [](TfMessage* f) {
                                f->bNo->setFocus();
                                QTest::keyClick(f->bNo, Qt::Key_Return);
                            }),
              6);
    EXPECT_EQ(ShowAndAnswer(1, 0,
                            [](TfMessage* f) {
                                f->bYes->setFocus();
                                QTest::keyClick(f->bYes, Qt::Key_Escape);
                            }),
              7);
    // Space still presses the focused button.
    EXPECT_EQ(ShowAndAnswer(1, 0,
                            [](TfMessage* f) {
                                f->bNo->setFocus();
                                QTest::keyClick(f->bNo, Qt::Key_Space);
                            }),
              7);
}

TEST(MessageForm, WithoutButtonsOnlyKeysAndTheTitleBarClose)
{
    bool noButton = false;
    EXPECT_EQ(ShowAndAnswer(5, 0,
                            [&](TfMessage* f) {
                                noButton = f->bOk->isHidden() && f->bYes->isHidden() && f->bNo->isHidden();
                                Press(f, Qt::Key_Return);
                            }),
              6);
    EXPECT_TRUE(noButton);
    EXPECT_EQ(ShowAndAnswer(5, 0, PressKey(Qt::Key_Escape)), 7);
    EXPECT_EQ(ShowAndAnswer(5, 0, CloseByTitleBar), 2);
    // Other keys leave the form open.
    EXPECT_EQ(ShowAndAnswer(5, 0,
                            [](TfMessage* f) {
                                Press(f, Qt::Key_A);
                                Press(f, Qt::Key_Space);
                                EXPECT_TRUE(f->isVisible());
                                Press(f, Qt::Key_Escape);
                            }),
              7);
}

TEST(MessageForm, ClosingByTheTitleBarGivesTwo)
{
    EXPECT_EQ(ShowAndAnswer(0, 1, CloseByTitleBar), 2);
    EXPECT_EQ(ShowAndAnswer(1, 0, CloseByTitleBar), 2);
}

TEST(MessageForm, TextsComeFromTheInterfaceStrings)
{
    QString caption, message, yes, no;
    bool okHidden = false;
    ShowAndAnswer(
        1, 0,
        [&](TfMessage* f) {
            caption = f->windowTitle();
            message = f->lMessage->text();
            yes = f->bYes->text();
            no = f->bNo->text();
            okHidden = f->bOk->isHidden();
            Press(f, Qt::Key_Escape);
        },
        "Delete the word?");
    EXPECT_EQ(caption, "Lexora XP");
    EXPECT_EQ(message, "Delete the word?");
    EXPECT_EQ(yes, "Ja");
    EXPECT_EQ(no, "Nein");
    EXPECT_TRUE(okHidden);

    // A key the strings lack gives an empty text.
    TWideStringList empty;
    TestSupport::AnswerNextModal([&](QWidget* w) {
        auto f = qobject_cast<TfMessage*>(w);
        caption = f->windowTitle();
        yes = f->bOk->text();
        Press(f, Qt::Key_Return);
    });
    EXPECT_EQ(ShowMessageForm(nullptr, "x", empty, 0, 1), 1);
    EXPECT_TRUE(caption.isEmpty());
    EXPECT_TRUE(yes.isEmpty());
}

TEST(MessageForm, OnePictureForEachIconValue)
{
    const char* names[] = {"ImageQuestion", "ImageInfo", "ImageError"};
    for (int icon : {0, 1, 2, 3, 255}) {
        QStringList shown;
        ShowAndAnswer(0, icon, [&](TfMessage* f) {
            for (const char* n : names) {
                auto picture = f->findChild<QLabel*>(n);
                ASSERT_NE(picture, nullptr) << n;
                EXPECT_EQ(picture->geometry(), QRect(24, 18, 32, 32));
                EXPECT_FALSE(picture->pixmap().isNull());
                if (picture->isVisible())
                    shown << n;
            }
            Press(f, Qt::Key_Return);
        });
        if (icon <= 2)
            EXPECT_EQ(shown, QStringList{names[icon]}) << icon;
        else
            EXPECT_TRUE(shown.isEmpty()) << icon;
    }
}

TEST(MessageForm, FixedLayoutOnTopAndCentred)
{
    const QString longText = QString("A long message that goes on and on. ").repeated(20);
    QSize size;
    QRect label, ok, yes, no;
    bool onTop = false, wraps = false, plain = false;
    QPoint centre;
    ShowAndAnswer(
        0, 2,
        [&](TfMessage* f) {
            size = f->size();
            label = f->lMessage->geometry();
            ok = f->bOk->geometry();
            yes = f->bYes->geometry();
            no = f->bNo->geometry();
            onTop = f->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            wraps = f->lMessage->wordWrap();
            plain = f->lMessage->textFormat() == Qt::PlainText;
            centre = f->frameGeometry().center();
            Press(f, Qt::Key_Return);
        },
        longText);
    EXPECT_EQ(size, QSize(378, 107));  // the long text does not grow the window
    EXPECT_EQ(label, QRect(64, 24, 305, 43));
    EXPECT_EQ(ok, QRect(146, 67, 72, 25));
    EXPECT_EQ(yes, QRect(222, 67, 72, 25));
    EXPECT_EQ(no, QRect(296, 67, 72, 25));
    EXPECT_TRUE(onTop);
    EXPECT_TRUE(wraps);
    EXPECT_TRUE(plain);  // "<b>" in a message is shown as typed
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 30);  // the frame is not known before showing
}

TEST(MessageForm, FreedWhenItsOwnerGoesAwayWhileShowing)
{
    auto owner = new QWidget;
    TestSupport::AnswerNextModal([&](QWidget*) { delete owner; });
    EXPECT_EQ(ShowMessageForm(owner, "x", Strings(), 0, 0), 2);
}

TEST(MessageForm, OpensCentredOnItsOwnerInsideTheScreenWithoutMinimiseOrMaximise)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.left() + 30, area.top() + 40, 500, 300);
    owner.show();
    QPoint centre;
    Qt::WindowFlags flags;
    TestSupport::AnswerNextModal([&](QWidget* w) {
        centre = w->frameGeometry().center();
        flags = w->windowFlags();
        Press(static_cast<TfMessage*>(w), Qt::Key_Return);
    });
    ShowMessageForm(&owner, "x", Strings(), 0, 1);
    EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));  // the window manager adds no buttons of its own
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    // An owner at the screen's corner: the form stays whole on the screen.
    owner.move(area.right() - 100, area.bottom() - 50);
    QRect frame;
    TestSupport::AnswerNextModal([&](QWidget* w) {
        frame = w->frameGeometry();
        Press(static_cast<TfMessage*>(w), Qt::Key_Return);
    });
    ShowMessageForm(&owner, "x", Strings(), 0, 1);
    EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y();

    // Asked for by the owner while a window of its own covers it (the full-screen learning
    // window): over that window, where the user looks.
    QDialog learning(&owner);
    learning.setGeometry(area.adjusted(0, 0, -area.width() / 3, 0));
    learning.show();
    QApplication::setActiveWindow(&learning);
    TestSupport::AnswerNextModal([&](QWidget* w) {
        centre = w->frameGeometry().center();
        Press(static_cast<TfMessage*>(w), Qt::Key_Return);
    });
    ShowMessageForm(&owner, "x", Strings(), 0, 1);
    EXPECT_LE((centre - learning.frameGeometry().center()).manhattanLength(), 2);
}

TEST(MessageForm, AKeyHeldSinceBeforeTheFormShowedDoesNotAnswerIt)
{
    bool openAfterRepeat = false;
    EXPECT_EQ(ShowAndAnswer(1, 0,
                            [&](TfMessage* f) {
                                QWidget* target = f->focusWidget() ? f->focusWidget() : f;
                                QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
                                QApplication::sendEvent(target, &repeat);
                                openAfterRepeat = f->isVisible();
                                Press(f, Qt::Key_Return);
                            }),
              6);
    EXPECT_TRUE(openAfterRepeat);
}
