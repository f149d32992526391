// "Always on top" on a real X server, with a window manager (openbox) and without one: the
// windows the main window opens come above it (the help window from F1 and from the settings
// window's link, the main window's question, the open-list file dialog, the settings window);
// a help window left open stops staying on top when the settings window turns the setting
// off, and comes back above the main window when it turns it on again.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/HelpWindow.h"
#include "components/MURL.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/components/MPEGPlayerTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/qtsupport/WindowManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace MainWindowTest;

namespace {

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t Root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

xcb_atom_t Atom(const char* name)
{
    xcb_connection_t* c = Connection();
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r != nullptr ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(r);
    return atom;
}

// A property of 32-bit items (windows, atoms).
std::vector<uint32_t> Items(xcb_window_t window, const char* property, xcb_atom_t type)
{
    xcb_connection_t* c = Connection();
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, Atom(property), type, 0, 4096), nullptr);
    std::vector<uint32_t> items;
    if (r != nullptr && r->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(r));
        items.assign(data, data + xcb_get_property_value_length(r) / 4);
    }
    std::free(r);
    return items;
}

// The root names the window manager's check window, which names itself while it lives.
bool WindowManagerRuns()
{
    const std::vector<uint32_t> check = Items(Root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    return !check.empty() && Items(check[0], "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW) == check;
}

// Top-level windows from the bottom of the stack to the top: the window manager's list of
// its clients when one runs, else the root's children.
std::vector<uint32_t> Stacking()
{
    if (WindowManagerRuns())
        return Items(Root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
    xcb_connection_t* c = Connection();
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, Root()), nullptr);
    std::vector<uint32_t> children;
    if (r != nullptr) {
        const xcb_window_t* data = xcb_query_tree_children(r);
        children.assign(data, data + xcb_query_tree_children_length(r));
    }
    std::free(r);
    return children;
}

// The window's X window: the widget's own id may name one the toolkit has replaced since.
uint32_t Id(const QWidget& w)
{
    return static_cast<uint32_t>(w.windowHandle() != nullptr ? w.windowHandle()->winId() : w.winId());
}

bool KeptAbove(const QWidget& w)
{
    const std::vector<uint32_t> state = Items(Id(w), "_NET_WM_STATE", XCB_ATOM_ATOM);
    return std::find(state.begin(), state.end(), Atom("_NET_WM_STATE_ABOVE")) != state.end();
}

// Upper is shown higher in the stack than Lower (waits for the window system to settle).
bool Above(const QWidget& upper, const QWidget& lower)
{
    return QTest::qWaitFor(
        [&] {
            const std::vector<uint32_t> stack = Stacking();
            const auto at = [&](const QWidget& w) {
                return std::find(stack.begin(), stack.end(), Id(w)) - stack.begin();
            };
            const auto size = static_cast<std::ptrdiff_t>(stack.size());
            return upper.isVisible() && at(lower) < size && at(upper) < size && at(upper) > at(lower);
        },
        30000);
}

class StayOnTopX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsTest::WriteRealLanguageFile(folder.Path());
        QDir().mkpath(folder.Path() + "Help");
        ASSERT_TRUE(QFile::copy(PlayerTest::LibraryFolder() + "/Help/HelpENG.chm", folder.Path() + "Help/HelpENG.chm"))
            << "build help_files first";
        SettingsTest::StoreSettings([](TSettings& s) {
            s.StayOnTop = true;
            s.UpdEnbl = false;  // no update check from the network
        });
    }
    void TearDown() override { CloseAllHelp(); }

    // The settings window, answered by Action (which closes it).
    void InSettings(TfLexDictionary& main, const std::function<void(TfInterface&)>& action)
    {
        bool answered = false;
        TestSupport::AnswerNextModal([&](QWidget* w) {
            auto* form = qobject_cast<TfInterface*>(w);
            ASSERT_NE(form, nullptr);
            answered = true;
            action(*form);
            if (form->isVisible())
                form->reject();
        });
        main.aInterfaceFormExecute();
        EXPECT_TRUE(answered);
    }

    void Run()
    {
        const bool framed = WindowManagerRuns();
        TfLexDictionary main(folder.Path());
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        ASSERT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        // F1: the help window has no owner the window manager knows of.
        QTest::keyClick(main.cbFind->lineEdit(), Qt::Key_F1);
        THelpWindow* help = CurrentHelpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(Above(*help, main)) << "help after F1";

        // The main window's question and the open-list file dialog.
        bool questionAbove = false;
        TestSupport::AnswerNextModal([&](QWidget* form) {
            questionAbove = Above(*form, main);
            QTest::keyClick(form, Qt::Key_Escape);
        });
        main.ShowMessageBox(QStringLiteral("Delete?"), 1, 0);
        EXPECT_TRUE(questionAbove) << "question";
        bool dialogAbove = false;
        TestSupport::AnswerNextModal([&](QWidget* dialog) {
            EXPECT_NE(qobject_cast<QFileDialog*>(dialog), nullptr);
            dialogAbove = Above(*dialog, main);
            static_cast<QDialog*>(dialog)->reject();
        });
        main.miOpenList1Click();
        EXPECT_TRUE(dialogAbove) << "file dialog";

        // The settings window and the help its link opens over it.
        InSettings(main, [&](TfInterface& form) {
            EXPECT_TRUE(Above(form, main)) << "settings";
            form.pcSettings->setCurrentWidget(form.tsUpdates);
            // A real click: a window manager gives the help window the front as for the user.
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.urlHelp));
            const QPoint at = form.urlHelp->mapToGlobal(QPoint(10, form.urlHelp->height() / 2));
            ASSERT_TRUE(
                TestSupport::XDo({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}));
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    const THelpWindow* h = CurrentHelpWindow();
                    return h != nullptr && h->parentWidget() == &form && h->isVisible();
                },
                30000));
            THelpWindow* fromSettings = CurrentHelpWindow();
            EXPECT_TRUE(Above(*fromSettings, form)) << "help from the settings";
            EXPECT_TRUE(Above(*fromSettings, main)) << "help from the settings";
        });

        // A help window open while the setting goes off and on again (the help window of the
        // settings window closed with it).
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(main.cbFind->lineEdit(), Qt::Key_F1);
        help = CurrentHelpWindow();
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(Above(*help, main));
        InSettings(main, [](TfInterface& form) {
            QTest::mouseClick(form.cbStayOnTop, Qt::LeftButton, {}, QPoint(6, form.cbStayOnTop->height() / 2));
            QTest::mouseClick(form.bOk, Qt::LeftButton);
        });
        ASSERT_FALSE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        if (framed) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !KeptAbove(*help); }, 30000))
                << "the help window stays on top of other programs";
        }
        // Shown again with its new flags, the main window comes to the front.
        ASSERT_TRUE(Above(main, *help));
        InSettings(main, [](TfInterface& form) {
            QTest::mouseClick(form.cbStayOnTop, Qt::LeftButton, {}, QPoint(6, form.cbStayOnTop->height() / 2));
            QTest::mouseClick(form.bOk, Qt::LeftButton);
        });
        ASSERT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(Above(*help, main)) << "help after the setting came back";
        QTest::qWait(500);  // and once the main window has been made active again
        EXPECT_TRUE(Above(*help, main)) << "help after the setting came back";
        if (framed) {
            EXPECT_TRUE(KeptAbove(*help));
        }
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
};

}  // namespace

TEST_F(StayOnTopX11, WithoutAWindowManagerTheOpenedWindowsComeAboveTheMainWindow)
{
    if (WindowManagerRuns())
        GTEST_SKIP() << "a window manager runs on this display";
    Run();
}

TEST_F(StayOnTopX11, UnderOpenboxTheOpenedWindowsComeAboveTheMainWindow)
{
    TestSupport::TWindowManager manager;
    if (!manager.Start())
        GTEST_SKIP() << "no window manager (openbox) could be started";
    Run();
}
