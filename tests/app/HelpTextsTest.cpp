// The help names the controls as the interface does: every name a help topic sets in bold is a
// text of the interface strings of the same language (data/lang), in the compiled help file.
#include "data/langfile/LangSource.h"
#include "platform/HtmlHelp.h"
#include "platform/qt/QtText.h"
#include "tests/components/MPEGPlayerTestSupport.h"

#include <QRegularExpression>
#include <QSet>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

// A control's name as help and interface write it: the dots of a command that opens a window
// and the colon of a label are left out.
QString ControlName(QString text)
{
    text = text.simplified();
    for (const QString& end : {QStringLiteral("..."), QStringLiteral("\u2026"), QStringLiteral(":")})
        if (text.endsWith(end))
            text = text.chopped(end.size()).trimmed();
    return text;
}

// The interface texts of a language, as control names.
QSet<QString> InterfaceTexts(const LangFile::TLangSources& sources, const char* code)
{
    QSet<QString> texts;
    for (const LangFile::TLangEntry& e : sources.Entries(code))
        texts.insert(ControlName(ToQString(e.Value)));
    // The numbers window's Copy button keeps its text in every language.
    texts.insert("Copy");
    return texts;
}

// Topic name -> the names the topic sets in bold.
std::map<std::string, QStringList> BoldNames(const std::string& helpFile)
{
    static const QRegularExpression bold("<(b|strong)>(.*?)</\\1>",
                                         QRegularExpression::DotMatchesEverythingOption
                                             | QRegularExpression::CaseInsensitiveOption);
    Platform::THelpFile help(helpFile);
    std::map<std::string, QStringList> names;
    for (const std::string& name : help.Names()) {
        if (!name.ends_with(".htm"))
            continue;
        std::string bytes;
        EXPECT_TRUE(help.Read(name, bytes)) << name;
        QStringList& list = names[name];
        for (const auto& m : bold.globalMatch(QString::fromUtf8(bytes)))
            list << ControlName(QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText());
    }
    return names;
}

}  // namespace

TEST(HelpTexts, EveryControlNameInBoldIsAnInterfaceTextOfItsLanguage)
{
    LangFile::TLangSources sources;
    sources.AddFolder(std::filesystem::path(LEXORA_SOURCE_DIR) / "data" / "lang");
    ASSERT_TRUE(sources.Errors().empty());
    for (const char* code : {"ENG", "GER"}) {
        const QSet<QString> texts = InterfaceTexts(sources, code);
        const auto topics = BoldNames((PlayerTest::LibraryFolder() + "/Help/Help" + code + ".chm").toStdString());
        ASSERT_EQ(topics.size(), 17u) << code;
        int names = 0;
        for (const auto& [topic, bold] : topics)
            for (const QString& name : bold) {
                ++names;
                EXPECT_TRUE(texts.contains(name))
                    << code << " " << topic << ": \"" << name.toStdString() << "\" is no interface text";
            }
        EXPECT_GE(names, 100) << code;  // the topics do name their controls
    }
    // The test tells a name from a near one.
    EXPECT_FALSE(InterfaceTexts(sources, "GER").contains("Abspielen"));
    EXPECT_TRUE(InterfaceTexts(sources, "GER").contains(QString::fromUtf8("Anhören")));
}
