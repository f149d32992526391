#include "tools/windows/NewWord.h"

#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/MessageForm.h"
#include "engine/Dictionary.h"
#include "engine/LearnDictionary.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichText.h"
#include "tools/windows/NewWordIcons.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using NewWordIcons::TGlyph;

bool HasLineBreak(const QString& word)
{
    for (QChar c : word)
        if (c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x0085))
            return true;
    return false;
}

// An 8-bit file as the rich edit reads it: RTF when it starts so, else plain text (UTF-8 when
// it decodes so, else the system code page).
QString PlainFileText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return ToQString(Platform::AnsiToWide(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

}  // namespace

TfNewWord::TfNewWord(TWordEditorContext context, QWidget* parent)
    : QDialog(parent),
      Context(std::move(context)),
      LangStrings(*Context.LangStrings)
{
    setObjectName("fNewWord");
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    resize(560, 420);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setIconSize(QSize(20, 20));
    BuildToolBar();

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    BuildFormatBar();

    Panel2 = new QWidget(this);
    Panel2->setObjectName("Panel2");
    lNewWord = new QLabel(Panel2);
    lNewWord->setObjectName("lNewWord");
    eNewWord = new QLineEdit(Panel2);
    eNewWord->setObjectName("eNewWord");
    lDescription = new QLabel(Panel2);
    lDescription->setObjectName("lDescription");
    auto* wordRow = new QHBoxLayout;
    wordRow->setSpacing(5);  // the word field 5 pixels right of its label
    wordRow->addWidget(lNewWord);
    wordRow->addWidget(eNewWord, 1);
    auto* panel2 = new QVBoxLayout(Panel2);
    panel2->setContentsMargins(0, 0, 0, 0);
    panel2->addLayout(wordRow);
    panel2->addWidget(lDescription);

    MBox1 = new TMBox(this);
    MBox1->setObjectName("MBox1");
    MBox1->SetColor(clWhite);
    reNewDescription = new TNewWordRichEdit(MBox1);
    reNewDescription->setObjectName("reNewDescription");
    reNewDescription->setFrameShape(QFrame::NoFrame);
    reNewDescription->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    reNewDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont articleFont = reNewDescription->document()->defaultFont();
    articleFont.setPointSize(10);  // the size the size box shows at first
    reNewDescription->document()->setDefaultFont(articleFont);
    auto* box = new QVBoxLayout(MBox1);
    box->setContentsMargins(1, 1, 1, 1);
    box->addWidget(reNewDescription);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(4, 0, 4, 4);
    all->setSpacing(4);
    all->addWidget(ToolBar1);
    all->addWidget(Panel1);
    all->addWidget(Panel2);
    all->addWidget(MBox1, 1);

    eNewWord->installEventFilter(this);
    cbSize->lineEdit()->installEventFilter(this);
    ConnectHandlers();
    FormCreate();
}

TfNewWord::~TfNewWord() = default;

QAction* TfNewWord::AddButton(const char* name, int glyph, const QKeySequence& keys)
{
    auto* action = new QAction(NewWordIcons::Icon(static_cast<TGlyph>(glyph)), QString(), this);
    action->setObjectName(QStringLiteral("a_") + QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    ToolBar1->addAction(action);
    ToolBar1->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    return action;
}

void TfNewWord::BuildToolBar()
{
    aAddWord = AddButton("tbAddWord", int(TGlyph::Add), {});
    aSave = AddButton("tbSave", int(TGlyph::Save), {});
    aLearn = AddButton("tbLearn", int(TGlyph::SaveList), {});
    FileOpen1 = AddButton("tbOpen", int(TGlyph::Open), QKeySequence(Qt::CTRL | Qt::Key_O));
    ToolBar1->addSeparator();
    aCopy = AddButton("tbCopy", int(TGlyph::Copy), QKeySequence::Copy);
    aCut = AddButton("tbCut", int(TGlyph::Cut), QKeySequence::Cut);
    aPaste = AddButton("tbPaste", int(TGlyph::Paste), QKeySequence::Paste);
    aUndo = AddButton("ToolButton6", int(TGlyph::Undo), QKeySequence::Undo);
    ToolBar1->addSeparator();
    RichEditBold1 = AddButton("tbBold", int(TGlyph::Bold), QKeySequence::Bold);
    RichEditItalic1 = AddButton("tbItalic", int(TGlyph::Italic), QKeySequence::Italic);
    RichEditUnderline1 = AddButton("tbUnderline", int(TGlyph::Underline), QKeySequence::Underline);
    ToolBar1->addSeparator();
    aLeft = AddButton("tbAlignLeft", int(TGlyph::AlignLeft), {});
    aCenter = AddButton("tbCenter", int(TGlyph::Center), {});
    aRight = AddButton("tbAlignRight", int(TGlyph::AlignRight), {});
    aBullets = AddButton("tbBullets", int(TGlyph::Bullets), {});
    ColorSelect1 = AddButton("ToolButton16", int(TGlyph::Colour), {});
    for (QAction* a : {RichEditBold1, RichEditItalic1, RichEditUnderline1, aLeft, aCenter, aRight, aBullets})
        a->setCheckable(true);

    tbAddWord = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(aAddWord));
    tbSave = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(aSave));
    tbLearn = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(aLearn));
    ToolButton6 = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(aUndo));
    ToolButton16 = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(ColorSelect1));

    // Actions without a button: select all, delete, strikeout.
    auto* selectAll = new QAction(this);
    selectAll->setShortcut(QKeySequence::SelectAll);
    auto* erase = new QAction(this);
    erase->setShortcut(QKeySequence::Delete);
    RichEditStrikeOut1 = new QAction(this);
    RichEditStrikeOut1->setCheckable(true);
    addActions({selectAll, erase, RichEditStrikeOut1});

    // Editing actions work on the focused field, the word or the article.
    using TLineCall = void (*)(QLineEdit*);
    using TTextCall = void (*)(QTextEdit*);
    auto onFocused = [this](TLineCall lineCall, TTextCall textCall) {
        return [this, lineCall, textCall]() {
            if (auto* line = qobject_cast<QLineEdit*>(focusWidget()))
                lineCall(line);
            else if (focusWidget() == reNewDescription)
                textCall(reNewDescription);
        };
    };
    connect(aCopy, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->copy(); }, [](QTextEdit* e) { e->copy(); }));
    connect(aCut, &QAction::triggered, this, onFocused([](QLineEdit* e) { e->cut(); }, [](QTextEdit* e) { e->cut(); }));
    connect(aPaste, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->paste(); }, [](QTextEdit* e) { e->paste(); }));
    connect(aUndo, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->undo(); }, [](QTextEdit* e) { e->undo(); }));
    connect(selectAll, &QAction::triggered, this,
            onFocused([](QLineEdit* e) { e->selectAll(); }, [](QTextEdit* e) { e->selectAll(); }));
    connect(erase, &QAction::triggered, this, [this]() {
        if (auto* line = qobject_cast<QLineEdit*>(focusWidget()))
            line->del();
        else if (focusWidget() == reNewDescription)
            reNewDescription->textCursor().deleteChar();
    });
    connect(RichEditBold1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        MergeFormat(f);
    });
    connect(RichEditItalic1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        MergeFormat(f);
    });
    connect(RichEditUnderline1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        MergeFormat(f);
    });
    connect(RichEditStrikeOut1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontStrikeOut(on);
        MergeFormat(f);
    });
    const std::pair<QAction*, Qt::Alignment> alignments[] = {
        {aLeft, Qt::AlignLeft}, {aCenter, Qt::AlignHCenter}, {aRight, Qt::AlignRight}};
    for (const auto& [action, alignment] : alignments) {
        connect(action, &QAction::triggered, this, [this, alignment = alignment]() {
            reNewDescription->setAlignment(alignment);
            reNewDescriptionSelectionChange();
        });
    }
    connect(aBullets, &QAction::triggered, this, [this](bool on) {
        QTextCursor c = reNewDescription->textCursor();
        if (on) {
            c.createList(QTextListFormat::ListDisc);
        } else if (QTextList* list = c.currentList()) {
            QTextBlockFormat block = c.blockFormat();
            list->remove(c.block());
            block.setIndent(0);
            block.setObjectIndex(-1);
            c.setBlockFormat(block);
        }
    });
}

