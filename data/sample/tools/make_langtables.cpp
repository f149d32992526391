// make_langtables: writes the language table "NISO.dat" and the alphabet file
// "Alphabets.dat" into a folder.
#include "data/sample/BinaryWriter.h"
#include "data/sample/LanguageTable.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_langtables FOLDER\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const std::string folder = argv[1];
        Platform::WriteFileAtomically(folder + "/NISO.dat", SampleData::BuildNisoFile());
        Platform::WriteFileAtomically(folder + "/Alphabets.dat", SampleData::BuildAlphabetsFile());
    } catch (const std::exception& e) {
        std::cerr << "make_langtables: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
