// Compiled HTML help files (.chm): topics and their pictures read out of the file by name.
// Topics are addressed as "<file>::/<topic>", e.g. "Help/HelpENG.chm::/1.htm".
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Platform {

class EHelpFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class THelpFile {
public:
    // Throws EHelpFileError when the file is missing, is no help file or is damaged: shorter or
    // longer than its header says, or any stored object does not come out whole.
    explicit THelpFile(const std::string& fileName);
    ~THelpFile();
    THelpFile(const THelpFile&) = delete;
    THelpFile& operator=(const THelpFile&) = delete;

    // The bytes of one stored file ("1.htm" or "/1.htm"); false when it is missing, damaged or
    // larger than MaxObjectSize.
    bool Read(const std::string& name, std::string& bytes) const;

    // The names of the stored files (topics, pictures), each starting with "/".
    std::vector<std::string> Names() const;

    const std::string& FileName() const { return fileName_; }

    static constexpr std::size_t MaxObjectSize = 32u << 20;
    // Larger files are refused: the whole file is held in memory while it is open.
    static constexpr std::size_t MaxFileSize = 64u << 20;

    struct TImpl;

private:
    std::string fileName_;
    std::unique_ptr<TImpl> impl_;
};

// Splits "<file>::/<topic>" into its parts; a text without "::" is all file, topic empty.
void SplitHelpUrl(const std::string& url, std::string& file, std::string& topic);

}  // namespace Platform
