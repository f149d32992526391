// Builds the character tables "TYPE" (categories as code-point ranges) and "CASE" (simple case
// mappings) of the resource group "UNICODE" from the Unicode Character Database.
//
// usage: GenerateCharTables UnicodeData.txt PropList.txt DerivedBidiClass.txt OUTDIR
// writes OUTDIR/TYPE.bin, OUTDIR/CASE.bin (little-endian, with a byte-order mark) and
// OUTDIR/CharTables.cpp, which compiles both into the program.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kCategories = 49;
constexpr uint32_t kMaxCode = 0x10FFFF;

using Range = std::pair<uint32_t, uint32_t>;

struct CharData {
    uint32_t code;
    std::string gc;
    std::string decomposition;
    bool mirrored;
    std::string upper, lower, title;
};

std::vector<std::string> Split(const std::string& line, char sep)
{
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep))
        out.push_back(field);
    if (!line.empty() && line.back() == sep)
        out.emplace_back();
    return out;
}

std::string Trim(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

uint32_t Hex(const std::string& s)
{
    size_t used = 0;
    unsigned long v = std::stoul(s, &used, 16);
    if (used != s.size() || v > kMaxCode)
        throw std::runtime_error("bad code point: " + s);
    return static_cast<uint32_t>(v);
}

// "0041" or "0041..005A"
Range ParseRange(const std::string& field)
{
    std::string f = Trim(field);
    size_t dots = f.find("..");
    if (dots == std::string::npos)
        return {Hex(f), Hex(f)};
    return {Hex(f.substr(0, dots)), Hex(f.substr(dots + 2))};
}

std::ifstream Open(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return in;
}

class TableBuilder {
public:
    void Add(int category, uint32_t first, uint32_t last) { ranges_[category].push_back({first, last}); }

    // Sorted, merged ranges of every category.
    std::array<std::vector<Range>, kCategories> Merged() const
    {
        std::array<std::vector<Range>, kCategories> out;
        for (int k = 0; k < kCategories; ++k) {
            std::vector<Range> r = ranges_[k];
            std::sort(r.begin(), r.end());
            for (const Range& x : r) {
                if (!out[k].empty() && x.first <= out[k].back().second + 1)
                    out[k].back().second = std::max(out[k].back().second, x.second);
                else
                    out[k].push_back(x);
            }
        }
        return out;
    }

private:
    std::array<std::vector<Range>, kCategories> ranges_;
};

int GeneralCategoryIndex(const std::string& gc)
{
    static const std::map<std::string, int> index = {
        {"Mn", 0},  {"Mc", 1},  {"Me", 2},  {"Nd", 3},  {"Nl", 4},  {"No", 5},  {"Zs", 6},
        {"Zl", 7},  {"Zp", 8},  {"Cc", 9},  {"Cf", 10}, {"Co", 12}, {"Lu", 14}, {"Ll", 15},
        {"Lt", 16}, {"Lm", 17}, {"Lo", 18}, {"Pc", 19}, {"Pd", 20}, {"Ps", 21}, {"Pe", 22},
        {"Po", 23}, {"Sm", 24}, {"Sc", 25}, {"Sk", 26}, {"So", 27}, {"Pi", 47}, {"Pf", 48}};
    auto it = index.find(gc);
    return it == index.end() ? -1 : it->second;
}

int BidiIndex(const std::string& bc)
{
    // Arabic letters count as right-to-left.
    static const std::map<std::string, int> index = {{"L", 28},  {"R", 29},  {"AL", 29}, {"EN", 30},
                                                     {"ES", 31}, {"ET", 32}, {"AN", 33}, {"CS", 34},
                                                     {"B", 35},  {"S", 36},  {"WS", 37}, {"ON", 38}};
    auto it = index.find(bc);
    return it == index.end() ? -1 : it->second;
}

std::vector<CharData> ReadUnicodeData(const std::string& path, TableBuilder& table)
{
    std::ifstream in = Open(path);
    std::vector<CharData> chars;
    std::string line;
    uint32_t rangeStart = 0;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::vector<std::string> f = Split(line, ';');
        if (f.size() < 15)
            throw std::runtime_error("short line in " + path + ": " + line);
        CharData c{Hex(f[0]), f[2], f[5], f[9] == "Y", f[12], f[13], f[14]};
        uint32_t first = c.code;
        const std::string& name = f[1];
        if (name.size() > 8 && name.compare(name.size() - 8, 8, ", First>") == 0) {
            rangeStart = c.code;
            continue;
        }
        if (name.size() > 7 && name.compare(name.size() - 7, 7, ", Last>") == 0)
            first = rangeStart;
        if (int k = GeneralCategoryIndex(c.gc); k >= 0)
            table.Add(k, first, c.code);
        table.Add(46, first, c.code);  // assigned
        if (!c.decomposition.empty() && c.decomposition[0] != '<')
            table.Add(39, first, c.code);
        if (c.decomposition.rfind("<noBreak>", 0) == 0)
            table.Add(40, first, c.code);
        if (c.mirrored)
            table.Add(41, first, c.code);
        chars.push_back(std::move(c));
    }
    return chars;
}

// Lines "code[..code] ; value # comment" of a UCD property file.
template <typename F> void ReadPropertyFile(const std::string& path, F&& onLine)
{
    std::ifstream in = Open(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        if (Trim(line).empty())
            continue;
        std::vector<std::string> f = Split(line, ';');
        if (f.size() < 2)
            throw std::runtime_error("bad line in " + path + ": " + line);
        onLine(ParseRange(f[0]), Trim(f[1]));
    }
}

