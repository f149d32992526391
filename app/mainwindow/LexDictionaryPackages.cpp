// Messages posted to the main window by a second start and by other programs, and the
// installation of dictionary packages (its issue brings the installer).
#include "app/mainwindow/LexDictionary.h"

#include <QAction>
#include <QApplication>

void TfLexDictionary::WMInstallDictionary(const QString& path)
{
    InstallDictionaryPackage(path);
}

void TfLexDictionary::WMRestoreWindow()
{
    if (isMinimized() || !isVisible()) {
        if (Settings.Max)
            showMaximized();
        else
            showNormal();
    }
    raise();
    activateWindow();
}

void TfLexDictionary::WMSpeakWord()
{
    bSeyWordClick();
}

void TfLexDictionary::WMReverseDirection()
{
    aReverse->trigger();
}

void TfLexDictionary::InstallDictionaryPackage(const QString&)
{
}
