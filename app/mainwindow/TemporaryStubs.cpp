// TEMPORARY: stand-ins for shared parts whose owners have not merged yet. Each block turns
// itself off as soon as the real source exists; this file goes once they all have landed.
#include "app/InterfaceLanguage.h"
#include "app/Settings.h"
#include "components/MessageForm.h"
#include "engine/WideStringList.h"
#include "platform/Locale.h"
#include "platform/qt/RichText.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cctype>
#include <cstring>

#if !__has_include("app/Settings.cpp")
void LoadSettings(TSettings&)
{
}
void SaveSettings(const TSettings&, int)
{
}
void WriteDefaultSettings()
{
}
TShortCut TextToShortCut(const std::u16string&)
{
    return 0;
}
std::u16string ShortCutToText(TShortCut)
{
    return {};
}
#endif

#if !__has_include("app/InterfaceLanguage.cpp")
bool LoadInterfaceLanguage(const std::string& langFile, std::int16_t id, TWideStrings& strings)
{
    QFile f(QString::fromStdString(langFile));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray all = f.readAll();
    auto i32 = [&all](qsizetype at) {
        return static_cast<std::int32_t>(static_cast<std::uint8_t>(all[at])
                                         | static_cast<std::uint8_t>(all[at + 1]) << 8
                                         | static_cast<std::uint8_t>(all[at + 2]) << 16
                                         | static_cast<std::uint32_t>(static_cast<std::uint8_t>(all[at + 3])) << 24);
    };
    if (all.size() < 4)
        return false;
    const std::int32_t n = i32(0);
    for (std::int32_t i = 0; i <= n && 4 + 56 * (i + 1) <= all.size(); ++i) {
        const qsizetype r = 4 + 56 * i;
        const auto lid = static_cast<std::int16_t>(static_cast<std::uint8_t>(all[r + 42])
                                                   | static_cast<std::uint8_t>(all[r + 43]) << 8);
        if (lid != id)
            continue;
        const std::int32_t off = i32(r + 48), len = i32(r + 52);
        if (off < 0 || len < 0 || off + static_cast<qint64>(len) > all.size())
            return false;
        std::u16string text(static_cast<std::size_t>(len / 2), u'\0');
        std::memcpy(text.data(), all.constData() + off, text.size() * 2);
        strings.SetTextStr(text);
        return true;
    }
    return false;
}
std::vector<TInterfaceLanguage> ListInterfaceLanguages(const std::string&)
{
    return {};
}
#endif

#if !__has_include("components/MessageForm.cpp")
TfMessage::TfMessage(QWidget* owner)
    : QDialog(owner)
{
    setObjectName("fMessage");
    auto* v = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    ImageQuestion = new QLabel("?", this);
    ImageInfo = new QLabel("i", this);
    ImageError = new QLabel("x", this);
    lMessage = new QLabel(this);
    lMessage->setObjectName("lMessage");
    lMessage->setWordWrap(true);
    row->addWidget(ImageQuestion);
    row->addWidget(ImageInfo);
    row->addWidget(ImageError);
    row->addWidget(lMessage, 1);
    v->addLayout(row);
    auto* buttons = new QHBoxLayout;
    bOk = new QPushButton("OK", this);
    bOk->setObjectName("bOk");
    bYes = new QPushButton("Yes", this);
    bYes->setObjectName("bYes");
    bNo = new QPushButton("No", this);
    bNo->setObjectName("bNo");
    buttons->addStretch();
    buttons->addWidget(bOk);
    buttons->addWidget(bYes);
    buttons->addWidget(bNo);
    v->addLayout(buttons);
    connect(bOk, &QPushButton::clicked, this, [this] { bOkClick(); });
    connect(bYes, &QPushButton::clicked, this, [this] { bYesClick(); });
    connect(bNo, &QPushButton::clicked, this, [this] { bNoClick(); });
}
void TfMessage::bOkClick()
{
    done(1);
}
void TfMessage::bYesClick()
{
    done(6);
}
void TfMessage::bNoClick()
{
    done(7);
}
void TfMessage::keyPressEvent(QKeyEvent* event)
{
    QDialog::keyPressEvent(event);
}
void TfMessage::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}
int ShowMessageForm(QWidget* owner, const QString& text, const TWideStrings&, int buttons, int)
{
    TfMessage f(owner);
    f.lMessage->setText(text);
    f.bOk->setVisible(buttons == 0);
    f.bYes->setVisible(buttons == 1);
    f.bNo->setVisible(buttons == 1);
    return f.exec();
}
#endif

#if !__has_include("platform/qt/RichText.cpp")
namespace RichText {
bool ReadRtf(std::string_view rtf, QTextDocument& document)
{
    // Plain text of the RTF: control words dropped, \par as line breaks, \'hh and \uN decoded.
    std::u16string out;
    int depth = 0, skipDepth = -1;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char n = rtf[i + 1];
            if (n == '\'' && i + 3 < rtf.size()) {
                if (skipDepth < 0)
                    out += Platform::AnsiToWide(
                        std::string(1, static_cast<char>(std::stoi(std::string(rtf.substr(i + 2, 2)), nullptr, 16))),
                        1252);
                i += 3;
            } else if (n == '*') {
                skipDepth = depth;
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(n))) {
                std::size_t j = i + 1;
                while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const std::string word(rtf.substr(i + 1, j - i - 1));
                std::size_t k = j;
                while (k < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf[k])) || rtf[k] == '-'))
                    ++k;
                const std::string num(rtf.substr(j, k - j));
                if (k < rtf.size() && rtf[k] == ' ')
                    ++k;
                if ((word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info")
                    && skipDepth < 0)
                    skipDepth = depth;
                if (skipDepth < 0) {
                    if (word == "par" || word == "line")
                        out += u'\n';
                    else if (word == "tab")
                        out += u'\t';
                    else if (word == "u" && !num.empty()) {
                        out += static_cast<char16_t>(std::stoi(num));
                        if (k < rtf.size() && rtf[k] == '?')
                            ++k;
                    }
                }
                i = k - 1;
            } else {
                if (skipDepth < 0)
                    out += static_cast<char16_t>(static_cast<unsigned char>(n));
                ++i;
            }
        } else if (c != '\r' && c != '\n' && skipDepth < 0) {
            out += static_cast<char16_t>(static_cast<unsigned char>(c));
        }
    }
    document.setPlainText(QString::fromStdU16String(out));
    return true;
}
std::string WriteRtf(const QTextDocument& document, int)
{
    return document.toPlainText().toStdString();
}
}  // namespace RichText
void RichEditToText(QTextEdit* edit, std::string& text)
{
    text = edit->toPlainText().toStdString();
}
#endif
