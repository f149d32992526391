// Tray menu, translucency, help topics and the small window commands.
#include "app/mainwindow/LexDictionary.h"
#include "components/MBox.h"
#include "app/mainwindow/WordListModel.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"

#include <QAction>
#include <QFrame>
#include <QMessageBox>
#include <QTextEdit>
#include <QToolButton>

void TfLexDictionary::miShowClick()
{
    WMRestoreWindow();
}

void TfLexDictionary::TrayIcon1DblClick()
{
    WMRestoreWindow();
}

void TfLexDictionary::miClipTranClick()
{
    Settings.ClipTranslate = !Settings.ClipTranslate;
    miClipTran->setChecked(Settings.ClipTranslate);
}

void TfLexDictionary::ApplicationEvents1Activate()
{
    if (windowOpacity() < 1.0)
        setWindowOpacity(1.0);
}

void TfLexDictionary::ApplicationEvents1Deactivate()
{
    if (Settings.Transparent)
        setWindowOpacity(std::clamp(Settings.TranValue, 0, 255) / 255.0);
}

void TfLexDictionary::miAbbreviationClick()
{
    std::string text;
    Dictionary->ReadInfoBlock(text);
    ShowArticle(text);
}

void TfLexDictionary::ShapeButton1Click()
{
    mbAlphabet->hide();
    bKeyboard->setChecked(false);
    miAlphabet->setChecked(false);
}

void TfLexDictionary::FormKeyPress(char16_t key)
{
    LastTypedChar = key;
}

void TfLexDictionary::ToolButton1Click()
{
    QMessageBox::information(
        this, QString(),
        QStringLiteral("Word index is  %1\r\nWords count is   %2").arg(SelectedIndex()).arg(WordCount()));
}

// Help and web pages come with the help issue.
void TfLexDictionary::FormHelp()
{
}
void TfLexDictionary::ShowHelpTopic(int)
{
}
void TfLexDictionary::IBanerClick()
{
}
void TfLexDictionary::miHelp_5Click()
{
}
void TfLexDictionary::Homepage1Click()
{
}
void TfLexDictionary::miHelp_2Click()
{
}
