// What the learning window's tests work on: a program folder in a scratch directory with the
// game's pictures (one plain colour each) and answer sounds, a maker's dictionary written by
// the project's writer, a learning list of some of its words, the main window's list panel
// and timer, and interface strings whose texts are their keys.
#pragma once

#include "data/tddwriter/TddWriter.h"
#include "components/MBox.h"
#include "components/MURL.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "engine/WideStringList.h"
#include "platform/Locale.h"
#include "platform/Sound.h"
#include "platform/qt/QtText.h"
#include "tools/windows/Learning.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace LearningTest {

inline std::string Rtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs20 " + body + "\\par}";
}

struct TSection {
    char16_t Letter;
    std::vector<std::pair<std::u16string, std::string>> Words;  // word, article
};

// The colour each picture of Sounds/ is drawn in.
inline QColor PictureColor(const QString& name)
{
    static const QStringList names = {"Hang_1.jpg", "Hang_2.jpg",   "Hang_3.jpg",   "Hang_4.jpg",
                                      "Hang_5.jpg", "Hang_6.jpg",   "Hang_7.jpg",   "Yes.jpg",
                                      "No.jpg",     "Hang_Win.jpg", "LearnBack.jpg"};
    const int i = static_cast<int>(names.indexOf(name));
    return QColor::fromHsv((i * 33) % 360, 255, 200);
}

// The picture a label shows, told by its colour; empty when it shows none.
inline QString ShownPicture(const QLabel* label)
{
    const QPixmap p = label->pixmap();
    if (p.isNull())
        return {};
    const QColor c = p.toImage().pixelColor(p.width() / 2, p.height() / 2);
    for (const char* name : {"Hang_1.jpg", "Hang_2.jpg", "Hang_3.jpg", "Hang_4.jpg", "Hang_5.jpg", "Hang_6.jpg",
                             "Hang_7.jpg", "Yes.jpg", "No.jpg", "Hang_Win.jpg", "LearnBack.jpg"}) {
        const QColor e = PictureColor(name);
        if (std::abs(c.red() - e.red()) + std::abs(c.green() - e.green()) + std::abs(c.blue() - e.blue()) < 24)
            return name;
    }
    return QStringLiteral("?");
}

class TLearningFolder {
public:
    // The dictionary's sections, its keyboard line (line 2 of its description) and whether
    // the pictures and sounds exist.
    TLearningFolder(const std::vector<TSection>& sections, const std::u16string& keyboard, bool withMedia = true)
    {
        AppDir = dir.path() + "/";
        QDir().mkpath(AppDir + "Data");
        QDir().mkpath(AppDir + "Learning");
        if (withMedia)
            WriteMedia();
        TddWriter::TTddWriter w;
        for (const TSection& s : sections) {
            const int n = w.AddSection(s.Letter);
            for (const auto& [word, article] : s.Words)
                w.AddWord(n, word, article);
        }
        Dictionary::TDictionaryInfo info;
        info.Name = "Test";
        info.ShellTag = "@X1";
        info.KindKey = "TavorLanguage";
        info.LanguagePair = "ENGGER";
        info.FileName = "ENGGER_T";
        w.SetInfo(info);
        Dictionary::TDescriptionData description;
        description.LetterLinks = u"A,14,";
        description.CharacterLinks = keyboard;
        w.SetDescription(description);
        w.SetEdition(0);
        w.Write((AppDir + "Data/ENGGER_T.TDD").toStdString());
        Dict = CreateDictionary(TDictionaryKind::TavorLanguage, (AppDir + "Data/ENGGER_T").toStdString());
        List = std::make_unique<TLearnDictionary>((AppDir + "Learning").toStdString());
        List->SetLanguagePair("ENGGER");
        List->NewList();
        Strings.SetTextStr(KeysAsTexts());
        qputenv("LEXORA_ALSA_DEVICE", "null");
        Platform::SetSoundRecorder(
            [this](const std::string& f) { Sounds.push_back(QString::fromStdString(f).section('/', -1)); });
        lbList.resize(150, 300);
    }

    ~TLearningFolder() { Platform::SetSoundRecorder({}); }

    // Adds a word of the dictionary (by its absolute index) to the learning list and lbList;
    // Entry is the text the list shows (it may carry a homonym digit).
    void AddToList(std::int32_t wordIndex, const std::u16string& entry)
    {
        std::string article;
        Dict->GetArticle(wordIndex, true, article, false, true);
        ASSERT_TRUE(List->AddWord(wordIndex, entry, article));
        lbList.addItem(ToQString(entry));
    }

