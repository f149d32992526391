// Installs arbitrary bytes as a dictionary package into a scratch program folder: nothing may
// be written outside Data/, a refused package leaves Data/ and the catalogue as they were, and
// an accepted one holds a dictionary the catalogue lists.
#include "app/PackageInstall.h"
#include "engine/DictManager.h"

#include "tests/fuzz/FuzzScratch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string& Scratch()
{
    return FuzzSupport::Scratch("package");
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(e.path(), folder).string());
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path root = Scratch();
    std::error_code ec;
    fs::remove_all(root / "Data", ec);
    fs::remove_all(root / "in", ec);
    fs::create_directories(root / "Data");
    fs::create_directories(root / "in");
    const std::string catalogue = (root / "Data" / "DICTIONARYS.DNT").string();
    std::ofstream(catalogue, std::ios::binary);
    const std::string package = (root / "in" / "FUZZ_T.pkg").string();
    std::ofstream(package, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    if (size >= 8) {
        const std::int64_t length = PackageDataLength(static_cast<std::int64_t>(size), data + size - 8);
        Check(length == -1 || (length >= 5 && length <= static_cast<std::int64_t>(size) - 8));
    }

    TDictManager manager(catalogue);
    TPackageResult result;
    {
        TPackageInstall install(package, (root / "Data").string() + "/", catalogue);
        result = install.Prepare();
        if (result.Ok())
            result = install.Commit(manager);
    }
    // Nothing beside Data/ and the package.
    const std::set<std::string> top = {"Data", "in", "in/FUZZ_T.pkg"};
    for (const std::string& name : Names(root))
        Check(top.count(name) == 1 || name.rfind("Data/", 0) == 0);
    if (result.Ok()) {
        Check(manager.Count() == 1);
        Check(fs::is_regular_file(root / "Data" / "FUZZ_T.TDD"));
    } else {
        Check(manager.Count() == 0);
        Check(Names(root / "Data") == std::set<std::string>{"DICTIONARYS.DNT"});
        Check(fs::file_size(catalogue) == 0);
    }
    return 0;
}
