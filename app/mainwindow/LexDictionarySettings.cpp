// The settings command of the main window: the settings window for one use.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"

void TfLexDictionary::aInterfaceFormExecute()
{
    if (SettingsOpen)
        return;
    // The flag drops and the waiting packages are told also when the window fails.
    struct TOpen {
        TfLexDictionary* Main;
        ~TOpen()
        {
            Main->SettingsOpen = false;
            emit Main->SettingsClosed();
        }
    } open{this};
    SettingsOpen = true;
    TfInterface form(this);
    form.exec();
}