void Put16(std::string& out, uint32_t v)
{
    if (v > 0xFFFF)
        throw std::runtime_error("value does not fit 16 bits");
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string BuildTypeTable(const std::array<std::vector<Range>, kCategories>& cats)
{
    std::vector<uint32_t> offsets;
    std::vector<uint32_t> values;
    for (const auto& ranges : cats) {
        offsets.push_back(ranges.empty() ? 0xFFFF : static_cast<uint32_t>(values.size()));
        for (const Range& r : ranges) {
            values.push_back(r.first);
            values.push_back(r.second);
        }
    }
    if (values.size() >= 0xFFFF)
        throw std::runtime_error("too many ranges for 16-bit offsets");
    offsets.push_back(static_cast<uint32_t>(values.size()));
    size_t offsetBytes = (offsets.size() * 2 + 3) / 4 * 4;
    std::string out;
    Put16(out, 0xFEFF);
    Put16(out, kCategories);
    Put32(out, static_cast<uint32_t>(offsetBytes + 4 * values.size()));
    for (uint32_t o : offsets)
        Put16(out, o);
    out.resize(8 + offsetBytes, '\0');
    for (uint32_t v : values)
        Put32(out, v);
    return out;
}

std::string BuildCaseTable(const std::vector<CharData>& chars, size_t& upperCount, size_t& lowerCount,
                           size_t& titleCount)
{
    using Entry = std::array<uint32_t, 3>;
    std::vector<Entry> upper, lower, title;
    for (const CharData& c : chars) {
        // An empty title-case mapping means the upper-case mapping; an empty mapping, the letter.
        uint32_t up = c.upper.empty() ? c.code : Hex(c.upper);
        uint32_t lo = c.lower.empty() ? c.code : Hex(c.lower);
        uint32_t ti = c.title.empty() ? up : Hex(c.title);
        if (c.gc == "Lu" && lo != c.code)
            upper.push_back({c.code, lo, ti});
        else if (c.gc == "Ll" && (up != c.code || ti != c.code))
            lower.push_back({c.code, up, ti});
        else if (c.gc == "Lt")
            title.push_back({c.code, up, lo});
    }
    upperCount = upper.size();
    lowerCount = lower.size();
    titleCount = title.size();
    std::string out;
    Put16(out, 0xFEFF);
    Put16(out, static_cast<uint32_t>(upper.size() + lower.size() + title.size()));
    Put16(out, static_cast<uint32_t>(upper.size()));
    Put16(out, static_cast<uint32_t>(lower.size()));
    for (const auto* section : {&upper, &lower, &title})
        for (const Entry& e : *section)
            for (uint32_t v : e)
                Put32(out, v);
    return out;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ByteArray(const std::string& name, const std::string& bytes)
{
    std::string out = "alignas(4) const std::uint8_t " + name + "[" + std::to_string(bytes.size()) + "] = {";
    char buf[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0)
            out += "\n   ";
        std::snprintf(buf, sizeof buf, " %u,", static_cast<unsigned>(static_cast<unsigned char>(bytes[i])));
        out += buf;
    }
    return out + "\n};\n";
}

std::string SourceFile(const std::string& type, const std::string& caseTable)
{
    return "// Generated by GenerateCharTables from the Unicode Character Database. Do not edit.\n"
           "#include \"engine/UnicodeResources.h\"\n\n"
           "namespace {\n\n"
        + ByteArray("kType", type) + "\n" + ByteArray("kCase", caseTable)
        + "\n} // namespace\n\n"
          "std::span<const std::uint8_t> FindUnicodeResource(std::string_view name)\n"
          "{\n"
          "    if (name == \"TYPE\")\n"
          "        return kType;\n"
          "    if (name == \"CASE\")\n"
          "        return kCase;\n"
          "    return {};\n"
          "}\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: " << argv[0] << " UnicodeData.txt PropList.txt DerivedBidiClass.txt OUTDIR\n";
        return 2;
    }
    try {
        TableBuilder table;
        std::vector<CharData> chars = ReadUnicodeData(argv[1], table);
        table.Add(11, 0x10000, kMaxCode);  // supplementary code points
        table.Add(45, 0x0009, 0x000D);
        table.Add(40, 0xFEFF, 0xFEFF);  // zero width no-break space
        ReadPropertyFile(argv[2], [&](Range r, const std::string& prop) {
            if (prop == "Hex_Digit")
                table.Add(42, r.first, r.second);
            else if (prop == "Quotation_Mark")
                table.Add(43, r.first, r.second);
        });
        ReadPropertyFile(argv[3], [&](Range r, const std::string& bc) {
            if (int k = BidiIndex(bc); k >= 0)
                table.Add(k, r.first, r.second);
        });
        const auto cats = table.Merged();
        const std::string type = BuildTypeTable(cats);
        size_t u = 0, l = 0, t = 0;
        const std::string caseTable = BuildCaseTable(chars, u, l, t);
        const std::string dir = argv[4];
        WriteFile(dir + "/TYPE.bin", type);
        WriteFile(dir + "/CASE.bin", caseTable);
        WriteFile(dir + "/CharTables.cpp", SourceFile(type, caseTable));
        size_t ranges = 0;
        for (const auto& c : cats)
            ranges += c.size();
        std::cout << "character tables: " << ranges << " ranges in " << kCategories << " categories; case entries " << u
                  << " upper, " << l << " lower, " << t << " title\n";
    } catch (const std::exception& e) {
        std::cerr << argv[0] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
