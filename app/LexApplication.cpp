#include "app/LexApplication.h"

#include "components/MessageForm.h"
#include "engine/WideStringList.h"
#include "platform/qt/QtText.h"

#include <QtGlobal>

#include <exception>

namespace {
constexpr int kButtonsOk = 0;
constexpr int kIconError = 2;
}  // namespace

TLexApplication::TLexApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // Qt's own file dialogs: the desktop's would speak the desktop's language, not the
    // interface language the user chose.
    setAttribute(Qt::AA_DontUseNativeDialogs);
}

bool TLexApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error."));
    }
    return false;
}

void TLexApplication::ShowException(const QString& text)
{
    ++FCaught;
    if (FShowing) {
        qWarning("Error while an error is shown: %s", qUtf8Printable(text));
        return;
    }
    FShowing = true;
    try {
        if (FStrings) {
            ShowMessageForm(nullptr, text, *FStrings, kButtonsOk, kIconError);
        } else {
            TWideStringList defaults;
            QString title = applicationDisplayName();
            defaults.Add(ToU16(QStringLiteral("MessageCaption=") + title));
            defaults.Add(u"OK=OK");
            ShowMessageForm(nullptr, text, defaults, kButtonsOk, kIconError);
        }
    } catch (const std::exception& e) {
        qWarning("Cannot show an error: %s", e.what());
    } catch (...) {
        qWarning("Cannot show an error");
    }
    FShowing = false;
}