void TfNewWord::ConnectHandlers()
{
    connect(aAddWord, &QAction::triggered, this, &TfNewWord::tbAddWordClick);
    connect(aSave, &QAction::triggered, this, &TfNewWord::tbSaveClick);
    connect(aLearn, &QAction::triggered, this, &TfNewWord::tbLearnClick);
    connect(FileOpen1, &QAction::triggered, this, &TfNewWord::FileOpen1Execute);
    connect(ColorSelect1, &QAction::triggered, this, &TfNewWord::ColorSelect1Execute);
    connect(cbFonts, &QComboBox::activated, this, &TfNewWord::cbFontsChange);
    connect(cbSize, &QComboBox::activated, this, [this]() { cbSizeChange(true); });
    connect(cbSize->lineEdit(), &QLineEdit::textEdited, this, [this]() { cbSizeChange(false); });
    connect(ColorBox1, &QComboBox::activated, this, &TfNewWord::ColorBox1Change);
    connect(reNewDescription, &QTextEdit::cursorPositionChanged, this, &TfNewWord::reNewDescriptionSelectionChange);
    connect(reNewDescription, &QTextEdit::currentCharFormatChanged, this, &TfNewWord::reNewDescriptionSelectionChange);
    connect(reNewDescription, &QTextEdit::undoAvailable, aUndo, &QAction::setEnabled);
}

