// Messages posted to the main window by a second start and by other programs, and the
// installation of dictionary packages (app/PackageInstall, one at a time through
// app/PackageQueue).
#include "app/PackageQueue.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/CABFile.h"
#include "components/InterfaceText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSignalBlocker>

void TfLexDictionary::WMInstallDictionary(const QString& path)
{
    InstallDictionaryPackage(path);
}

void TfLexDictionary::WMRestoreWindow()
{
    miShowClick();
}

void TfLexDictionary::WMSpeakWord()
{
    bSeyWordClick();
}

void TfLexDictionary::WMReverseDirection()
{
    aReverse->trigger();
}

namespace {

// The choosers again after the catalogue changed; the chosen direction and dictionary stay
// chosen when they still exist.
void RefreshChoosers(TfLexDictionary& w)
{
    const QString from = w.cbFrom->currentText();
    const QString to = w.cbTo->currentText();
    w.FillDirections();
    {
        const QSignalBlocker block(w.cbFrom);
        const int at = w.cbFrom->findText(from);
        if (at >= 0)
            w.cbFrom->setCurrentIndex(at);
    }
    w.FillDictionaries(w.cbFrom->currentIndex());
    {
        const QSignalBlocker block(w.cbTo);
        const int at = w.cbTo->findText(to);
        if (at >= 0)
            w.cbTo->setCurrentIndex(at);
    }
    w.PreviousFromIndex = w.cbFrom->currentIndex();
    w.cbToChange(w.cbTo);
    w.BuildAlphabetPanel(w.Dictionary.get());
    w.BindAlphabetLinks();
}

// The line under "MsgPackageError" saying what failed, followed by the file concerned and the
// system's reason when there are any (the message shows three lines: it stays short).
QString PackageFailure(const TWideStrings& texts, const TPackageResult& r)
{
    QString line;
    switch (r.Cause) {
    case TPackageCause::BadName:
        line = LangText(texts, "MsgPackageName");
        break;
    case TPackageCause::Length:
        line = LangText(texts, "MsgPackageLength");
        break;
    case TPackageCause::Unreadable:
        line = LangText(texts, "MsgPackageUnreadable");
        break;
    case TPackageCause::Cabinet:
        line = LangText(texts, "MsgPackageCabinet");
        break;
    case TPackageCause::InTheWay:
        line = LangText(texts, "MsgPackageInTheWay");
        break;
    case TPackageCause::Write:
        line = LangText(texts, "MsgPackageWrite");
        break;
    case TPackageCause::None:
        break;
    }
    if (!r.File.empty())
        line += " \"" + QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(r.File))) + "\"";
    if (!r.Reason.empty())
        line += " " + QString::fromLocal8Bit(r.Reason);
    return line;
}

void ReportPackage(TfLexDictionary& w, const TPackageResult& r)
{
    switch (r.Status) {
    case TPackageStatus::Installed:
        RefreshChoosers(w);
        w.ShowMessageBox(LangText(w.LangStrings, "MsgInstallComleate"), 0, 1);
        break;
    case TPackageStatus::AlreadyInstalled:
        w.ShowMessageBox(LangText(w.LangStrings, "MsgDictExist"), 0, 1);
        break;
    case TPackageStatus::NotDictionary:
        w.ShowMessageBox(LangText(w.LangStrings, "MsgDictRedy"), 0, 1);
        break;
    case TPackageStatus::CatalogueFailed:  // the catalogue's own failures pass silently
    case TPackageStatus::Cancelled:
        break;
    default: {
        if (r.Shown)  // a refused write was shown as it happened ("Error"): one message is enough
            break;
        QString text = LangText(w.LangStrings, "MsgPackageError");
        if (const QString detail = PackageFailure(w.LangStrings, r); !detail.isEmpty())
            text += "\n" + detail;
        w.ShowMessageBox(text, 0, 2);
        break;
    }
    }
}

}  // namespace

void TfLexDictionary::InstallDictionaryPackage(const QString& path)
{
    if (path.isEmpty() || !DictManager)
        return;
    if (PackageQueue == nullptr) {
        PackageQueue = new TPackageQueue(
            QFile::encodeName(DataDir).toStdString(), DictManager->CatalogueFile,
            [this](TPackageInstall& install) { return install.Commit(*DictManager); },
            [this](const TPackageResult& r) { Guard([&] { ReportPackage(*this, r); }); }, this);
        // Owned by the queue, so it outlives the queue's worker thread, which uses it.
        CABFile1 = new TCABFile(PackageQueue);
        PackageQueue->SetCABFile(CABFile1);
    }
    PackageQueue->Enqueue(QFile::encodeName(path).toStdString());
}
