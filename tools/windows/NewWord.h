// The word editor: a word and its formatted description, added to the current dictionary,
// or the description of a dictionary word or a learning-list entry changed. A refused or
// failed save says why and keeps the window open with everything typed.
#pragma once

#include "tools/windows/WordToolsContext.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QWidget;
class TMBox;
class TNewWordRichEdit;
class TWideStrings;

class TfNewWord : public QDialog {
    Q_OBJECT
public:
    explicit TfNewWord(TWordEditorContext context, QWidget* parent = nullptr);
    ~TfNewWord() override;

    // --- what the main window prepares before showing (add mode is the default)
    // Dictionary edit: the word shown read-only, its article loaded; Index is the engine's
    // index of the word in its section.
    void PrepareEdit(std::int32_t index, const QString& word, const std::string& article);
    // List edit: the learning-list entry at Position.
    void PrepareListEdit(std::int32_t position, const QString& word, const std::string& article);
    // Back to add mode, empty word and article.
    void PrepareAdd();

    QToolBar* ToolBar1;
    QToolButton* tbAddWord;
    QToolButton* tbSave;
    QToolButton* tbLearn;
    QToolButton* ToolButton6;   // undo
    QToolButton* ToolButton16;  // colour dialog
    QWidget* Panel1;
    QComboBox* cbFonts;
    QComboBox* cbSize;
    QComboBox* ColorBox1;
    QWidget* Panel2;
    QLabel* lNewWord;
    QLineEdit* eNewWord;
    QLabel* lDescription;
    TMBox* MBox1;
    TNewWordRichEdit* reNewDescription;

    QAction* FileOpen1;
    QAction* ColorSelect1;
    QAction* RichEditBold1;
    QAction* RichEditItalic1;
    QAction* RichEditUnderline1;
    QAction* RichEditStrikeOut1;

    std::int32_t EditIndex = 0;

    void FormCreate();
    void FormShow();
    void FormClose();
    void tbAddWordClick();
    void tbSaveClick();
    void tbLearnClick();
    void FileOpen1Accept(const QString& fileName);
    void ColorSelect1Accept(const QColor& colour);
    void ColorBox1Change();
    void cbFontsChange();
    void cbSizeChange(bool focusArticle);
    void reNewDescriptionSelectionChange();
    void eNewWordEnter();
    void eNewWordExit();

    // The article as stored: the RTF text of the rich edit.
    std::string ArticleText();
    // Loads an article (RTF, or plain text when it is not RTF).
    void SetArticle(const std::string& article);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildFormatBar();
    // Font names, sizes and the named colours.
    void FillFormatBar();
    std::vector<QAction*> FormattingActions() const;
    void ConnectHandlers();
    QAction* AddButton(const char* name, int glyph, const QKeySequence& keys);
    void SetMode(QAction* visible);
    // The message of an editing result code (nothing for 0).
    void ShowResult(std::int16_t result);
    void Message(const QString& text);
    void MergeFormat(const class QTextCharFormat& format);
    void FileOpen1Execute();
    void ColorSelect1Execute();

    TWordEditorContext Context;
    const TWideStrings& LangStrings;
    QAction* aAddWord = nullptr;
    QAction* aSave = nullptr;
    QAction* aLearn = nullptr;
    QAction* aUndo = nullptr;
    QAction* aCopy = nullptr;
    QAction* aCut = nullptr;
    QAction* aPaste = nullptr;
    QAction* aLeft = nullptr;
    QAction* aCenter = nullptr;
    QAction* aRight = nullptr;
    QAction* aBullets = nullptr;
};