void TfNewWord::FormCreate()
{
    MBox1->SetAdvancedDrow(false);
    lNewWord->setText(LangText(LangStrings, "NFWord"));
    lDescription->setText(LangText(LangStrings, "NFDescription"));
    const std::pair<QAction*, QString> hints[] = {
        {aAddWord, LangText(LangStrings, "NFHintAdd")},
        {aSave, LangText(LangStrings, "NFHintSave")},
        {aLearn, LangText(LangStrings, "NFHintSaveList")},
        {FileOpen1, LangText(LangStrings, "NFHintOpen")},
        {aCopy, LangText(LangStrings, "NFHintCopy")},
        {aCut, LangText(LangStrings, "NFHintCut")},
        {aPaste, LangText(LangStrings, "NFHintPaste")},
        {aUndo, LangText(LangStrings, "NFHintUndo")},
        {RichEditBold1, LangText(LangStrings, "NFHintBold")},
        {RichEditItalic1, LangText(LangStrings, "NFHintItalic")},
        {RichEditUnderline1, LangText(LangStrings, "NFHintUnderline")},
        {aLeft, LangText(LangStrings, "NFHintLeft")},
        {aCenter, LangText(LangStrings, "NFHintCenter")},
        {aRight, LangText(LangStrings, "NFHintRight")},
        {aBullets, LangText(LangStrings, "NFHintBullets")},
        {ColorSelect1, LangText(LangStrings, "NFHintColour")},
    };
    for (const auto& [action, hint] : hints)
        action->setToolTip(hint);
    cbFonts->setToolTip(LangText(LangStrings, "NFHintFont"));
    cbSize->setToolTip(LangText(LangStrings, "NFHintSize"));
    ColorBox1->setToolTip(LangText(LangStrings, "NFHintColourBox"));
    FillFormatBar();
    aUndo->setEnabled(false);
    PrepareAdd();
}

void TfNewWord::SetMode(QAction* visible)
{
    for (QAction* a : {aAddWord, aSave, aLearn})
        a->setVisible(a == visible);
}

void TfNewWord::PrepareAdd()
{
    SetMode(aAddWord);
    eNewWord->setReadOnly(false);
    eNewWord->setEnabled(true);
    eNewWord->clear();
    reNewDescription->clear();
    EditIndex = 0;
}

void TfNewWord::PrepareEdit(std::int32_t index, const QString& word, const std::string& article)
{
    SetMode(aSave);
    EditIndex = index;
    eNewWord->setText(word);
    eNewWord->setReadOnly(true);
    eNewWord->setEnabled(false);
    SetArticle(article);
}

void TfNewWord::PrepareListEdit(std::int32_t position, const QString& word, const std::string& article)
{
    SetMode(aLearn);
    EditIndex = position;
    eNewWord->setText(word);
    eNewWord->setReadOnly(true);
    SetArticle(article);
}

void TfNewWord::SetArticle(const std::string& article)
{
    RichText::ReadRtf(article, *reNewDescription->document());
    reNewDescription->document()->clearUndoRedoStacks();
    reNewDescription->moveCursor(QTextCursor::Start);
}

