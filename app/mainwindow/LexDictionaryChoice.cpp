// Dictionary and direction choice: the two choosers, the dictionary class for the chosen
// kind, reversal of the direction and the fallback to the first dictionary.
#include "app/mainwindow/LexDictionary.h"
#include "components/MBox.h"
#include "app/mainwindow/WordListModel.h"
#include "components/InterfaceText.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextEdit>

#include <stdexcept>

namespace {

QString AnsiText(const std::string& s)
{
    return ToQString(Platform::AnsiToWide(s));
}

const TDictionaryRecord* RecordById(const TDictManager* manager, std::int32_t id)
{
    if (manager == nullptr || id < 0)
        return nullptr;
    for (const TDictionaryRecord& r : manager->Records)
        if (r.Id == id)
            return &r;
    return nullptr;
}

}  // namespace

void TfLexDictionary::FillDirections()
{
    const QSignalBlocker block(cbFrom);
    DirectionItems.clear();
    cbFrom->clear();
    if (!DictManager)
        return;
    for (const std::string& code : DictManager->GetSourceLanguages()) {
        auto item = std::make_unique<TComboItem>(code);
        item->Dictionaries = DictManager->GetDictionaries(code, true);
        if (item->Dictionaries.empty())
            continue;
        // The language's name from the interface strings; its code when the language lacks it.
        QString caption = ToQString(LangStrings.GetValue(Platform::Utf8ToWide(item->Code)));
        if (caption.isEmpty())
            caption = AnsiText(item->Code);
        item->Caption = ToU16(caption);
        cbFrom->addItem(caption);
        DirectionItems.push_back(std::move(item));
    }
    cbFrom->setCurrentIndex(cbFrom->count() > 0 ? 0 : -1);
    PreviousFromIndex = cbFrom->currentIndex();
}

void TfLexDictionary::FillDictionaries(int fromIndex)
{
    const QSignalBlocker block(cbTo);
    cbTo->clear();
    if (cbFrom->count() == 0 || fromIndex < 0 || fromIndex >= static_cast<int>(DirectionItems.size()))
        return;
    for (const TDescName& d : DirectionItems[static_cast<std::size_t>(fromIndex)]->Dictionaries) {
        QString text;
        if (d.Kind == 0 || d.Kind == 2) {
            text = ToQString(LangStrings.GetValue(Platform::Utf8ToWide(d.TargetCode)));
            if (text.isEmpty())
                text = AnsiText(d.TargetCode);
        } else {
            text = AnsiText(d.Text);
        }
        if (Settings.Publisher) {
            // The publisher is the information block's description field in the record.
            if (const TDictionaryRecord* r = RecordById(DictManager.get(), d.Id))
                text += " - " + AnsiText(r->Description.Str());
        }
        cbTo->addItem(text);
    }
    cbTo->setCurrentIndex(cbTo->count() > 0 ? 0 : -1);
}

const TDictionaryRecord* TfLexDictionary::SelectedRecord() const
{
    return RecordById(DictManager.get(), SelectedCatalogueId());
}

QString TfLexDictionary::GetDictionaryFileName() const
{
    const TDictionaryRecord* r = SelectedRecord();
    return r != nullptr ? AnsiText(r->DictionaryFile.Str()) : QString();
}

int TfLexDictionary::SelectedDictionaryKind() const
{
    const TDictionaryRecord* r = SelectedRecord();
    return r != nullptr ? static_cast<int>(DictKindFromInt(r->Kind)) : 4;
}

std::int32_t TfLexDictionary::SelectedCatalogueId() const
{
    const int from = cbFrom->currentIndex();
    if (from < 0 || from >= static_cast<int>(DirectionItems.size()))
        return -1;
    return DirectionItems[static_cast<std::size_t>(from)]->GetId(cbTo->currentIndex());
}

QString TfLexDictionary::GetDictionaryPath() const
{
    return Dictionary ? QString::fromStdString(Dictionary->FileName) : QString();
}

void TfLexDictionary::SwitchDictionaryClass()
{
    const std::string path = (DataDir + GetDictionaryFileName()).toStdString();
    std::u16string words;
    switch (SelectedDictionaryKind()) {
    case 0:
    case 1:  // the maker's general dictionaries share the maker's file layout
        if (dynamic_cast<TTavorDictionary*>(Dictionary.get()) == nullptr) {
            Dictionary = std::make_unique<TTavorDictionary>(path);
            Dictionary->GetLetterWords(u'A', true, words, false);
            SetWordsText(std::move(words));
            MergeUserWords(Dictionary->Sections[0].Letter);
        }
        break;
    case 2:
    case 3:
        if (dynamic_cast<TUserDictionary*>(Dictionary.get()) == nullptr) {
            Dictionary = std::make_unique<TUserDictionary>(path);
            Dictionary->GetLetterWords(u'A', true, words, false);
            SetWordsText(std::move(words));
        }
        break;
    default:
        Dictionary = std::make_unique<TUnknownDictionary>(path);
        break;
    }
}

