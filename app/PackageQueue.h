// Dictionary packages waiting to be installed, one at a time: the files are prepared on a
// worker thread so the window stays responsive, and the catalogue record is added on the
// user-interface thread. A package waits while a modal window (the settings window, a
// message) is open, since those change the catalogue or wait for an answer.
#pragma once

#include "app/PackageInstall.h"

#include <QObject>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class TCABFile;

class TPackageQueue : public QObject {
    Q_OBJECT
public:
    // Commit adds the prepared package's record to the live catalogue (user-interface thread);
    // Done reports the outcome.
    using TCommit = std::function<TPackageResult(TPackageInstall& install)>;
    using TDone = std::function<void(const TPackageResult& result)>;

    TPackageQueue(std::string dataDir, std::string catalogueFile, TCommit commit, TDone done,
                  QObject* parent = nullptr);
    // The component that extracts the packages' cabinets on the worker thread (none: each
    // install makes its own). It must outlive the queue: make it a child of the queue.
    void SetCABFile(TCABFile* cabFile) { cabFile_ = cabFile; }
    // Cancels the package in work and waits for its thread; its files are put back.
    ~TPackageQueue() override;

    void Enqueue(const std::string& packagePath);
    bool Busy() const { return current_ != nullptr; }
    std::size_t Pending() const { return queue_.size(); }

signals:
    // After Done, with the TPackageStatus as int.
    void Finished(int status);

private:
    void TryNext();
    void WorkerDone();
    static bool ModalOpen();

    std::string data_;
    std::string catalogue_;
    TCABFile* cabFile_ = nullptr;
    TCommit commit_;
    TDone done_;
    std::deque<std::string> queue_;
    std::unique_ptr<TPackageInstall> current_;
    TPackageResult prepared_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
};
