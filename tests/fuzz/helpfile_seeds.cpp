// Seeds: a small help file compiled with chmcmd (two topics and a picture).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    namespace fs = std::filesystem;
    const fs::path work = fs::temp_directory_path() / "lexora-helpfile-seeds";
    fs::create_directories(work);
    std::ofstream(work / "p.hhp") << "[OPTIONS]\nCompiled file=seed.chm\nDefault topic=1.htm\nTitle=Seed\n\n"
                                     "[FILES]\n1.htm\n2.htm\n";
    std::ofstream(work / "1.htm") << "<html><body><h1>One</h1><a href=\"2.htm\">two</a></body></html>";
    std::ofstream(work / "2.htm") << "<html><body><h1>Two</h1><p>Text</p></body></html>";
    const std::string cmd = "cd '" + work.string() + "' && chmcmd p.hhp > /dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0 || !fs::exists(work / "seed.chm"))
        return 0;  // no compiler: the fuzzer starts from nothing
    fs::copy_file(work / "seed.chm", fs::path(argv[1]) / "seed.chm", fs::copy_options::overwrite_existing);
    fs::remove_all(work);
    return 0;
}
