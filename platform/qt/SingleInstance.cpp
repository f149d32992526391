#include "platform/qt/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kRestore = QStringLiteral("restore");
const QString kInstall = QStringLiteral("install");
const QString kSpeak = QStringLiteral("speak");
const QString kReverse = QStringLiteral("reverse");

QString RuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/lexora-%1").arg(::getuid());
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

// Whether a program listens on the socket Name: it takes a connection.
bool Answers(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool connected = probe.waitForConnected(1000);
    probe.abort();
    return connected;
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& key, const QString& folder, QObject* parent)
    : QObject(parent)
{
    const QString dir = folder.isEmpty() ? RuntimeFolder() : folder;
    lockFile_ = dir + "/" + key + ".lock";
    socketName_ = dir + "/" + key + ".socket";
    lockFd_ = ::open(QFile::encodeName(lockFile_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        // No lock possible: run as the only program rather than not at all.
        lockWarning_ = QStringLiteral("Cannot open the lock file %1 (%2); running without the one-program check.")
                           .arg(lockFile_, QString::fromLocal8Bit(std::strerror(errno)));
    } else if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(lockFd_);
        lockFd_ = -1;
        if (error == EWOULDBLOCK)
            return;  // another program holds it
        lockWarning_ = QStringLiteral("Cannot lock %1 (%2); running without the one-program check.")
                           .arg(lockFile_, QString::fromLocal8Bit(std::strerror(error)));
    }
    // A program that listens on the socket runs already, though without the lock (it could
    // not be had when it started): this start hands over to it, and its socket stays.
    if (Answers(socketName_)) {
        if (lockFd_ >= 0)
            ::close(lockFd_);
        lockFd_ = -1;
        lockWarning_.clear();
        return;
    }
    first_ = true;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // No one serves a socket left behind (by a program that was killed): it goes.
    QLocalServer::removeServer(socketName_);
    server_->listen(socketName_);
    connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
}

TSingleInstance::~TSingleInstance()
{
    if (server_ != nullptr)
        server_->close();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString TSingleInstance::AbsolutePath(const QString& argument)
{
    return argument.isEmpty() ? QString() : QFileInfo(argument).absoluteFilePath();
}

bool TSingleInstance::Forward(const QString& argument, QString* error, int timeoutMs)
{
    const bool speak = argument == QLatin1String(SpeakSwitch);
    const bool reverse = argument == QLatin1String(ReverseSwitch);
    const QString path = speak || reverse ? QString() : AbsolutePath(argument);
    const bool refused = path.size() > MaxPathLength;
    QLocalSocket socket;
    QElapsedTimer clock;
    clock.start();
    // The first program may still be setting up its socket.
    for (;;) {
        socket.connectToServer(socketName_);
        if (socket.waitForConnected(200))
            break;
        if (clock.elapsed() > timeoutMs) {
            if (error != nullptr)
                *error = QStringLiteral("The running program does not answer.");
            return false;
        }
        QThread::msleep(50);
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    if (speak)
        out << kSpeak;
    else if (reverse)
        out << kReverse;
    else
        out << kRestore;
    if (!path.isEmpty() && !refused)
        out << kInstall << path;
    socket.write(message);
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    if (refused) {
        if (error != nullptr)
            *error = QStringLiteral("The path is longer than %1 characters: %2").arg(MaxPathLength).arg(path);
        return false;
    }
    return true;
}

void TSingleInstance::OnConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            for (;;) {
                in.startTransaction();
                QString command;
                QString path;
                in >> command;
                if (command == kInstall)
                    in >> path;
                if (!in.commitTransaction())
                    break;
                const bool known = command == kRestore || command == kSpeak || command == kReverse
                    || (command == kInstall && !path.isEmpty() && path.size() <= MaxPathLength);
                if (!known) {
                    socket->abort();  // not one of ours
                    break;
                }
                if (holding_)
                    held_.emplace_back(command, path);
                else
                    Deliver(command, path);
            }
        });
    }
}

void TSingleInstance::SetHolding(bool holding)
{
    holding_ = holding;
    if (holding)
        return;
    // A receiver may start a hold again; what is left waits for its end.
    while (!held_.empty() && !holding_) {
        const auto [command, path] = held_.front();
        held_.erase(held_.begin());
        Deliver(command, path);
    }
}

void TSingleInstance::Deliver(const QString& command, const QString& path)
{
    if (command == kRestore)
        emit RestoreRequested();
    else if (command == kSpeak)
        emit SpeakRequested();
    else if (command == kReverse)
        emit ReverseRequested();
    else if (command == kInstall)
        emit InstallRequested(path);
}
