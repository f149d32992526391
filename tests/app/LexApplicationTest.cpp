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

// A widget whose key handler fails on "x" and counts every other key.
class TFailingWidget : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_X)
            throw std::runtime_error("Cannot read the dictionary file.");
        if (e->key() == Qt::Key_Y)
            throw 42;
        ++keys;
    }
};

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
    QTest::keyClick(&w, Qt::Key_X);
    EXPECT_EQ(App()->CaughtCount(), before + 1);
    EXPECT_TRUE(TestSupport::LastModalText().contains("Cannot read the dictionary file."));
    EXPECT_TRUE(errorPicture);
    EXPECT_TRUE(okOnly);

    // Still working.
    QTest::keyClick(&w, Qt::Key_A);
    EXPECT_EQ(w.keys, 1);
}

TEST(LexApplication, AnyThrownValueIsCaught)
{
    TFailingWidget w;
    w.show();
    TestSupport::KeyInNextModal(Qt::Key_Return);
    const int before = App()->CaughtCount();
    QTest::keyClick(&w, Qt::Key_Y);
    EXPECT_EQ(App()->CaughtCount(), before + 1);
    EXPECT_FALSE(TestSupport::LastModalText().isEmpty());
}

TEST(LexApplication, ExceptionFromAClickedSlotIsShownWithTheInterfaceStrings)
{
    TWideStringList strings;
    strings.Add(u"MessageCaption=Lexora XP");
    strings.Add(u"OK=Gut");
    App()->SetInterfaceStrings(&strings);
    QPushButton button("Go");
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("Write error"); });
    button.show();
    QString caption, ok;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        auto form = qobject_cast<TfMessage*>(modal);
        caption = form->windowTitle();
        ok = form->bOk->text();
        QTest::keyClick(form->bOk, Qt::Key_Escape);
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    App()->SetInterfaceStrings(nullptr);
    EXPECT_EQ(caption, "Lexora XP");
    EXPECT_EQ(ok, "Gut");
    EXPECT_TRUE(TestSupport::LastModalText().contains("Write error"));
}

TEST(LexApplication, FailuresWhileAnErrorIsShownDoNotStackWindows)
{
    // A handler that fails again while its first error is still shown.
    TFailingWidget w;
    w.show();
    int modalsSeen = 0;
    bool formStillOnTop = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        ++modalsSeen;
        QTest::keyClick(&w, Qt::Key_X);
        QTest::keyClick(&w, Qt::Key_X);
        formStillOnTop = QApplication::activeModalWidget() == modal;
        QTest::keyClick(modal, Qt::Key_Return);
    });
    const int before = App()->CaughtCount();
    QTest::keyClick(&w, Qt::Key_X);
    EXPECT_EQ(modalsSeen, 1);
    EXPECT_EQ(App()->CaughtCount(), before + 3);
    EXPECT_TRUE(formStillOnTop);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Once the form is gone, the next failure is shown again.
    TestSupport::KeyInNextModal(Qt::Key_Escape);
    QTest::keyClick(&w, Qt::Key_X);
    EXPECT_EQ(App()->CaughtCount(), before + 4);
}
