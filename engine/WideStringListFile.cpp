// Loading and saving wide-string lists through files.
#include "engine/WideStringList.h"

#include "platform/FileSystem.h"
#include "platform/SafeFile.h"

#include <cstring>
#include <sstream>
#include <string>
#include <system_error>

namespace {

std::string OSErrorMessage(int code)
{
    if (code == 0)
        return "A call to an OS function failed";
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + std::strerror(code);
}

}  // namespace

void TWideStrings::LoadFromFile(const std::string& fileName)
{
    // The whole file is read before the list changes, so a failed read leaves it as it was.
    int code = 0;
    try {
        std::string bytes;
        try {
            bytes = Platform::ReadWholeFile(fileName);
        } catch (const std::system_error& failure) {
            code = failure.code().value();
            throw;
        }
        LoadFromBytes(bytes);
    } catch (...) {
        throw EOSError(code, OSErrorMessage(code));
    }
}

void TWideStrings::SaveToFile(const std::string& fileName)
{
    std::ostringstream data;
    SaveToStream(data);
    if (!saveDone_)
        return;  // nothing to write: the file stays as it was
    try {
        Platform::WriteFileAtomically(fileName, data.str());
    } catch (const Platform::ESafeFileError& e) {
        saveDone_ = false;
        if (e.Stage() == Platform::ESafeFileError::TStage::Create)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(e.ErrorCode()));
        throw EWriteError(std::string("Stream write error: ") + e.what());
    }
}
