// The search history: one file per dictionary in UTF-16LE with a byte-order mark, so words of
// any script come back as typed, under a file name that stays inside the history folder.
#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace MainWindowTest;

namespace {

class HistoryTest : public ::testing::Test {
protected:
    std::unique_ptr<TfLexDictionary> Open()
    {
        auto w = std::make_unique<TfLexDictionary>(folder.Path());
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    // Types a text of any script into the search box and presses Enter.
    static void Search(TfLexDictionary& w, const QString& text)
    {
        w.cbFind->setFocus();
        w.cbFind->lineEdit()->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(w.cbFind->lineEdit(), &press);
        }
        QTest::keyClick(w.cbFind, Qt::Key_Return);
    }

    static QStringList Items(const TfLexDictionary& w)
    {
        QStringList items;
        for (int i = 0; i < w.cbFind->count(); ++i)
            items << w.cbFind->itemText(i);
        return items;
    }

    TProgramFolder folder{{EnglishGerman(), GermanEnglish()}};
};

TEST_F(HistoryTest, WordsOutsideTheCodePageComeBackAsTyped)
{
    const QString russian = QString::fromUtf8("мышь");
    const QString chinese = QString::fromUtf8("字典");
    {
        auto w = Open();
        Search(*w, "house");
        Search(*w, russian);
        Search(*w, chinese);
        EXPECT_EQ(Items(*w), QStringList({"house", russian, chinese}));
        w->close();
    }
    QFile file(folder.Path() + "History/ENGGER_T.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    EXPECT_EQ(text, "house\r\n" + russian + "\r\n" + chinese + "\r\n");
    EXPECT_FALSE(bytes.contains('?'));

    auto again = Open();
    EXPECT_EQ(Items(*again), QStringList({"house", russian, chinese}));
    EXPECT_TRUE(again->cbFind->currentText().isEmpty());
}

TEST_F(HistoryTest, EachDictionaryKeepsItsOwn)
{
    auto w = Open();
    Search(*w, "hat");
    w->SaveHistory();
    w->CurrentDictionaryFile = "GERENG_T";
    w->LoadHistory(false);
    EXPECT_TRUE(Items(*w).isEmpty());
    w->CurrentDictionaryFile = "ENGGER_T";
    w->LoadHistory(false);
    EXPECT_EQ(Items(*w), QStringList({"hat"}));
}

TEST_F(HistoryTest, TheFileNameStaysInTheHistoryFolder)
{
    auto w = Open();
    const QString history = folder.Path() + "History/";
    for (const QString& name : {QString("../../evil"), QString("a/b\\c:d"), QString(".hidden"), QString("..")}) {
        w->CurrentDictionaryFile = name;
        const QString file = w->HistoryFileName();
        ASSERT_TRUE(file.startsWith(history)) << file.toStdString();
        const QString rest = file.mid(history.size());
        EXPECT_FALSE(rest.contains('/')) << rest.toStdString();
        EXPECT_FALSE(rest.startsWith('.')) << rest.toStdString();
    }
    w->CurrentDictionaryFile = "../escape";
    Search(*w, "hat");
    w->SaveHistory();
    EXPECT_FALSE(QFile::exists(folder.Path() + "escape.txt"));
    EXPECT_EQ(QDir(history).entryList(QDir::Files).size(), 1);
    w->CurrentDictionaryFile.clear();  // no name: no history file
    EXPECT_TRUE(w->HistoryFileName().isEmpty());
    w->CurrentDictionaryFile = "ENGGER_T";
}

TEST_F(HistoryTest, ADamagedHistoryFileLoadsWhatItCan)
{
    QDir().mkpath(folder.Path() + "History");
    QFile file(folder.Path() + "History/ENGGER_T.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\xFF\xFE"
                          "h\0a\0t\0\r\0\n\0x",
                          13));  // an odd byte at the end
    file.close();
    auto w = Open();
    EXPECT_TRUE(Items(*w).size() <= 1);
}

TEST_F(HistoryTest, UsersWithoutAdministratorRightsKeepNone)
{
    qputenv("LEXORA_ADMIN", "0");
    {
        auto w = Open();
        Search(*w, "hat");
        w->close();
    }
    qputenv("LEXORA_ADMIN", "1");
    EXPECT_FALSE(QFile::exists(folder.Path() + "History/ENGGER_T.txt"));
}

}  // namespace
