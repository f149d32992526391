// The application's guard: an exception escaping an event handler is shown in the message
// form with the error picture, and the program goes on.
#include "app/LexApplication.h"

#include "components/MessageForm.h"
#include "engine/WideStringList.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

QApplication* LexoraMakeTestApplication(int& argc, char** argv)
{
    return new TLexApplication(argc, argv);
}

namespace {

TLexApplication* App()
{
    return qobject_cast<TLexApplication*>(qApp);
}

// Events like the ones the main window receives from other instances.
const QEvent::Type kFail = static_cast<QEvent::Type>(QEvent::User + 60);
const QEvent::Type kFailOdd = static_cast<QEvent::Type>(QEvent::User + 61);
const QEvent::Type kCount = static_cast<QEvent::Type>(QEvent::User + 62);

// A widget whose event handler fails on kFail (a std::exception) and kFailOdd (anything
// else) and counts kCount.
class TFailingWidget : public QWidget {
public:
    int counted = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kFail)
            throw std::runtime_error("Cannot read the dictionary file.");
        if (e->type() == kFailOdd)
            throw 42;
        if (e->type() == kCount) {
            ++counted;
            return true;
        }
        return QWidget::event(e);
    }
};

void Post(QObject* receiver, QEvent::Type type)
{
    QCoreApplication::postEvent(receiver, new QEvent(type));
    QCoreApplication::sendPostedEvents(receiver, type);
}

}  // namespace

TEST(LexApplication, EscapingExceptionIsShownWithTheErrorPictureAndTheProgramGoesOn)
{
    ASSERT_NE(App(), nullptr);
    TFailingWidget w;
    w.show();
    bool errorPicture = false, okOnly = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        auto form = qobject_cast<TfMessage*>(modal);
        ASSERT_NE(form, nullptr);
        errorPicture = form->ImageError->isVisible() && !form->ImageInfo->isVisible();
        okOnly = form->bOk->isVisible() && !form->bYes->isVisible();
        QTest::mouseClick(form->bOk, Qt::LeftButton);
    });
    const int before = App()->CaughtCount();
    Post(&w, kFail);
    EXPECT_EQ(App()->CaughtCount(), before + 1);
    EXPECT_TRUE(TestSupport::LastModalText().contains("Cannot read the dictionary file."));
    EXPECT_TRUE(errorPicture);
    EXPECT_TRUE(okOnly);

    // Still working.
    Post(&w, kCount);
    EXPECT_EQ(w.counted, 1);
}

TEST(LexApplication, AnyThrownValueIsCaught)
{
    TFailingWidget w;
    TestSupport::KeyInNextModal(Qt::Key_Return);
    const int before = App()->CaughtCount();
    Post(&w, kFailOdd);
    EXPECT_EQ(App()->CaughtCount(), before + 1);
    EXPECT_FALSE(TestSupport::LastModalText().isEmpty());
}

TEST(LexApplication, ExceptionFromATimerSlotIsShownWithTheInterfaceStrings)
{
    TWideStringList strings;
    strings.Add(u"MessageCaption=Lexora XP");
    strings.Add(u"OK=Gut");
    App()->SetInterfaceStrings(&strings);
    QString caption, ok;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        auto form = qobject_cast<TfMessage*>(modal);
        caption = form->windowTitle();
        ok = form->bOk->text();
        QTest::keyClick(form->bOk, Qt::Key_Escape);
    });
    bool fired = false;
    QTimer::singleShot(0, [&fired] {
        fired = true;
        throw std::runtime_error("Write error");
    });
    for (int i = 0; i < 100 && !fired; ++i)
        QTest::qWait(10);
    App()->SetInterfaceStrings(nullptr);
    EXPECT_TRUE(fired);
    EXPECT_EQ(caption, "Lexora XP");
    EXPECT_EQ(ok, "Gut");
    EXPECT_TRUE(TestSupport::LastModalText().contains("Write error"));
}

TEST(LexApplication, FailuresWhileAnErrorIsShownDoNotStackWindows)
{
    // A handler that fails again while its first error is still shown.
    TFailingWidget w;
    int modalsSeen = 0;
    bool formStillOnTop = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        ++modalsSeen;
        Post(&w, kFail);
        Post(&w, kFail);
        formStillOnTop = QApplication::activeModalWidget() == modal;
        QTest::keyClick(modal, Qt::Key_Return);
    });
    const int before = App()->CaughtCount();
    Post(&w, kFail);
    EXPECT_EQ(modalsSeen, 1);
    EXPECT_EQ(App()->CaughtCount(), before + 3);
    EXPECT_TRUE(formStillOnTop);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Once the form is gone, the next failure is shown again.
    TestSupport::KeyInNextModal(Qt::Key_Escape);
    Post(&w, kFail);
    EXPECT_EQ(App()->CaughtCount(), before + 4);
}
