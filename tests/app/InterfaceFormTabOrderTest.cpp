// The settings window with the keyboard: on every page the Tab key goes through the controls
// in the order they are seen, top to bottom and left to right.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/InterfaceFormTestSupport.h"

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

// The named control of Page that holds W (a spin box's edit is named itself); null outside.
QWidget* NamedControl(QWidget* page, QWidget* w)
{
    if (w == nullptr || !page->isAncestorOf(w))
        return nullptr;
    while (w->objectName().isEmpty())
        w = w->parentWidget();
    return w;
}

}  // namespace

TEST(InterfaceFormTabOrder, TabGoesThroughEveryPageAsItIsSeen)
{
    qputenv("LEXORA_ADMIN", "1");
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    SettingsTest::WriteRealLanguageFile(folder.Path());
    // Every box that others depend on is checked, so that every control takes part.
    SettingsTest::StoreSettings(
        [](TSettings& s) { s.ClipTranslate = s.DblClickTranslate = s.Transparent = s.UpdPrx = true; });
    TfLexDictionary main(folder.Path());
    TfInterface f(&main);
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    for (int index = 0; index < f.pcSettings->count(); ++index) {
        f.pcSettings->setCurrentIndex(index);
        QWidget* page = f.pcSettings->widget(index);
        f.pcSettings->tabBar()->setFocus();
        QList<QRect> seen;  // the places of the controls reached, in page coordinates
        QStringList names;
        for (int step = 0; step < 30; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = NamedControl(page, QApplication::focusWidget());
            if (w == nullptr)
                break;
            const QRect here(w->mapTo(page, QPoint(0, 0)), w->size());
            for (int i = 0; i < seen.size(); ++i) {
                const bool above = here.bottom() < seen[i].top();
                const bool leftInRow = here.top() <= seen[i].bottom() && here.right() < seen[i].left();
                EXPECT_FALSE(above || leftInRow) << w->objectName().toStdString() << " after " << names[i].toStdString()
                                                 << " on " << page->objectName().toStdString();
            }
            seen << here;
            names << w->objectName();
        }
        EXPECT_GE(names.size(), 4) << page->objectName().toStdString() << ": " << names.join(' ').toStdString();
    }
}
