// The online update: fetch the version list, ask, download the installer into Updates/ with
// progress, and open it with the desktop's handler when the user agrees. The work runs on a
// thread of its own; everything that touches the window runs on the user-interface thread.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// What the update asks of the window. Every function is called on the user-interface thread.
struct TUpdateWindow {
    // Buttons 0 OK, 1 Yes/No; icons 0 question, 1 information, 2 error; 6 means Yes.
    std::function<int(const QString& text, int buttons, int icon)> ShowMessage;
    std::function<QString(const char* key)> Text;  // an interface string
    std::function<void(bool visible)> ShowDownloadPanel;
    std::function<void(std::int32_t maximum)> ShowMaximum;
    std::function<void(std::int32_t position)> ShowPosition;
    std::function<void()> StoreUpdateTime;
    // The thread has ended by itself; the window lets go of it (deleteLater).
    std::function<void()> Finished;
};

struct TUpdateOptions {
    bool Manual = false;                 // asked for by the user
    std::uint16_t UpdStt = 0;            // non-zero: an automatic check downloads without asking
    QString AppDir;                      // the program folder, with a final "/"
    std::string Server;                  // the update server's address (http or https)
    std::string Name, Company, Version;  // the installed product's record
    bool UseProxy = false;
    std::string ProxyServer, ProxyUser, ProxyPassword;
    int ProxyPort = 0;
    long StallSeconds = 60;  // a transfer that stalls this long fails
};

// The update server: LEXORA_UPDATE_URL when set, else the machine value UpdateServer, else
// the compiled-in address.
std::string UpdateServerAddress();
// The installed product's Name, Company and DisplayVersion from the machine store.
void ReadInstalledProduct(std::string& name, std::string& company, std::string& version);

class TUpdateThread : public QObject {
    Q_OBJECT
public:
    // Starts at once.
    TUpdateThread(TUpdateOptions options, TUpdateWindow window, QObject* parent = nullptr);
    // Asks the thread to stop, and waits for it: pending questions are dropped, a running
    // transfer ends within a poll interval.
    ~TUpdateThread() override;

    void Terminate();
    bool Terminated() const { return terminate_; }
    // The installer's place in Updates/ (once the version list named one).
    QString Target() const;
    bool StartInstaller() const { return startInstaller_; }

private:
    void Execute();
    void Download(const std::string& target, std::int64_t fileSize);
    // Runs F on the user-interface thread and waits; false when the thread was asked to stop
    // before F ran.
    bool Sync(const std::function<void()>& f);
    void Post(std::function<void()> f);
    void WorkerDone();
    void AskDownload();
    void AskStartUpdate();
    void ReportError(const std::string& text);
    void StoreUpdateTime();

    TUpdateOptions options_;
    TUpdateWindow window_;
    std::atomic<bool> terminate_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    mutable std::mutex targetMutex_;
    QString target_;
    std::atomic<bool> download_{false};
    std::atomic<bool> startInstaller_{false};
    std::atomic<std::int32_t> position_{0};
    std::atomic<bool> positionPosted_{false};
    std::int64_t expected_ = -1;
    std::thread worker_;
};