void TfLexDictionary::cbFromDropDown()
{
    PreviousFromIndex = cbFrom->currentIndex();
}

void TfLexDictionary::ShowEditionLabel()
{
    switch (Dictionary ? Dictionary->GetDictionaryKind() : 5) {
    case 0:
        SetStatusPanel(2, QStringLiteral("Talking"));
        pBanner->hide();
        break;
    case 1:
        SetStatusPanel(2, QStringLiteral("Pro"));
        pBanner->hide();
        break;
    case 2:
        SetStatusPanel(2, QStringLiteral("Free"));
        pBanner->show();
        break;
    default:
        SetStatusPanel(2, QString());
        pBanner->hide();
        break;
    }
}

void TfLexDictionary::cbFrom1Change()
{
    const int index = cbFrom->currentIndex();
    if (index == PreviousFromIndex)
        return;
    // The shown direction is the one compared next time, also after keyboard moves.
    const int previous = PreviousFromIndex;
    PreviousFromIndex = index;
    SaveHistory();
    if (!aCloseListExecute()) {
        // The list stays, and with it the dictionary it belongs to.
        if (!ShowCurrentDictionaryInChoosers()) {
            const QSignalBlocker block(cbFrom);
            cbFrom->setCurrentIndex(previous);
            PreviousFromIndex = previous;
        }
        return;
    }
    FillDictionaries(index);
    SetSearchMode(0);
    CurrentDictionaryFile = GetDictionaryFileName();
    LearnDictionary->SetLanguagePair(CurrentDictionaryFile.left(6).toStdString());
    SwitchDictionaryClass();
    if (!Dictionary->Open((DataDir + CurrentDictionaryFile).toStdString())) {
        reDescription->clear();
        ClearWords();
        CurrentLetter = u' ';
        FreeAlphabetLinks();
        SetStatusPanel(0, QString());
        return;
    }
    EnableLearningCommands();
    reDescription->clear();
    cbFind->setEditText(QString());
    cbFind->setFocus();
    BuildAlphabetPanel(Dictionary.get());
    BindAlphabetLinks();
    std::u16string words;
    Dictionary->GetLetterWords(u'A', true, words, false);
    SetWordsText(std::move(words));
    MergeUserWords(Dictionary->Sections[0].Letter);
    CurrentLetter = u' ';
    LoadHistory(false);
    UpdateWindowTitle();
    if (WordCount() == 0) {
        SetStatusPanel(0, QString());
        SetStatusPanel(2, QString());
        pBanner->hide();
        return;
    }
    SetSelectedIndex(0);
    lbWordsClick();
    ShowEditionLabel();
}

bool TfLexDictionary::cbToChange(QObject*)
{
    SaveHistory();
    // The open dictionary chosen again, or the choosers filled again around it: its list
    // stays open.
    if (GetDictionaryFileName() == CurrentDictionaryFile)
        return true;
    if (!aCloseListExecute()) {
        ShowCurrentDictionaryInChoosers();
        return false;
    }
    CurrentDictionaryFile = GetDictionaryFileName();
    LearnDictionary->SetLanguagePair(CurrentDictionaryFile.left(6).toStdString());
    SwitchDictionaryClass();
    if (!Dictionary->Open((DataDir + CurrentDictionaryFile).toStdString())) {
        // No dictionary to show (it cannot be opened, or none is left): nothing of the last
        // one stays on screen, nor its learning commands.
        reDescription->clear();
        ClearWords();
        FreeAlphabetLinks();
        CurrentLetter = u' ';
        EnableLearningCommands();
        UpdateWordCommands(false);
        SetStatusPanel(0, QString());
        ShowEditionLabel();
        LoadHistory(true);
        setWindowTitle(LangText(LangStrings, "Title"));
        return true;
    }
    BuildAlphabetPanel(Dictionary.get());
    BindAlphabetLinks();
    EnableLearningCommands();
    reDescription->clear();
    cbFind->setFocus();
    if (SearchMode == 0) {
        std::u16string words;
        Dictionary->GetLetterWords(u'A', true, words, false);
        SetWordsText(std::move(words));
        MergeUserWords(Dictionary->Sections[0].Letter);
        SetSearchMode(0);
    }
    CurrentLetter = u' ';
    LoadHistory(true);
    UpdateWindowTitle();
    const int kind = SelectedDictionaryKind();
    if (kind == 1 || kind == 3) {
        BuildAlphabetPanel(Dictionary.get());
        BindAlphabetLinks();
    }
    if (WordCount() == 0 || !cbFind->currentText().isEmpty()) {
        SetStatusPanel(0, QString());
        SetStatusPanel(2, QString());
        pBanner->hide();
    } else {
        SetSelectedIndex(0);
        lbWordsClick();
    }
    ShowEditionLabel();
    return true;
}

