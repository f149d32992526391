// The settings command of the main window.
#include "app/mainwindow/LexDictionary.h"

void TfLexDictionary::aInterfaceFormExecute()
{
}
