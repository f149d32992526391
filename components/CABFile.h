// TCABFile: extracts every file of a Microsoft cabinet into a folder (platform/Cabinet), with
// progress after each block written and a question before an existing file is replaced.
#pragma once

#include <QObject>
#include <QString>
#include <QDateTime>

#include <functional>
#include <vector>

class TCABFile;

// One file of a cabinet; kept for the collection the component publishes (extraction neither
// fills nor reads it).
struct TCABFileEntry {
    QString Name;
    QString RelPath;
    int Size = 0;
    QDateTime Date;
    bool Selected = false;
};
using TCABFileContents = std::vector<TCABFileEntry>;

enum class TCompressionType { typNone, typMSZIP, typLZX };
enum class TLZXMemory { lzxLowest, lzxLower, lzxLow, lzxMedium, lzxHigh, lzxHigher, lzxHighest };

using TCompressProgress = std::function<void(TCABFile* sender, int pos, int tot)>;
// FileName: the name inside the cabinet; pos: bytes of it written so far; tot: its size.
using TDeCompressProgress = std::function<void(TCABFile* sender, const QString& fileName, qint64 pos, qint64 tot)>;
// FileName: the full name of the existing file; leave Allow true to replace it.
using TOverWriteFile = std::function<void(TCABFile* sender, const QString& fileName, bool& allow)>;

class TCABFile : public QObject {
public:
    explicit TCABFile(QObject* owner = nullptr);

    TCABFileContents CABFileContents;
    QString CABFile;     // the cabinet to extract
    QString TargetPath;  // the folder to extract into; empty: the current folder
    TCompressionType CompressionType = TCompressionType::typMSZIP;  // not used
    TLZXMemory LZXMemory = TLZXMemory::lzxLowest;                   // not used
    TCompressProgress OnCompressProgress;                           // never fired
    TDeCompressProgress OnDecompressProgress;
    TOverWriteFile OnOverWriteFile;

    // Extracts every file of CABFile; True when RunExtraction returned 0.
    bool ExtractAll();
    // 0 on success, -1 on failure; ErrorMessage() then says what failed.
    int RunExtraction();
    // The one error of the last failed run; empty after a successful one.
    QString ErrorMessage() const { return errorMessage_; }
    // The last run's failure was a refused write, already shown through ShowSystemError.
    bool SystemErrorShown() const { return systemErrorShown_; }

    // When Code (an errno) is not 0: the system's text for it in a box captioned "Error" with
    // the warning icon. From another thread the box is posted to the user-interface thread
    // and the caller goes on.
    static void ShowSystemError(int code);

    // Creates the folder and its missing parents; True when it exists afterwards.
    static bool ForceFolder(const QString& path);
    static bool FolderExists(const QString& path);

private:
    QString errorMessage_;
    bool systemErrorShown_ = false;
};
