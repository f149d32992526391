// A main window on a test program folder for the list-command and import tests: learning
// lists, maker's dictionaries of other editions, user dictionaries, the interface texts the
// messages are checked by, and the menu and dialog moves a user makes.
#pragma once

#include "app/mainwindow/LexDictionary.h"
#include "tests/app/MainWindowTestFolder.h"
#include "tests/qtsupport/ModalAnswer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ListCommandsTest {

void WriteBytes(const QString& fileName, const QByteArray& bytes);
QByteArray ReadBytes(const QString& fileName);

// An interface-language file with the main window's keys and the messages these tests read.
void WriteLanguageFile(const QString& fileName);

// A learning list of the given pair and words (each word's article names the word).
void WriteList(const QString& fileName, const std::string& pair, const std::vector<std::u16string>& words);

// A maker's dictionary of letter A (the given words) with an edition (0 Talking, 1 Pro,
// 2 Free), installed into the folder's catalogue.
void AddMakerDictionary(const QString& programFolder, const std::string& fileName, const std::string& name, int edition,
                        const std::vector<std::u16string>& words);

// A user dictionary "MyWords" (English, letters A, B, C, learning allowed) with the words.
QByteArray UserDictionary(const std::vector<std::u16string>& words);

// The user-words file (".TDE") that adding the words to a copy of the maker's dictionary
// TddFile makes.
QByteArray UserWordsOf(const QString& tddFile, const std::vector<std::u16string>& words);

// The words of the window's open learning list, as it shows them.
QStringList LearningListWords(const TfLexDictionary& window);

// Answers the next file dialog with Path and then, when Then is set, runs it (to answer a
// window that the accepted dialog leads to).
void AnswerFileDialogThen(const QString& path, std::function<void()> then = {});

class TListCommandsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void OpenWindow();

    void MakeList(const QString& name, const std::string& pair, const std::vector<std::u16string>& words);
    // Opens the list menu and returns the captions of its visible items.
    QStringList MenuCaptions();
    // Opens the list menu and clicks the item with this caption.
    void ClickMenuItem(const QString& caption);
    QStringList ListWords() const;
    QStringList Words() const;  // the word list
    void ClickListRow(int row);
    // Opens the File menu as the user does; it stays open until CloseFileMenu.
    void OpenFileMenu();
    void CloseFileMenu();
    // Chooses the dictionary at Index of the "to" chooser by keyboard.
    void ChooseDictionary(int index);
    QStringList DataFiles() const;

    MainWindowTest::TProgramFolder folder{{MainWindowTest::EnglishGerman(), MainWindowTest::GermanEnglish()}};
    std::unique_ptr<TfLexDictionary> window;
};

}  // namespace ListCommandsTest