    TLearningHost Host(std::uint32_t seed = 7)
    {
        TLearningHost h;
        h.LangStrings = &Strings;
        h.AppDir = AppDir;
        h.HelpFile = AppDir + "Help/HelpENG.chm";
        h.FromText = "English";
        h.ToText = "English-German";
        h.Dictionary = Dict.get();
        h.LearnDictionary = List.get();
        h.lbList = &lbList;
        h.ListShown = [this] { return ListOpen; };
        h.SoundWordIndex = &SoundWordIndex;
        h.SoundBlock = &SoundBlock;
        h.SpeakWord = [this] { Spoken.emplace_back(SoundBlock, SoundWordIndex); };
        h.SetListWordSoundPosition = [this](int p) { ListSoundPositions.push_back(p); };
        h.TimerM6 = &TimerM6;
        h.SpeakInMethod6 = &SpeakInMethod6;
        h.ShowMessageBox = [this](const QString& text, int, int) {
            Messages.push_back(text);
            return 1;
        };
        h.RandomSeed = seed;
        return h;
    }

    // A shown learning window on this folder.
    std::unique_ptr<TfLearning> Open(std::uint32_t seed = 7)
    {
        auto w = std::make_unique<TfLearning>(Host(seed));
        w->show();
        QApplication::setActiveWindow(w.get());
        return w;
    }

    QTemporaryDir dir;
    QString AppDir;
    std::unique_ptr<TBaseDictionary> Dict;
    std::unique_ptr<TLearnDictionary> List;
    TWideStringList Strings;
    QListWidget lbList;
    bool ListOpen = true;
    QTimer TimerM6;
    bool SpeakInMethod6 = false;
    std::int32_t SoundWordIndex = -1;
    std::int32_t SoundBlock = -1;
    std::vector<std::pair<std::int32_t, std::int32_t>> Spoken;  // (block, index in block) per speak
    std::vector<int> ListSoundPositions;
    std::vector<QString> Messages;
    std::vector<QString> Sounds;  // file names of the answer sounds asked for

private:
    static std::u16string KeysAsTexts()
    {
        std::u16string text;
        for (const char* k :
             {"LLPlay",        "LLHelp",        "LLHangMan",    "LLMethod1",     "LLMethod2", "LLMethod3", "LLMethod4",
              "LLMethod5",     "LLMethod6",     "LLClose",      "LLBStart",      "LLBStop",   "LLBDec",    "LLBInc",
              "LLFast",        "LLSlow",        "LLSpeakCheck", "LLDesc",        "LLBCheck",  "LLBShow",   "LLBRepeat",
              "LLRandomCheck", "LLChackExamen", "LLIntervalM6", "LLGameWord",    "LLLoss",    "LLNexWord", "LLNewGame",
              "LLDictWords",   "LLListWords",   "MsgLoadList",  "MsgCorectKeys", "OK"}) {
            const std::u16string key = Platform::Utf8ToWide(k);
            text += key + u"=" + key + u"\r\n";
        }
        return text;
    }

    void WriteMedia()
    {
        QDir().mkpath(AppDir + "Sounds");
        for (const char* name : {"Hang_1.jpg", "Hang_2.jpg", "Hang_3.jpg", "Hang_4.jpg", "Hang_5.jpg", "Hang_6.jpg",
                                 "Hang_7.jpg", "Yes.jpg", "No.jpg", "Hang_Win.jpg", "LearnBack.jpg"}) {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(PictureColor(name));
            image.save(AppDir + "Sounds/" + name, "JPG");
        }
        for (const char* name : {"Yes.wav", "No.wav"})
            std::ofstream((AppDir + "Sounds/" + name).toStdString(), std::ios::binary) << "RIFF";
    }
};

// Where a user's key goes: the control that has the focus, else the window.
inline QWidget* KeyTarget(QWidget* window)
{
    return QApplication::focusWidget() ? QApplication::focusWidget() : window;
}

// Presses and releases a key the way a user does.
inline void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(KeyTarget(window), key, modifiers);
}

// Types each character of Text (any script, either case) the way a user does.
inline void TypeText(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        const auto key = static_cast<int>(c.toUpper().unicode());
        const Qt::KeyboardModifiers modifiers = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(c));
        QApplication::sendEvent(KeyTarget(window), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(c));
        QApplication::sendEvent(KeyTarget(window), &release);
    }
}

}  // namespace LearningTest
