// The settings window with the keyboard: on every page the Tab key goes through the controls
// in the order they are seen, top to bottom and left to right, and reaches each of them.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"

#include <QApplication>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

// The named control of Page that holds W (a spin box's edit is the edit, named itself).
QWidget* NamedControl(QWidget* page, QWidget* w)
{
    if (w == nullptr || !page->isAncestorOf(w))
        return nullptr;
    while (w != nullptr && w != page && w->objectName().isEmpty())
        w = w->parentWidget();
    return w == page ? nullptr : w;
}

QRect OnPage(QWidget* page, QWidget* w)
{
    return QRect(w->mapTo(page, QPoint(0, 0)), w->size());
}

// Controls a user reaches with Tab: named, shown, enabled; of a group of radio buttons only
// the checked one.
QList<QWidget*> Reachable(QWidget* page)
{
    QList<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisibleTo(page) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)
            || w->focusProxy() != nullptr)
            continue;
        if (auto* radio = qobject_cast<QRadioButton*>(w); radio && !radio->isChecked())
            continue;
        controls << w;
    }
    return controls;
}

// The named controls that Tab visits from the page's tab, until focus leaves the page.
QList<QWidget*> TabThrough(TfInterface& f, QWidget* page)
{
    QList<QWidget*> visited;
    f.pcSettings->tabBar()->setFocus();
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* control = NamedControl(page, QApplication::focusWidget());
        if (control == nullptr)
            break;
        visited << control;
    }
    return visited;
}

QString Names(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* w : widgets)
        names << w->objectName();
    return names.join(' ');
}

}  // namespace

TEST(InterfaceFormTabOrder, TabGoesThroughEveryPageAsItIsSeen)
{
    TAdministrator admin;
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    WriteRealLanguageFile(folder.Path());
    WriteDefaultSettings();
    TSettings s;
    LoadSettings(s);
    // Everything that depends on a box enabled, so that every control takes part.
    s.ClipTranslate = s.DblClickTranslate = s.Transparent = s.UpdEnbl = s.UpdPrx = true;
    SaveSettings(s, 0);
    TfLexDictionary main(folder.Path());
    TfInterface f(&main);
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    for (int index = 0; index < f.pcSettings->count(); ++index) {
        f.pcSettings->setCurrentIndex(index);
        QWidget* page = f.pcSettings->widget(index);
        const QList<QWidget*> visited = TabThrough(f, page);
        const std::string order = page->objectName().toStdString() + ": " + Names(visited).toStdString();
        for (QWidget* control : Reachable(page))
            EXPECT_TRUE(visited.contains(control)) << order << " misses " << control->objectName().toStdString();
        for (int i = 0; i < visited.size(); ++i)
            for (int j = i + 1; j < visited.size(); ++j) {
                const QRect before = OnPage(page, visited[i]), after = OnPage(page, visited[j]);
                const bool above = after.bottom() < before.top();
                const bool sameRowLeft = after.top() <= before.bottom() && after.right() < before.left();
                EXPECT_FALSE(above || sameRowLeft) << order << ": " << visited[j]->objectName().toStdString()
                                                   << " comes after " << visited[i]->objectName().toStdString();
            }
    }
}
