// Writes a small seed corpus for the RTF fuzz target into the folder given as argument: texts
// as a rich edit and the sample articles write them, and the corners of the reader.
#include <fstream>
#include <string>

namespace {

void Seed(const std::string& dir, const std::string& name, const std::string& bytes)
{
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string dir = argv[1];
    Seed(dir, "richedit1251",
         "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204{\\*\\fname Arial;}Arial "
         "CYR;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n{\\*\\generator Msftedit "
         "5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20\\'cf\\'f0\\b\\'e8\\b0\\par\r\n\\pard\\qc\\cf1\\i "
         "x\\i0\\cf0\\par\r\n\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-"
         "720\\li720"
         "\\ul a\\ulnone\\strike b\\strike0\\tab c\\line d\\par\r\n}\r\n");
    Seed(
        dir, "article",
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}{\\f1\\fnil\\fcharset0 "
        "Lucida Sans Unicode;}}\r\n{\\colortbl ;\\red0\\green0\\blue128;\\red128\\green0\\blue0;}\r\n\\viewkind4\\uc1"
        "\\pard\\f0\\fs20\\cf1\\b\\fs24 Korea\\fs20\\b0\\cf0\\cf2\\f1  /k\\u601?ri\\u601?/\\f0\\cf0\\par\r\n"
        "\\pard\\li284 \\u1050?\\u1086?\\'e9\\par\r\n\\pard}\r\n");
    Seed(dir, "unicode", "{\\rtf1\\uc2\\u-10179\\'3f\\'3f\\u-8704??{\\uc0\\u1078}\\u-4064?\\u1114111?\\u99999999?}");
    Seed(dir, "destinations",
         "{\\rtf1{\\*\\unknown x}{\\info{\\title t}}{\\stylesheet{\\s0 N;}}{\\pict 0a0b}{\\field{\\*\\fldinst H}"
         "{\\fldrslt r}}\\bin3 {}\\z\\emdash\\~\\_\\-\\{\\}\\\\}");
    Seed(dir, "nesting", "{\\rtf1 " + std::string(400, '{') + "\\b deep" + std::string(390, '}'));
    Seed(dir, "plain", "not rich text\r\nline \xe9\r");
    return 0;
}
