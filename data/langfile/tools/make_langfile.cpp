// make_langfile <text folder> <LangItf.lng>: builds the interface-language file from the
// text sources; lists every error of the sources and fails on any; keys that a language
// lacks are listed as warnings.
#include "data/langfile/LangFileWriter.h"
#include "platform/SafeFile.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_langfile <text folder> <LangItf.lng>\n";
        return 2;
    }
    try {
        LangFile::TLangSources sources;
        sources.AddFolder(argv[1]);
        for (const std::string& m : sources.MissingKeys())
            std::cerr << "warning: " << m << "\n";
        Platform::WriteFileAtomically(argv[2], LangFile::BuildLangFile(sources));
    } catch (const std::exception& e) {
        std::cerr << "make_langfile: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