bool TfLexDictionary::ShowCurrentDictionaryInChoosers()
{
    if (!DictManager)
        return false;
    const std::int32_t id = DictManager->FindIdByFileName(Platform::WideToAnsi(ToU16(CurrentDictionaryFile)));
    for (std::size_t d = 0; id >= 0 && d < DirectionItems.size(); ++d) {
        for (int k = 0; k < DirectionItems[d]->Count(); ++k) {
            if (DirectionItems[d]->GetId(k) != id)
                continue;
            {
                const QSignalBlocker block(cbFrom);
                cbFrom->setCurrentIndex(static_cast<int>(d));
            }
            PreviousFromIndex = static_cast<int>(d);
            FillDictionaries(static_cast<int>(d));
            const QSignalBlocker block(cbTo);
            cbTo->setCurrentIndex(k);
            return true;
        }
    }
    return false;
}

void TfLexDictionary::aReverseExecute()
{
    const int kind = SelectedDictionaryKind();
    const TDictionaryRecord* selected = SelectedRecord();
    if (cbFrom->count() == 0 || kind == 1 || kind == 3 || selected == nullptr)
        return;
    const std::string newSource = selected->TargetCode.Str();
    const std::string newTarget = selected->SourceCode.Str();
    // The direction of the first enabled record of the reversed pair, when there is one.
    int direction = -1;
    for (const TDictionaryRecord& r : DictManager->Records) {
        if (r.Enabled != 1 || r.SourceCode.Str() != newSource || r.TargetCode.Str() != newTarget)
            continue;
        for (std::size_t d = 0; d < DirectionItems.size() && direction < 0; ++d)
            if (DirectionItems[d]->Code == newSource)
                direction = static_cast<int>(d);
        break;
    }
    // A list that stays open (its save cancelled or failed) keeps everything as it is.
    if (direction >= 0 && !aCloseListExecute())
        return;
    SaveHistory();
    if (SearchMode == 1)
        SetSearchMode(0);
    cbFind->setEditText(QString());
    if (direction < 0)
        return;
    {
        const QSignalBlocker block(cbFrom);
        cbFrom->setCurrentIndex(direction);
    }
    PreviousFromIndex = direction;
    FillDictionaries(direction);
    const int to = DirectionItems[static_cast<std::size_t>(direction)]->IndexOfName(newTarget);
    if (to >= 0) {
        const QSignalBlocker block(cbTo);
        cbTo->setCurrentIndex(to);
    }
    if (cbToChange(aReverse)) {
        BuildAlphabetPanel(Dictionary.get());
        BindAlphabetLinks();
    }
}

bool TfLexDictionary::SelectFirstDictionary()
{
    if (!DictManager || DictManager->CountEnabled() == 0)
        return false;
    {
        const QSignalBlocker a(cbFrom), b(cbTo);
        cbFrom->clear();
        cbTo->clear();
    }
    Dictionary.reset();
    FillDirections();
    if (cbFrom->count() > 0)
        FillDictionaries(0);
    if (DirectionItems.empty() || DirectionItems[0]->Count() == 0)
        throw std::out_of_range("no dictionary in the first direction");
    const TDictionaryRecord* r = RecordById(DictManager.get(), DirectionItems[0]->GetId(0));
    if (r == nullptr)
        throw std::out_of_range("no catalogue record for the first dictionary");
    CurrentDictionaryFile = AnsiText(r->DictionaryFile.Str());
    // Kind 1 is read like kind 0 (the maker's layout); every kind gets an object.
    Dictionary = CreateDictionary(DictKindFromInt(r->Kind), (DataDir + CurrentDictionaryFile).toStdString());
    std::u16string words;
    Dictionary->GetLetterWords(u'A', true, words, false);
    SetWordsText(std::move(words));
    BuildAlphabetPanel(Dictionary.get());
    BindAlphabetLinks();
    PreviousFromIndex = cbFrom->currentIndex();
    return true;
}

void TfLexDictionary::ReverseToOtherSide()
{
    const int kind = SelectedDictionaryKind();
    if (cbFrom->count() == 0 || kind == 1 || kind == 3)
        return;
    aReverseExecute();
    ShowEditionLabel();
}

void TfLexDictionary::UpdateWindowTitle()
{
    QString caption = LangText(LangStrings, "Title");
    if (const TDictionaryRecord* r = SelectedRecord()) {
        const std::string description = r->Description.Str();
        if (description == "Morvaine")
            caption += " - " + AnsiText(description) + " database";
    }
    setWindowTitle(caption);
}
