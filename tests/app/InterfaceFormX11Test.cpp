// The settings window on a real X server, in English, German and Russian: on every page each caption
// gets the room it asks for, no button caption runs to its edge, the names of source languages
// and dictionaries stand whole, and no two controls overlap. With LEXORA_SCREENSHOTS set to a
// folder, a picture of every page goes there. Under a window manager, real Escape keys close
// the window from a shortcut box and then hide the main window.
#include "app/InterfaceForm.h"
#include "app/InterfaceLanguage.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "tests/app/InterfaceFormTestSupport.h"
#include "tests/qtsupport/ModalAnswer.h"
#include "tests/qtsupport/WindowManager.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

// Problems of the visible page: captions narrower than they need, siblings that overlap.
QStringList LayoutProblems(QWidget* page)
{
    QStringList problems;
    const QList<QWidget*> widgets = page->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(page) || w->objectName().isEmpty())
            continue;
        const bool captioned = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
        if (captioned && w->width() < w->sizeHint().width())
            problems << QString("%1 cut: %2 < %3").arg(w->objectName()).arg(w->width()).arg(w->sizeHint().width());
        if (auto* b = qobject_cast<QPushButton*>(w);
            b && b->width() < b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 20)
            problems << QString("%1 cramped").arg(w->objectName());
        if (captioned && w->height() < w->sizeHint().height())
            problems << QString("%1 cut in height").arg(w->objectName());
        if (auto* g = qobject_cast<QGroupBox*>(w);
            g && g->width() < g->fontMetrics().horizontalAdvance(g->title()) + 16)
            problems << QString("%1 title cut").arg(w->objectName());
    }
    for (QWidget* a : widgets)
        for (QWidget* b : widgets) {
            if (a >= b || a->parentWidget() != b->parentWidget() || a->objectName().isEmpty()
                || b->objectName().isEmpty() || !a->isVisibleTo(page) || !b->isVisibleTo(page))
                continue;
            if (a->geometry().intersects(b->geometry()))
                problems << QString("%1 overlaps %2").arg(a->objectName(), b->objectName());
        }
    return problems;
}

// Every source language shown, and the dictionaries of each, stand whole.
QStringList CutNames(TfInterface& f)
{
    QStringList cut;
    QListWidget* sources = f.lbDictionarys;
    for (int i = 0; i < sources->count(); ++i) {
        QTest::mouseClick(sources->viewport(), Qt::LeftButton, {}, sources->visualItemRect(sources->item(i)).center());
        if (8 + sources->fontMetrics().horizontalAdvance(sources->item(i)->text()) > sources->viewport()->width())
            cut << sources->item(i)->text();
        for (int column = 0; column < f.ListView1->columnCount(); ++column) {
            const int width = f.ListView1->columnWidth(column);
            f.ListView1->resizeColumnToContents(column);  // what check box, picture and text need
            if (f.ListView1->columnWidth(column) > width)
                cut << QString("column %1 of %2").arg(column).arg(sources->item(i)->text());
            f.ListView1->setColumnWidth(column, width);
        }
    }
    return cut;
}

// The window active, with the X server's keyboard (where xdotool types).
bool Active(QWidget* window)
{
    return QTest::qWaitFor(
        [&] {
            if (!window->isActiveWindow())
                return false;
            QProcess focus;
            focus.start("xdotool", {"getwindowfocus"});
            return focus.waitForFinished(5000) && focus.readAll().trimmed().toULongLong() == window->winId();
        },
        60000);
}

TTestDictionary Renamed(TTestDictionary d, const std::string& file, const std::string& pair, const std::string& kind)
{
    d.FileName = file;
    d.Pair = pair;
    d.KindKey = kind;
    return d;
}

}  // namespace

