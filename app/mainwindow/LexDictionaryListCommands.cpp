// The list menu of the learning-list panel, the list tool bar, the File menu's preparation
// and the import of files.
#include "app/mainwindow/LexDictionary.h"

void TfLexDictionary::PopupMenuListPopup()
{
}
void TfLexDictionary::miOpenCurrListClick(QAction*)
{
}
void TfLexDictionary::bOpenListsClick()
{
}
void TfLexDictionary::bDelItemClick()
{
}
void TfLexDictionary::ToolButton6Click()
{
}
void TfLexDictionary::sbSaveAsClick()
{
}
void TfLexDictionary::lbListDblClick()
{
}
void TfLexDictionary::miFileClick()
{
}
void TfLexDictionary::miImport1Click()
{
}
