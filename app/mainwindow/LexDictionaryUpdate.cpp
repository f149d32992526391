// The online update around the main window: the automatic check, the menu command, the stop
// button, the download panel and the close query while an update runs.
#include "app/UpdateThread.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/GradientProgress.h"
#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QToolButton>

#include <ctime>

namespace {

std::string Utf8(const std::u16string& text)
{
    return ToQString(text).toStdString();
}

TUpdateThread* RunningUpdate(QObject* thread)
{
    return qobject_cast<TUpdateThread*>(thread);
}

}  // namespace

static void StartUpdateThread(TfLexDictionary& w, bool manual)
{
    TUpdateOptions o;
    o.Manual = manual;
    o.UpdStt = w.Settings.UpdStt;
    o.AppDir = w.AppDir;
    o.Server = UpdateServerAddress();
    ReadInstalledProduct(o.Name, o.Company, o.Version);
    o.UseProxy = w.Settings.UpdPrx;
    o.ProxyServer = Utf8(w.Settings.UpdPrxSrv);
    o.ProxyUser = Utf8(w.Settings.UpdPrxUsNa);
    o.ProxyPassword = Utf8(w.Settings.UpdPrxPss);
    o.ProxyPort = w.Settings.UpdPrxPrt;

    TUpdateWindow win;
    win.ShowMessage = [&w](const QString& text, int buttons, int icon) {
        return w.ShowMessageBox(text, buttons, icon);
    };
    win.Text = [&w](const char* key) { return LangText(w.LangStrings, key); };
    win.ShowDownloadPanel = [&w](bool visible) {
        w.ProgressBar1->SetPosition(0);
        w.pDownload->setVisible(visible);
    };
    win.ShowMaximum = [&w](std::int32_t maximum) { w.ProgressBar1->SetMaximum(std::max(1, maximum)); };
    win.ShowPosition = [&w](std::int32_t position) { w.ProgressBar1->SetPosition(position); };
    win.StoreUpdateTime = [&w] { w.StoreUpdateTime(); };
    win.Finished = [&w] {
        if (QObject* thread = w.UpdateThread) {
            w.UpdateThread = nullptr;
            thread->deleteLater();
        }
        w.Updating = false;
        w.pDownload->hide();
    };
    w.Updating = true;
    w.UpdateThread = new TUpdateThread(std::move(o), std::move(win), &w);
}

void TfLexDictionary::CheckAutoUpdate()
{
    if (!IsUserAdministrator() || !Settings.UpdEnbl || Updating)
        return;
    const std::int64_t days = (static_cast<std::int64_t>(std::time(nullptr)) - Settings.UpdLast) / 86400;
    if (days > Settings.UpdCnt)
        StartUpdateThread(*this, false);
}

void TfLexDictionary::miUpdateNowClick()
{
    if (!IsUserAdministrator())
        ShowMessageBox(LangText(LangStrings, "MsgOnlyAdminMayDoThis"), 0, 2);
    else if (Updating)
        ShowMessageBox(LangText(LangStrings, "MsgUpdating"), 0, 1);
    else
        StartUpdateThread(*this, true);
}

void TfLexDictionary::ShapeButton2Click()
{
    if (!Updating)
        return;
    if (ShowMessageBox(LangText(LangStrings, "MsgStopUpdate"), 1, 0) != 6)
        return;
    if (TUpdateThread* thread = RunningUpdate(UpdateThread))
        thread->Terminate();
}

void TfLexDictionary::StoreUpdateTime()
{
    Settings.UpdLast = static_cast<std::int64_t>(std::time(nullptr));
    try {
        SaveSettings(Settings, SelectedDictionaryKind());
    } catch (const std::exception&) {
        // The next check runs again; nothing else depends on the stored time.
    }
}

bool TfLexDictionary::FormCloseQuery()
{
    if (!Updating)
        return true;
    if (ShowMessageBox(LangText(LangStrings, "MsgStillUpdating"), 1, 0) != 6)
        return false;
    // The thread stops and is waited for here, before anything of the window goes.
    if (QObject* running = UpdateThread) {
        UpdateThread = nullptr;
        delete running;
    }
    Updating = false;
    pDownload->hide();
    return true;
}
