#include "tests/app/ListCommandsTestFolder.h"

#include "app/mainwindow/WordListModel.h"
#include "data/tddwriter/TddWriter.h"
#include "engine/DictManager.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "platform/qt/QtText.h"
#include "tests/engine/DictionaryTestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdint>
#include <stdexcept>

namespace ListCommandsTest {

namespace {

std::string Rtf(const std::u16string& word)
{
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs20 " + ToQString(word).toStdString()
        + " article\\par}";
}

void PutInt(std::string& bytes, std::size_t at, std::int64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

void WriteBytes(const QString& fileName, const QByteArray& bytes)
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("not written: " + fileName.toStdString());
}

QByteArray ReadBytes(const QString& fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteLanguageFile(const QString& fileName)
{
    const char* pairs[][2] = {
        {"Title", "Lexora XP"},
        {"MessageCaption", "Lexora"},
        {"OK", "OK"},
        {"Cancel", "Cancel"},
        {"File", "File"},
        {"FromLang", "From:"},
        {"ToLang", "To:"},
        {"ENG", "English"},
        {"GER", "German"},
        {"HelpFile", "ENG"},
        {"MsgSaveList", "The learning list has been changed. Save it?"},
        {"MsgIncorectList", "This learning list belongs to another language pair."},
        {"MsgReplaceFile", "A file of this name already exists. Replace it?"},
        {"MsgFileDamaged", "The file is damaged or is not a file of this kind."},
        {"MsgImportKind", "Only learning lists, user words and user dictionaries can be imported."},
        {"MsgImportFailed", "The file could not be imported."},
    };
    QString text;
    for (const auto& p : pairs)
        text += QString::fromLatin1(p[0]) + "=" + QString::fromUtf8(p[1]) + "\r\n";
    const QByteArray block(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    std::string bytes(4 + 56, '\0');
    PutInt(bytes, 4 + 42, 100, 2);
    PutInt(bytes, 4 + 48, 4 + 56, 4);
    PutInt(bytes, 4 + 52, block.size(), 4);
    bytes.append(block.constData(), static_cast<std::size_t>(block.size()));
    WriteBytes(fileName, QByteArray::fromStdString(bytes));
}

void WriteList(const QString& fileName, const std::string& pair, const std::vector<std::u16string>& words)
{
    QTemporaryDir scratch;
    TLearnDictionary store(scratch.path().toStdString());
    store.SetLanguagePair(pair);
    store.NewList();
    std::int32_t index = 10;
    for (const std::u16string& w : words)
        if (!store.AddWord(index++, w, Rtf(w)))
            throw std::runtime_error("list word not added");
    if (!store.SaveToFile((scratch.path() + "/list.lst").toStdString()))
        throw std::runtime_error("list not saved");
    store.Close();
    WriteBytes(fileName, ReadBytes(scratch.path() + "/list.lst"));
}

void AddMakerDictionary(const QString& programFolder, const std::string& fileName, const std::string& name, int edition,
                        const std::vector<std::u16string>& words)
{
    TddWriter::TTddWriter w;
    w.SetEdition(edition);
    const int a = w.AddSection(u'A');
    for (const std::u16string& word : words)
        w.AddWord(a, word, Rtf(word));
    Dictionary::TDictionaryInfo info;
    info.Name = name;
    info.Description = "Test";
    info.ShellTag = "@X1";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGGER";
    info.FileName = fileName;
    w.SetInfo(info);
    Dictionary::TDescriptionData description;
    description.LetterLinks = u"A,14,";
    w.SetDescription(description);
    const std::string path = (programFolder + "Data/").toStdString() + fileName + ".TDD";
    w.Write(path);
    TDictManager manager((programFolder + "Data/DICTIONARYS.DNT").toStdString());
    if (manager.InstallDictionary(path) != irInstalled)
        throw std::runtime_error("not installed: " + path);
}

QByteArray UserDictionary(const std::vector<std::u16string>& words)
{
    QTemporaryDir scratch;
    const std::string base = (scratch.path() + "/MyWords").toStdString();
    DictionaryTest::WriteFile(
        base + ".UDD",
        DictionaryTest::NewUserDictionary(u"ABC", "01.01#0#1#01.02.2024#My words#Me#@X1#Language#ENGDEU#MyWords#",
                                          u"A,B,C,\r\n"));
    {
        TUserDictionary d(base);
        for (const std::u16string& w : words)
            if (d.AddWord(w, Rtf(w)) != WordResult::Done)
                throw std::runtime_error("user word not added");
    }
    return ReadBytes(QString::fromStdString(base + ".UDD"));
}

QByteArray UserWordsOf(const QString& tddFile, const std::vector<std::u16string>& words)
{
    QTemporaryDir scratch;
    const QString base = scratch.path() + "/" + QFileInfo(tddFile).completeBaseName();
    QFile::copy(tddFile, base + ".TDD");
    {
        TTavorDictionary d(base.toStdString());
        for (const std::u16string& w : words)
            if (d.AddWord(w, Rtf(w)) != WordResult::Done)
                throw std::runtime_error("user word not added");
    }
    return ReadBytes(base + ".TDE");
}

void AnswerFileDialogThen(const QString& path, std::function<void()> then)
{
    TestSupport::AnswerNextModal([path, then](QWidget* w) {
        if (auto edit = w->findChild<QLineEdit*>("fileNameEdit"))
            edit->setText(path);
        if (auto box = w->findChild<QDialogButtonBox*>())
            if (QAbstractButton* open = box->button(QDialogButtonBox::Open))
                QTest::mouseClick(open, Qt::LeftButton);
        if (then)
            then();
    });
}

void TListCommandsFixture::SetUp()
{
    WriteLanguageFile(folder.Path() + "LangItf.lng");
    OpenWindow();
}

void TListCommandsFixture::OpenWindow()
{
    window = std::make_unique<TfLexDictionary>(folder.Path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void TListCommandsFixture::TearDown()
{
    if (window) {
        window->LearnDictionary->Modified = false;  // no question on closing
        window->close();
        window.reset();
    }
}

void TListCommandsFixture::MakeList(const QString& name, const std::string& pair,
                                    const std::vector<std::u16string>& words)
{
    WriteList(folder.Path() + "Learning/" + name, pair, words);
}

QStringList TListCommandsFixture::MenuCaptions()
{
    QMenu* menu = window->PopupMenuList;
    menu->popup(window->bOpenLists->mapToGlobal(QPoint(0, window->bOpenLists->height())));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    QStringList captions;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            captions << a->text();
    return captions;
}

void TListCommandsFixture::ClickMenuItem(const QString& caption)
{
    QMenu* menu = window->PopupMenuList;
    if (!menu->isVisible())
        MenuCaptions();
    for (QAction* a : menu->actions())
        if (a->isVisible() && a->text() == caption) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            return;
        }
    ADD_FAILURE() << "no menu item " << caption.toStdString();
    menu->hide();
}

QStringList LearningListWords(const TfLexDictionary& window)
{
    QStringList words;
    for (int i = 0; i < window.lbList->count(); ++i)
        words << window.lbList->item(i)->text();
    return words;
}

QStringList TListCommandsFixture::ListWords() const
{
    return LearningListWords(*window);
}

QStringList TListCommandsFixture::Words() const
{
    QStringList words;
    for (int i = 0; i < window->WordCount(); ++i)
        words << window->WordsModel->Word(i);
    return words;
}

void TListCommandsFixture::ClickListRow(int row)
{
    QListWidget* list = window->lbList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void TListCommandsFixture::OpenFileMenu()
{
    window->miFile->popup(window->mapToGlobal(QPoint(0, 0)));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window->miFile));
}

void TListCommandsFixture::CloseFileMenu()
{
    window->miFile->hide();
}

void TListCommandsFixture::ChooseDictionary(int index)
{
    QComboBox* to = window->cbTo;
    to->setFocus();
    while (to->currentIndex() < index)
        QTest::keyClick(to, Qt::Key_Down);
    while (to->currentIndex() > index)
        QTest::keyClick(to, Qt::Key_Up);
}

QStringList TListCommandsFixture::DataFiles() const
{
    return QDir(folder.Path() + "Data").entryList(QDir::Files, QDir::Name);
}

}  // namespace ListCommandsTest
