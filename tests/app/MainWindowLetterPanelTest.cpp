// The main window's letter panel when the learning list leaves it little room: both rows of
// letter links stay inside it, clear of its close button and of each other, in a smaller font
// if they must, and come back as designed when the panel is wide again.
#include "app/mainwindow/LexDictionary.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "components/ShapeButton.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QAction>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace MainWindowTest;

namespace {

class MainWindowLetterPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TfLexDictionary>(folder.Path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        for (TMURL* link : window->mbAlphabet->findChildren<TMURL*>())
            rows[link->y()] << link;
        for (auto& [top, row] : rows)
            std::sort(row.begin(), row.end(), [](TMURL* a, TMURL* b) { return a->x() < b->x(); });
        ASSERT_EQ(rows[2].size(), 26);
        ASSERT_EQ(rows[19].size(), 26);
    }

    void OpenNewList()
    {
        QTest::keyClick(window->cbFind, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->pList->isVisible(); }, 60000));
        QTest::qWait(20);
    }

    // Every link shown, inside the panel, left of the close button, none over another.
    void ExpectAllLinksFit(const char* when)
    {
        const QRect panel = window->mbAlphabet->rect();
        const QRect close = window->ShapeButton1->geometry();
        for (const QList<TMURL*>& row : {rows[2], rows[19]}) {
            for (int i = 0; i < row.size(); ++i) {
                const QString name = row[i]->text();
                EXPECT_TRUE(row[i]->isVisible()) << when << " " << name.toStdString();
                EXPECT_TRUE(panel.contains(row[i]->geometry())) << when << " " << name.toStdString();
                EXPECT_LT(row[i]->geometry().right(), close.left()) << when << " " << name.toStdString();
                EXPECT_FALSE(row[i]->geometry().intersects(close)) << when << " " << name.toStdString();
                if (i > 0) {
                    EXPECT_FALSE(row[i]->geometry().intersects(row[i - 1]->geometry()))
                        << when << " " << name.toStdString();
                }
            }
        }
    }

    static TTestDictionary WithFullRows()
    {
        TTestDictionary d = EnglishGerman();
        d.LetterLinks.clear();
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            d.LetterLinks += std::u16string(1, c) + u",14,";
        d.CharacterLinks.clear();
        for (const char16_t c : std::u16string(u"äöüßàáâãåçèéêëìíîïñòóôõùúû"))
            d.CharacterLinks += std::u16string(1, c) + u",13,";
        return d;
    }

    TProgramFolder folder{{WithFullRows(), GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
    std::map<int, QList<TMURL*>> rows;
};

}  // namespace

TEST_F(MainWindowLetterPanel, ListOpenInTheDefaultWindowKeepsEveryLinkInsideTheNarrowPanel)
{
    ASSERT_EQ(window->width(), 550);
    ExpectAllLinksFit("without the list");

    OpenNewList();
    ASSERT_EQ(window->width(), 550);
    ExpectAllLinksFit("with the list open");
    EXPECT_LT(rows[2].last()->font().pointSize(), 10);  // the letters had to get smaller
    EXPECT_GE(rows[2].last()->font().pointSize(), 6);

    // Too narrow even for the smallest font: the first links stay, the last ones that would
    // reach the close button are hidden.
    window->resize(window->minimumSizeHint().width(), window->height());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !rows[2].last()->isVisible(); }, 60000));
    const int room = window->ShapeButton1->x();
    for (const QList<TMURL*>& row : {rows[2], rows[19]}) {
        EXPECT_TRUE(row.first()->isVisible());
        bool hiding = false;
        for (TMURL* link : row) {
            EXPECT_GE(link->font().pointSize(), 6);
            hiding = hiding || !link->isVisible();
            EXPECT_EQ(link->isVisible(), !hiding) << link->text().toStdString();
            if (link->isVisible()) {
                EXPECT_LT(link->geometry().right(), room) << link->text().toStdString();
            }
        }
    }

    // Wide again: the designed fonts and the dictionary's own spacing (14 and 13 pixels).
    window->resize(1000, window->height());
    QTest::qWait(20);
    ExpectAllLinksFit("in a wide window");
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(rows[2][i]->font().pointSize(), 10);
        EXPECT_EQ(rows[2][i]->pos(), QPoint(4 + 14 * (i + 1), 2)) << i;
        EXPECT_EQ(rows[19][i]->font().pointSize(), 11);
        EXPECT_EQ(rows[19][i]->pos(), QPoint(4 + 13 * (i + 1), 19)) << i;
    }
}

TEST_F(MainWindowLetterPanel, ShrunkenLinksStillSelectTheirLetter)
{
    OpenNewList();
    TMURL* m = nullptr;
    for (TMURL* link : rows[2])
        if (link->text() == "M")
            m = link;
    ASSERT_NE(m, nullptr);
    ASSERT_LT(m->font().pointSize(), 10);
    QTest::mouseClick(m, Qt::LeftButton);
    EXPECT_EQ(window->cbFind->currentText(), "M");
    EXPECT_EQ(window->SelectedWord(), "mouse");

    // A character of the lower row goes into the search box.
    TMURL* umlaut = rows[19].first();
    window->cbFind->setEditText("");
    QTest::mouseClick(umlaut, Qt::LeftButton);
    EXPECT_EQ(window->cbFind->currentText(), umlaut->text());
}
