#include "tests/app/PackageTestSupport.h"

#include "data/tddwriter/TddWriter.h"

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace PackageTest {

std::string DictionaryBytes(const std::string& fileName, int number)
{
    TddWriter::TTddWriter w;
    const int a = w.AddSection(u'A');
    w.AddWord(a, u"apple", "{\\rtf1\\ansi apple - pomme\\par}");
    w.AddWord(a, u"arm", "{\\rtf1\\ansi arm - bras\\par}");
    const int c = w.AddSection(u'C');
    w.AddWord(c, u"cat", "{\\rtf1\\ansi cat - chat\\par}");
    Dictionary::TDictionaryInfo info;
    info.Number = std::to_string(number);
    info.Name = "English-French (test)";
    info.Description = "Test";
    info.ShellTag = "@X1";
    info.KindKey = "TavorLanguage";
    info.LanguagePair = "ENGFRE";
    info.FileName = fileName;
    info.Sounds = "Sounds";
    w.SetInfo(info);
    Dictionary::TDescriptionData description;
    description.LetterLinks = u"A,14,C,14,";
    w.SetDescription(description);
    w.SetEdition(0);
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/x.TDD";
    w.Write(path);
    return ReadFile(path);
}

std::string CabinetBytes(const std::map<std::string, std::string>& files)
{
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/files";
    QStringList args{"-c", "-z", dir.path() + "/out.cab"};
    for (const auto& [name, content] : files) {
        WriteFile(root + "/" + name, content);
        args << QString::fromStdString(name);
    }
    QProcess gcab;
    gcab.setWorkingDirectory(QString::fromStdString(root));
    gcab.start("gcab", args);
    if (!gcab.waitForFinished(30000) || gcab.exitCode() != 0)
        throw std::runtime_error("gcab failed: " + gcab.readAllStandardError().toStdString());
    return ReadFile(dir.path().toStdString() + "/out.cab");
}

std::string PackageBytes(const std::string& dictionary, const std::string& cabinet, std::int64_t trailer)
{
    std::string out = dictionary + cabinet;
    auto value = static_cast<std::uint64_t>(trailer);
    for (int i = 0; i < 8; ++i, value >>= 8)
        out += static_cast<char>(value & 0xFF);
    return out;
}

std::string PackageBytes(const std::string& dictionary, const std::string& cabinet)
{
    return PackageBytes(dictionary, cabinet, static_cast<std::int64_t>(dictionary.size()));
}

std::string Patched(std::string bytes, const std::string& from, const std::string& to)
{
    if (from.size() != to.size())
        throw std::invalid_argument("patch of another length");
    bool found = false;
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
        bytes.replace(at, to.size(), to);
        found = true;
    }
    if (!found)
        throw std::invalid_argument("nothing to patch: " + from);
    return bytes;
}

std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> all;
    if (!fs::exists(folder))
        return all;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(e.path(), folder).string();
        all[name] = e.is_directory() ? "<dir>" : ReadFile(e.path().string());
    }
    return all;
}

}  // namespace PackageTest
