#include "app/mainwindow/WordCommands.h"

#include "app/mainwindow/LexDictionary.h"

#include "engine/WideText.h"
#include "platform/qt/QtText.h"
#include "tools/windows/NumTran.h"

#include <QFileDialog>
#include <QFileInfo>

#include <utility>

namespace WordCommands {

namespace {

constexpr int kLongestLookup = 25;
constexpr int kCutLength = 24;
// Only the start of a long copy can become a search text.
constexpr int kReadAtMost = 4096;

TWordEditorOpener& Opener()
{
    static TWordEditorOpener opener;
    return opener;
}

}  // namespace

void OpenWordEditor(TfLexDictionary& owner, const TWordEditRequest& request)
{
    if (const TWordEditorOpener& open = Opener())
        open(owner, request);
}

TWordEditorOpener SetWordEditorOpener(TWordEditorOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}

void OpenDictionaryWizard(TfLexDictionary&)
{
}

void OpenNumberWords(TfLexDictionary& window)
{
    TfNumTran numbers(window.LangStrings, &window);
    numbers.exec();
}

QString AskExportFile(QWidget* owner, const QString& file, int filterIndex)
{
    const QStringList filters = {QStringLiteral("User dictionary (*.UDD *.udd)"), QStringLiteral("All files (*)"),
                                 QStringLiteral("User words (*.TDE *.tde)")};
    QFileDialog dialog(owner, QStringLiteral("Export custom dictionary"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(filterIndex));
    dialog.selectFile(QFileInfo(file).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString CutClipboardText(const QString& text)
{
    // Leading blanks of a long copy are dropped before its start is taken.
    int from = 0;
    while (from < text.size() && text.at(from).unicode() <= u' ')
        ++from;
    QString t = ToQString(WideTrim(ToU16(text.mid(from, kReadAtMost))));
    if (t.size() > kLongestLookup)
        t.truncate(kCutLength);
    return t;
}

}  // namespace WordCommands