std::string TfNewWord::ArticleText()
{
    std::string text;
    RichEditToText(reNewDescription, text);
    return text;
}

void TfNewWord::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfNewWord::FormShow()
{
    if (aAddWord->isVisible()) {
        setWindowTitle(LangText(LangStrings, "NFCaption"));
        eNewWord->setFocus();
    } else {
        setWindowTitle(LangText(LangStrings, "NFCaptionEdit"));
        reNewDescription->setFocus();
    }
}

void TfNewWord::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TfNewWord::FormClose()
{
    SetMode(aAddWord);
    eNewWord->setReadOnly(false);
    eNewWord->setEnabled(true);
}

void TfNewWord::Message(const QString& text)
{
    ShowMessageForm(this, text, LangStrings, 0, 1);
}

void TfNewWord::ShowResult(std::int16_t result)
{
    switch (result) {
    case WordResult::Done:
        break;
    case WordResult::WordExists:
        Message(LangText(LangStrings, "MsgWordExist"));
        break;
    case WordResult::WrongLanguage:
        Message(LangText(LangStrings, "MsgWrongWord"));
        break;
    case WordResult::SectionsFull:
        Message(LangText(LangStrings, "MsgWordSectionsFull"));
        break;
    case WordResult::InOutError:
        Message(LangText(LangStrings, "MsgWordReadError"));
        break;
    case WordResult::WriteError:
        Message(LangText(LangStrings, "MsgWordWriteError"));
        break;
    default:
        Message(LangText(LangStrings, "MsgWordNotSaved"));
        break;
    }
}

void TfNewWord::tbAddWordClick()
{
    // Leading and trailing blanks are not part of the word (a leading one would hide its letter).
    const QString word = eNewWord->text().trimmed();
    if (word.isEmpty())
        return;
    if (HasLineBreak(word)) {
        Message(LangText(LangStrings, "MsgWordLineBreak"));
        return;
    }
    const std::string article = ArticleText();
    const AddWordResult result =
        Context.Dictionary ? Context.Dictionary->AddWord(ToU16(word), article) : WordResult::OtherFailure;
    if (result != WordResult::Done) {
        ShowResult(result);
        return;
    }
    if (UpCaseLetter(word.at(0).unicode()) == Context.Dictionary->CurrentLetter && Context.ShowAddedWord)
        Context.ShowAddedWord(word);
    done(QDialog::Accepted);
}

void TfNewWord::tbSaveClick()
{
    const std::string article = ArticleText();
    const AddWordResult result =
        Context.Dictionary ? Context.Dictionary->EditWord(EditIndex, article) : WordResult::OtherFailure;
    if (result != WordResult::Done) {
        ShowResult(result);
        return;
    }
    if (Context.ShowEditedArticle)
        Context.ShowEditedArticle();
    done(QDialog::Accepted);
}

void TfNewWord::tbLearnClick()
{
    const std::string article = ArticleText();
    if (!Context.LearnDictionary || !Context.LearnDictionary->ReplaceArticle(EditIndex, article)) {
        Message(LangText(LangStrings, "MsgWordNotSaved"));
        return;
    }
    if (Context.ShowEditedListArticle)
        Context.ShowEditedListArticle();
    done(QDialog::Accepted);
}

void TfNewWord::FileOpen1Execute()
{
    const QString fileName =
        QFileDialog::getOpenFileName(this, QString(), QString(), LangText(LangStrings, "NFOpenFilter"));
    if (!fileName.isEmpty())
        FileOpen1Accept(fileName);
}

void TfNewWord::FileOpen1Accept(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Message(LangText(LangStrings, "MsgWordOpenFailed"));
        return;  // the article keeps its text
    }
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("{\\rtf"))
        RichText::ReadRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                          *reNewDescription->document());
    else
        reNewDescription->setPlainText(PlainFileText(bytes));
}

bool TfNewWord::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == eNewWord && event->type() == QEvent::FocusIn)
        eNewWordEnter();
    else if (watched == eNewWord && event->type() == QEvent::FocusOut)
        eNewWordExit();
    else if (watched == cbSize->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cbSizeChange(true);  // cbSizeKeyDown
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
