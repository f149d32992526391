// TEMPORARY: stand-ins for shared parts whose owners have not merged yet. Each block turns
// itself off as soon as the real source exists; this file goes once they all have landed.
#include "platform/Locale.h"
#include "platform/qt/RichText.h"

#include <QTextDocument>
#include <QTextEdit>

#include <cctype>
#include <cstring>

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
