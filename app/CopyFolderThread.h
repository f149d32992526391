// Copies a dictionary's sound folder (from the CD) into the data folder on a worker thread.
// The files are copied into a temporary folder beside the destination, which is renamed into
// place only when every file arrived; links and sub-folders are neither followed nor copied.
// Progress and the end are reported by signals, delivered on the thread that owns the object;
// destroying the object cancels the copy and waits for the worker.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class TCopyFolderThread : public QObject {
    Q_OBJECT
public:
    // Starts copying SourceFolder into DestinationBase + the last component of SourceFolder.
    TCopyFolderThread(QString destinationBase, QString sourceFolder, QObject* parent = nullptr);
    ~TCopyFolderThread() override;
    TCopyFolderThread(const TCopyFolderThread&) = delete;
    TCopyFolderThread& operator=(const TCopyFolderThread&) = delete;

    // Asks the worker to stop and waits for it; a stopped copy leaves nothing behind and
    // reports nothing more.
    void Cancel();
    bool Cancelled() const { return cancelled_; }
    bool Running() const { return running_; }

    QString SourceFolder() const { return sourceFolder_; }
    QString Destination() const;

    // For tests: runs on the worker before each file is copied.
    static void SetBeforeFileHook(std::function<void(TCopyFolderThread&, const std::string&)> hook);

signals:
    // The number of files to copy.
    void ShowFileCount(int count);
    // The number of files handled before the current one.
    void ShowProgress(int filesCopied);
    // The copy ended: Failed lists the files that could not be copied, Error what kept the
    // folder from its place; both empty when the folder is in place.
    void ReportDone(QStringList failed, QString error);

private:
    void Execute();
    template <typename F> void Report(F&& emitter);

    QString destinationBase_;
    QString sourceFolder_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> running_{true};
    std::thread worker_;
};
