#include "app/PackageQueue.h"

#include <QApplication>
#include <QMetaObject>
#include <QTimer>

namespace {
constexpr int kModalRetryMs = 200;
}

TPackageQueue::TPackageQueue(std::string dataDir, std::string catalogueFile, TCommit commit, TDone done,
                             QObject* parent)
    : QObject(parent),
      data_(std::move(dataDir)),
      catalogue_(std::move(catalogueFile)),
      commit_(std::move(commit)),
      done_(std::move(done))
{
}

TPackageQueue::~TPackageQueue()
{
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
    current_.reset();  // rolls back what was prepared and not committed
}

bool TPackageQueue::ModalOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

void TPackageQueue::Enqueue(const std::string& packagePath)
{
    if (packagePath.empty())
        return;
    queue_.push_back(packagePath);
    TryNext();
}

void TPackageQueue::TryNext()
{
    if (current_ || queue_.empty())
        return;
    if (ModalOpen()) {
        QTimer::singleShot(kModalRetryMs, this, [this] { TryNext(); });
        return;
    }
    current_ = std::make_unique<TPackageInstall>(queue_.front(), data_, catalogue_, cabFile_);
    queue_.pop_front();
    TPackageInstall* install = current_.get();
    worker_ = std::thread([this, install] {
        TPackageResult result;
        try {
            result = install->Prepare(&cancel_);
        } catch (const std::exception&) {
            result = PackageResult(TPackageStatus::WriteFailed, TPackageCause::Write);
        }
        prepared_ = result;
        QMetaObject::invokeMethod(
            this, [this] { WorkerDone(); }, Qt::QueuedConnection);
    });
}

void TPackageQueue::WorkerDone()
{
    if (ModalOpen()) {
        QTimer::singleShot(kModalRetryMs, this, [this] { WorkerDone(); });
        return;
    }
    if (worker_.joinable())
        worker_.join();
    TPackageResult result = prepared_;
    try {
        if (result.Ok())
            result = commit_(*current_);
    } catch (const std::exception&) {
        result = PackageResult(TPackageStatus::WriteFailed, TPackageCause::Write);
    }
    current_.reset();  // puts Data/ back unless committed
    try {
        if (done_)
            done_(result);
    } catch (...) {
        // The outcome was reported as far as it could be.
    }
    emit Finished(static_cast<int>(result.Status));
    TryNext();
}
