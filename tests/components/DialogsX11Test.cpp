// Under a real window manager (openbox, started here when none runs): the message form has
// no minimise or maximise button, and a help window opens above the full-screen modal window
// that asked for it, whole on the screen.
#include "components/HelpWindow.h"
#include "components/MessageForm.h"
#include "engine/WideStringList.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/qtsupport/WindowManager.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Xprop(const QStringList& args)
{
    QProcess p;
    p.start("xprop", args);
    p.waitForFinished(60000);
    return QString::fromLatin1(p.readAllStandardOutput());
}

// The root names the window manager's check window, which names itself while it lives.
bool WindowManagerRuns()
{
    const QString root = Xprop({"-root", "_NET_SUPPORTING_WM_CHECK"});
    const int at = root.indexOf("window id # ");
    if (at < 0)
        return false;
    const QString id = root.mid(at + 12).trimmed();
    return Xprop({"-id", id, "_NET_SUPPORTING_WM_CHECK"}).contains(id);
}

// Client windows from the bottom of the stack to the top.
QStringList Stacking()
{
    const QString line = Xprop({"-root", "_NET_CLIENT_LIST_STACKING"});
    return line.mid(line.indexOf('#') + 1).simplified().remove(' ').split(',', Qt::SkipEmptyParts);
}

QString Id(const QWidget& w)
{
    return QStringLiteral("0x") + QString::number(w.winId(), 16);
}

class DialogsX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (WindowManagerRuns())
            return;
        wm = std::make_unique<TestSupport::TWindowManager>();
        if (!wm->Start())
            wm.reset();
    }
    static void TearDownTestSuite() { wm.reset(); }
    void SetUp() override
    {
        if (!WindowManagerRuns())
            GTEST_SKIP() << "no window manager (openbox) on this display";
    }
    void TearDown() override { CloseAllHelp(); }

    static inline std::unique_ptr<TestSupport::TWindowManager> wm;
};

TEST_F(DialogsX11, TheMessageFormHasNoMinimiseOrMaximise)
{
    QWidget owner;
    owner.resize(500, 300);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    TWideStringList strings;
    QString actions;
    QRect frame;
    TestSupport::AnswerNextModal([&](QWidget* form) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return Xprop({"-id", Id(*form), "_NET_WM_ALLOWED_ACTIONS"}).contains("CLOSE");
            },
            60000));
        actions = Xprop({"-id", Id(*form), "_NET_WM_ALLOWED_ACTIONS"});
        frame = form->frameGeometry();
        QTest::keyClick(form, Qt::Key_Escape);
    });
    ShowMessageForm(&owner, "x", strings, 0, 1);
    EXPECT_TRUE(actions.contains("_NET_WM_ACTION_CLOSE")) << actions.toStdString();
    EXPECT_FALSE(actions.contains("MINIMIZE")) << actions.toStdString();
    EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
    EXPECT_TRUE(owner.screen()->availableGeometry().contains(frame));
}

TEST_F(DialogsX11, HelpOpensAboveTheFullScreenWindowThatAskedForIt)
{
    QDialog learning;
    learning.setModal(true);
    learning.setWindowState(Qt::WindowMaximized);
    learning.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&learning));
    const TWideStringList strings;
    ASSERT_TRUE(ShowHelpTopic(QStringLiteral(LEXORA_PROGRAM_DIR "/Help/HelpENG.chm::/142.htm"), strings));
    THelpWindow* help = CurrentHelpWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    const auto above = [&] {
        const QStringList stack = Stacking();
        return stack.indexOf(Id(*help)) > stack.indexOf(Id(learning)) && stack.indexOf(Id(learning)) >= 0;
    };
    EXPECT_TRUE(QTest::qWaitFor(above, 60000)) << Stacking().join(' ').toStdString();
    EXPECT_TRUE(help->screen()->availableGeometry().contains(help->frameGeometry()));
}

}  // namespace
