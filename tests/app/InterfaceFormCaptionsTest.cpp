// The settings window in English, German and Russian: every caption it shows stands whole and
// with room to spare: labels, check boxes, buttons, group titles, tabs, the source languages and
// the dictionaries with their column titles.
#include "app/InterfaceForm.h"
#include "app/Settings.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "tests/app/InterfaceFormTestSupport.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace MainWindowTest;
using namespace SettingsTest;

namespace {

// Free room a button leaves beside its caption, on each side, at the least.
constexpr int kButtonRoom = 10;

TTestDictionary Renamed(TTestDictionary d, const std::string& file, const std::string& pair, const std::string& kind)
{
    d.FileName = file;
    d.Pair = pair;
    d.KindKey = kind;
    return d;
}

// Every source language the catalogue knows and both kinds of general dictionary, whose
// names are the longest.
std::vector<TTestDictionary> ManyDictionaries()
{
    return {EnglishGerman(),
            GermanEnglish(),
            Renamed(EnglishGerman(), "ENGFRE_T", "ENGFRE", "TavorLanguage"),
            Renamed(EnglishGerman(), "ENGRUS_T", "ENGRUS", "TavorLanguage"),
            Renamed(EnglishGerman(), "GENERAL1", "ENGENG", "TavorGeneral"),
            Renamed(EnglishGerman(), "MYWORDS1", "ENGENG", "General")};
}

QString Plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

// What the visible page shows cut or cramped.
QStringList CutCaptions(QWidget* page)
{
    QStringList cut;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page))
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            if (b->width() < b->sizeHint().width())
                cut << b->objectName() + " cut";
            if (qobject_cast<QPushButton*>(b) && b->width() < fm.horizontalAdvance(Plain(b->text())) + 2 * kButtonRoom)
                cut << b->objectName() + " cramped";
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && l->width() < l->sizeHint().width())
            cut << l->objectName() + " cut";
        if (auto* g = qobject_cast<QGroupBox*>(w); g && g->width() < fm.horizontalAdvance(Plain(g->title())) + 16)
            cut << g->objectName() + " title cut";
    }
    return cut;
}

// What the dictionaries page shows cut for the selected source language.
QStringList CutDictionaries(TfInterface& f)
{
    QStringList cut;
    QListWidget* sources = f.lbDictionarys;
    for (int i = 0; i < sources->count(); ++i) {
        const QString text = sources->item(i)->text();
        if (8 + sources->fontMetrics().horizontalAdvance(text) > sources->viewport()->width())
            cut << "source " + text;
    }
    QTreeWidget* rows = f.ListView1;
    for (int column = 0; column < rows->columnCount(); ++column) {
        const int width = rows->columnWidth(column);
        rows->resizeColumnToContents(column);  // what the check box, picture and text need
        if (rows->columnWidth(column) > width)
            cut << QString("column %1 of %2").arg(column).arg(sources->currentItem()->text());
        rows->setColumnWidth(column, width);
    }
    return cut;
}

}  // namespace

TEST(InterfaceFormCaptions, EveryCaptionStandsWholeInEveryLanguage)
{
    TAdministrator admin;
    for (const int language : {100, 101, 102}) {
        TProgramFolder folder(ManyDictionaries());
        WriteRealLanguageFile(folder.Path());
        WriteDefaultSettings();
        TSettings s;
        LoadSettings(s);
        s.Language = language;
        SaveSettings(s, 0);
        TfLexDictionary main(folder.Path());
        TfInterface f(&main);
        f.show();
        const QSize size = f.size();
        QStringList cut;
        for (int page = 0; page < f.pcSettings->count(); ++page) {
            f.pcSettings->setCurrentIndex(page);
            QApplication::processEvents();
            cut << CutCaptions(f.pcSettings->widget(page));
        }
        if (f.pcSettings->width() < f.pcSettings->tabBar()->sizeHint().width())
            cut << "tabs";

        f.pcSettings->setCurrentWidget(f.tsDictionarys);
        ASSERT_EQ(f.lbDictionarys->count(), 4);  // English, German, and the two general kinds
        for (int i = 0; i < f.lbDictionarys->count(); ++i) {
            const QRect r = f.lbDictionarys->visualItemRect(f.lbDictionarys->item(i));
            QTest::mouseClick(f.lbDictionarys->viewport(), Qt::LeftButton, {}, r.center());
            ASSERT_GT(f.ListView1->topLevelItemCount(), 0);
            cut << CutDictionaries(f);
        }
        // Either caption of the sound-folder button fits the button as it stands.
        for (const char* key : {"UseCDROM", "CopyToHDD"}) {
            f.bCopy->setText(LangText(main.LangStrings, key));
            QApplication::processEvents();
            cut << CutCaptions(f.tsDictionarys);
        }
        cut.removeDuplicates();
        EXPECT_TRUE(cut.isEmpty()) << language << ": " << cut.join(", ").toStdString();
        EXPECT_EQ(f.size(), size) << language << ": the window keeps its size from page to page";
    }
}
