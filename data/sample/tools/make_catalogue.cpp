// make_catalogue: writes a new catalogue by installing each dictionary file.
//   make_catalogue CATALOGUE DICTIONARY...
#include "data/sample/Catalogue.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: make_catalogue CATALOGUE DICTIONARY...\n";
        return 2;
    }
    try {
        SampleData::BuildCatalogue(argv[1], std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "make_catalogue: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