TEST(InterfaceFormX11, EveryPageFitsItsTextsInEnglishGermanAndRussian)
{
    // Both kinds of general dictionary, whose names are the longest.
    qputenv("LEXORA_ADMIN", "1");
    TProgramFolder folder({EnglishGerman(), GermanEnglish(),
                           Renamed(EnglishGerman(), "ENGFRE_T", "ENGFRE", "TavorLanguage"),
                           Renamed(EnglishGerman(), "GENERAL1", "ENGENG", "TavorGeneral"),
                           Renamed(EnglishGerman(), "MYWORDS1", "ENGENG", "General")});
    WriteRealLanguageFile(folder.Path());
    const QString shots = qEnvironmentVariable("LEXORA_SCREENSHOTS");
    for (const auto& [id, code] : {std::pair<int, const char*>{100, "ENG"}, {101, "GER"}, {102, "RUS"}}) {
        TfLexDictionary main(folder.Path());
        main.InterfaceLanguage = static_cast<std::int16_t>(id);
        LoadInterfaceLanguage(folder.Path().toStdString() + "LangItf.lng", main.InterfaceLanguage, main.LangStrings);
        main.show();
        TfInterface form(&main);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        for (int page = 0; page < form.pcSettings->count(); ++page) {
            form.pcSettings->setCurrentIndex(page);
            QTest::qWait(100);
            QWidget* w = form.pcSettings->widget(page);
            EXPECT_TRUE(form.pcSettings->width() >= form.pcSettings->sizeHint().width());
            const QStringList problems = LayoutProblems(w);
            EXPECT_TRUE(problems.isEmpty()) << code << " page " << page << ": " << problems.join("; ").toStdString();
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                const QPixmap picture = form.screen()->grabWindow(form.winId());
                picture.save(QString("%1/settings-%2-%3.png").arg(shots, code).arg(page));
            }
        }
        form.pcSettings->setCurrentWidget(form.tsDictionarys);
        const QSize size = form.size();
        EXPECT_EQ(CutNames(form).join(", ").toStdString(), "") << code;
        form.bCopy->setText(LangText(main.LangStrings, "CopyToHDD"));  // its other caption
        QTest::qWait(100);
        EXPECT_EQ(LayoutProblems(form.tsDictionarys).join("; ").toStdString(), "") << code;
        EXPECT_EQ(form.size(), size) << code << ": the window keeps its size";
    }
}

TEST(InterfaceFormX11, EscapeInTheShortcutBoxClosesTheWindowAndIsNoShortcutOfTheMainWindow)
{
    TestSupport::TWindowManager manager;
    if (!manager.Start())
        GTEST_SKIP() << "no window manager (openbox) could be started";
    TProgramFolder folder({EnglishGerman(), GermanEnglish()});
    WriteRealLanguageFile(folder.Path());
    TfLexDictionary main(folder.Path());
    main.show();
    ASSERT_TRUE(Active(&main));
    const QString direction = main.CurrentDictionaryFile;
    bool closed = false;
    TestSupport::AnswerNextModal([&](QWidget* modal) {
        auto* form = qobject_cast<TfInterface*>(modal);
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(Active(form));
        form->pcSettings->setCurrentWidget(form->tsTranslation);
        QTest::qWait(100);
        const QPoint box = form->HotKey->mapToGlobal(form->HotKey->rect().center());
        TestSupport::XDo({"mousemove", QString::number(box.x()), QString::number(box.y()), "click", "1"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->HotKey->hasFocus(); }, 60000));
        TestSupport::XDo({"key", "Escape"});
        closed = QTest::qWaitFor([&] { return !form->isVisible(); }, 5000);
        if (!closed)
            QTest::mouseClick(form->bOk, Qt::LeftButton);  // what the box holds is applied
    });
    main.aInterfaceForm->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(main.Settings.HotKey, 0);
    TSettings stored;
    LoadSettings(stored);
    EXPECT_EQ(stored.HotKey, 0);

    ASSERT_TRUE(Active(&main));
    TestSupport::XDo({"key", "Escape"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.isMinimized() || !main.isVisible(); }, 60000));
    EXPECT_EQ(main.CurrentDictionaryFile, direction);
}
