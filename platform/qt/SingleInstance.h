// One running program per user: the first start holds a lock and listens on a local socket,
// a later start hands its command line over to it and ends. The kernel drops the lock of a
// program that dies, so a killed program never blocks the next start. Where the lock cannot
// be had (the lock file cannot be opened), a program answering on the socket is the running
// one; only when none answers does a start run as the only program.
#pragma once

#include <QObject>
#include <QString>

#include <utility>
#include <vector>

class QLocalServer;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // Paths forwarded to the running program are refused beyond this length.
    static constexpr int MaxPathLength = 255;
    // Switches by which other programs ask the running program to speak the current word
    // or to reverse the direction, instead of naming a package.
    static constexpr const char* SpeakSwitch = "--speak-word";
    static constexpr const char* ReverseSwitch = "--reverse-direction";

    // Key names the lock and the socket; they lie in Folder (empty: the user's runtime
    // folder), which is readable by the user only. A socket that a program listens on is
    // never taken over.
    explicit TSingleInstance(const QString& key, const QString& folder = {}, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // This process holds the lock and receives the messages of later starts.
    bool IsFirst() const { return first_; }

    // A later start: asks the running program to restore its window and, when Argument is
    // not empty, to install the package it names (as an absolute path); one of the two
    // switches asks for its action instead. False with Error set
    // when the running program cannot be reached or the path is longer than MaxPathLength
    // (the restore is still sent then).
    bool Forward(const QString& argument, QString* error = nullptr, int timeoutMs = 3000);

    // The absolute form of a command-line path, relative to the current folder.
    static QString AbsolutePath(const QString& argument);

    // While holding, the messages of later starts are kept instead of signalled (the
    // program's window may not exist yet); ending the hold signals them in their order.
    void SetHolding(bool holding);
    int HeldCount() const { return static_cast<int>(held_.size()); }

    // Why this process runs as the only program without a lock (empty when it holds one).
    const QString& LockWarning() const { return lockWarning_; }

signals:
    void RestoreRequested();
    void InstallRequested(const QString& path);
    void SpeakRequested();
    void ReverseRequested();

private:
    void OnConnection();
    void Deliver(const QString& command, const QString& path);

    QString lockFile_;
    QString socketName_;
    int lockFd_ = -1;
    bool first_ = false;
    QLocalServer* server_ = nullptr;
    bool holding_ = false;
    std::vector<std::pair<QString, QString>> held_;  // command and path
    QString lockWarning_;
};
