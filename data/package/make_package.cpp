// make_package: joins a dictionary file and a cabinet of its folder's files into a dictionary
// package: the dictionary, the cabinet, then the dictionary's length as 8 bytes little-endian.
//   make_package DICTIONARY.TDD FOLDER.CAB OUT
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: make_package DICTIONARY.TDD FOLDER.CAB OUT\n";
        return 2;
    }
    try {
        const std::string dictionary = ReadAll(argv[1]);
        const std::string cabinet = ReadAll(argv[2]);
        if (dictionary.compare(0, 5, "01.01") != 0)
            throw std::runtime_error(std::string(argv[1]) + " is not a dictionary file");
        if (cabinet.compare(0, 4, "MSCF") != 0)
            throw std::runtime_error(std::string(argv[2]) + " is not a cabinet");
        const std::string temporary = std::string(argv[3]) + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out << dictionary << cabinet;
            auto length = static_cast<std::uint64_t>(dictionary.size());
            for (int i = 0; i < 8; ++i, length >>= 8)
                out.put(static_cast<char>(length & 0xFF));
            out.flush();
            if (!out)
                throw std::runtime_error("cannot write " + temporary);
        }
        std::filesystem::rename(temporary, argv[3]);
        std::cout << argv[3] << ": " << dictionary.size() << " bytes of dictionary, " << cabinet.size()
                  << " bytes of cabinet\n";
    } catch (const std::exception& e) {
        std::cerr << "make_package: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
