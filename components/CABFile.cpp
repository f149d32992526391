#include "components/CABFile.h"

#include "platform/Cabinet.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

#include <cstring>
#include <QFile>
#include <QFileInfo>

TCABFile::TCABFile(QObject* owner)
    : QObject(owner)
{
}

bool TCABFile::ExtractAll()
{
    return RunExtraction() == 0;
}

int TCABFile::RunExtraction()
{
    errorMessage_.clear();
    systemErrorShown_ = false;
    const std::string cabinet = QFile::encodeName(CABFile).toStdString();
    QFile probe(CABFile);
    if (CABFile.isEmpty() || !probe.open(QIODevice::ReadOnly)) {
        errorMessage_ = QStringLiteral("Cannot open the cabinet \"%1\"").arg(CABFile);
        return -1;
    }
    probe.close();

    const std::unique_ptr<Platform::TCabinetDecompressor> decompressor = Platform::TCabinetDecompressor::Create();
    if (!decompressor) {
        errorMessage_ = QStringLiteral("Cannot start the cabinet decompressor");
        return -1;
    }
    if (!decompressor->IsCabinet(cabinet)) {
        errorMessage_ = QStringLiteral("\"%1\" is not a cabinet").arg(CABFile);
        return -1;
    }
    if (!TargetPath.isEmpty() && !ForceFolder(TargetPath)) {
        errorMessage_ = QStringLiteral("Cannot create the folder \"%1\"").arg(TargetPath);
        return -1;
    }

    Platform::TCabinetNotify notify;
    notify.OverwriteFile = [this](const Platform::TCabinetEntry&, const std::string& target) {
        bool allow = true;
        if (OnOverWriteFile)
            OnOverWriteFile(this, QFile::decodeName(QByteArray::fromStdString(target)), allow);
        return allow;
    };
    notify.Progress = [this](const Platform::TCabinetEntry& entry, uint64_t written) {
        if (OnDecompressProgress)
            OnDecompressProgress(this, QString::fromStdString(entry.Name), static_cast<qint64>(written),
                                 static_cast<qint64>(entry.Size));
    };
    const std::string target = TargetPath.isEmpty() ? std::string(".") : QFile::encodeName(TargetPath).toStdString();
    const Platform::TCabinetResult result = decompressor->Copy(cabinet, target, notify);
    if (!result.Ok()) {
        errorMessage_ = QFile::decodeName(QByteArray::fromStdString(result.Message));
        // A write the system refused (a full disk, a size limit) is shown as it happens.
        if (result.Error == Platform::TCabinetError::Write && result.SystemError != 0) {
            ShowSystemError(result.SystemError);
            systemErrorShown_ = true;
        }
        return -1;
    }
    return 0;
}

void TCABFile::ShowSystemError(int code)
{
    if (code == 0)
        return;
    const QString text = QString::fromLocal8Bit(std::strerror(code));
    const auto show = [text] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok);
        box.setObjectName(QStringLiteral("SystemError"));
        if (QAbstractButton* ok = box.button(QMessageBox::Ok))
            ok->setObjectName(QStringLiteral("bOk"));
        box.exec();
    };
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    if (QThread::currentThread() == app->thread())
        show();
    else
        QMetaObject::invokeMethod(app, show, Qt::QueuedConnection);
}

bool TCABFile::ForceFolder(const QString& path)
{
    QString folder = path;
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty() || FolderExists(folder))
        return true;
    return QDir().mkpath(folder) && FolderExists(folder);
}

bool TCABFile::FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}
