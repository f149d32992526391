// Tray menu, translucency, help topics and the small window commands.
#include "app/About.h"
#include "app/WebAddresses.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/HelpWindow.h"
#include "platform/qt/OpenUrl.h"
#include "components/MBox.h"
#include "components/TrayIcon.h"
#include "app/mainwindow/WordListModel.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QMessageBox>
#include <QTextEdit>
#include <QToolButton>
#include <QVariantAnimation>
#include <QWindow>

void TfLexDictionary::ShowAtStart(bool trayAvailable)
{
    TrayIcon1->SetIconVisible(true);
    if (Settings.StartMin && trayAvailable) {
        // Only the tray icon remains; its menu or a second start shows the window. The work
        // of the first showing (first word, update check, administrator menus) is done now.
        startedInTray_ = true;
        RunFormShowOnce();
    } else if (Settings.StartMin) {
        showMinimized();
    } else if (Settings.Max) {
        showMaximized();
    } else {
        show();
    }
}

void TfLexDictionary::miShowClick()
{
    if (isMinimized() || !isVisible()) {
        // Back as it was when it went: maximised, or normal at its own place and size.
        if (restoreMaximized_) {
            restoringMaximized_ = true;
            showMaximized();
        } else {
            showNormal();
        }
    }
    raise();
    activateWindow();
    // Shown again soon after it went, the toolkit may still count it as the focused window
    // (it lets the window system's focus settle for a moment): the focus that comes back is
    // then no change to it, the window never became the active one again and no control got
    // the keys. It is the active window now; should the window manager refuse it the focus,
    // the toolkit's settling makes it inactive again.
    if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(this);
        QT_WARNING_POP
    }
    // The keyboard goes back to the control that had it when the window went, else to the
    // search box.
    if (focusWidget() == nullptr)
        cbFind->setFocus();
}

void TfLexDictionary::TrayIcon1DblClick()
{
    miShowClick();
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
    // A slide still running stops where it is, so a close during an opening slide stays a
    // close; then the panel slides out.
    if (alphabetSlide_)
        alphabetSlide_->stop();
    bKeyboard->setChecked(false);
    miAlphabet->setChecked(false);
    if (mbAlphabet->isVisibleTo(this))
        SlideAlphabet(false, Qt::Vertical);
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

void TfLexDictionary::FormHelp()
{
    ::ShowHelpTopic(HelpFile + "::/1.htm", LangStrings);
}

void TfLexDictionary::ShowHelpTopic(int number)
{
    ::ShowHelpTopic(HelpFile + "::/" + QString::number(number) + ".htm", LangStrings);
}

void TfLexDictionary::IBanerClick()
{
    ::ShowHelpTopic(HelpFile + "::/Pro.htm", LangStrings);
}

void TfLexDictionary::miHelp_5Click()
{
    OpenUrl(QUrl(QString::fromLatin1(WebAddresses::kProductSiteUrl)));
}

void TfLexDictionary::Homepage1Click()
{
    OpenUrl(QUrl(QString::fromLatin1(WebAddresses::kMakerHomePage)));
}

void TfLexDictionary::miHelp_2Click()
{
    TfAbout about(LangStrings, this);
    about.SetDictionaryCount(DictManager ? DictManager->Count() : 0);
    about.SetPicture(LoadJpegResource("BANNER_ENG"));
    about.exec();
}
