// The new-dictionary wizard: the kind (language or general dictionary), then the languages,
// name, publisher and file name; writes an empty user dictionary into the dictionaries
// folder, adds it to the catalogue and has the main window open it.
#pragma once

#include "engine/WideStringList.h"
#include "tools/windows/WordToolsContext.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;
class TNISOManager;

class TfNewDictioanry : public QDialog {
    Q_OBJECT
public:
    explicit TfNewDictioanry(TNewDictionaryContext context, QWidget* parent = nullptr);
    ~TfNewDictioanry() override;

    enum TPage { tsFirstPage = 0, tsStandatdPage = 1, tsUserPage = 2, tsFinalPage = 3 };

    QPushButton* bNext;
    QPushButton* bPrev;
    QPushButton* bCancel;
    QLabel* Image1;
    QStackedWidget* pcWizard;
    QWidget* tsFirst;
    QWidget* tsStandatd;
    QWidget* tsUser;
    QWidget* tsFinal;
    // page 0
    QLabel* lWizzardCaption;
    QRadioButton* rbLanguage;
    QRadioButton* rbGeneral;
    QLabel* stLang;
    QLabel* stGen;
    // page 1
    QLabel* lLangStandard;
    QLabel* lLangFrom;
    QLabel* lLangTo;
    QLabel* lLangName;
    QLabel* lLangPublisher;
    QLabel* lLangDictName;
    QComboBox* cbFrom;
    QComboBox* cbTo;
    QLineEdit* eName;
    QLineEdit* ePublisher;
    QLineEdit* eDictName;
    QLabel* lFoundAlphabet;
    // page 2
    QLabel* lGenCaption;
    QLabel* lGenName;
    QLabel* lGenLang;
    QLabel* lGenPub;
    QLabel* lGenFile;
    QComboBox* cbGenLang;
    QLineEdit* eGenName;
    QLineEdit* eGenPub;
    QLineEdit* eGenFile;
    // page 3
    QLabel* lFinal;

    std::unique_ptr<TNISOManager> Languages;  // empty when "NISO.dat" cannot be read
    std::string SourceCode;
    std::string TargetCode;
    TWideStringList AlphabetLines;
    bool AlphabetFound = false;

    void FormCreate();
    void FormShow();
    void bNextClick();
    void bPrevClick();
    void bCancelClick();
    void cbFromCloseUp();
    void cbToCloseUp();
    void cbGenLangCloseUp();

    bool LoadAlphabet(const std::string& code);
    bool WriteLanguageDictionary();
    bool WriteGeneralDictionary();
    bool InstallNewDictionary(const QString& fileName);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct TNewFields {
        QString Name, Publisher, FileName;
        bool General = false;
    };
    void BuildWidgets();
    void ShowPage(TPage page);
    // Messages through the message form: information (1) or error (2) picture.
    void Message(const QString& text, int icon);
    // The code (CodeA) of the language chosen in a chooser; empty when none is chosen.
    std::string ChosenCode(const QComboBox* chooser) const;
    // Checks the fields of a form page, in order; shows the message and focuses the field.
    bool CheckFields(const std::vector<QWidget*>& fields);
    // Writes the file of the fields; false (with a message, nothing left behind) on failure.
    bool WriteDictionary(const TNewFields& fields);
    // The form page's Next: check, write, install, open.
    void CreateFromPage(const std::vector<QWidget*>& fields, bool general);
    QString DataPath(const QString& fileName) const;

    TNewDictionaryContext Context;
    const TWideStrings& LangStrings;
    std::vector<std::string> languageNames_;  // 8-bit names in table order
};
