// The word editor's format bar and the formatting of the article's selection.
#include "tools/windows/NewWord.h"

#include "components/InterfaceText.h"
#include "tools/windows/NewWordIcons.h"
#include "tools/windows/NewWordRichEdit.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QToolBar>

namespace {

constexpr int kFontRows = 26;
constexpr int kMaxFontSize = 1638;
const char* const kSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "22", "24", "26", "28", "36", "48", "72"};

// The colour chooser's colours: the sixteen standard ones, then the extended ones.
const QRgb kColours[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
                         0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
                         0x00FFFF, 0xFFFFFF, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4};

}  // namespace

void TfNewWord::BuildFormatBar()
{
    cbFonts = new QComboBox(Panel1);
    cbFonts->setObjectName("cbFonts");
    cbFonts->setMaxVisibleItems(kFontRows);
    cbFonts->setMinimumWidth(200);
    cbSize = new QComboBox(Panel1);
    cbSize->setObjectName("cbSize");
    cbSize->setEditable(true);
    cbSize->setInsertPolicy(QComboBox::NoInsert);
    cbSize->setMinimumWidth(60);
    for (const char* size : kSizes)
        cbSize->addItem(QString::fromLatin1(size));
    ColorBox1 = new QComboBox(Panel1);
    ColorBox1->setObjectName("ColorBox1");
    ColorBox1->setMinimumWidth(140);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(cbFonts);
    row->addWidget(cbSize);
    row->addWidget(ColorBox1);
    row->addStretch();
}

void TfNewWord::FillFormatBar()
{
    {
        const QSignalBlocker block(cbFonts);
        cbFonts->addItems(QFontDatabase::families());
    }
    const QString names[] = {
        LangText(LangStrings, "NFColourBlack"),      LangText(LangStrings, "NFColourMaroon"),
        LangText(LangStrings, "NFColourGreen"),      LangText(LangStrings, "NFColourOlive"),
        LangText(LangStrings, "NFColourNavy"),       LangText(LangStrings, "NFColourPurple"),
        LangText(LangStrings, "NFColourTeal"),       LangText(LangStrings, "NFColourGray"),
        LangText(LangStrings, "NFColourSilver"),     LangText(LangStrings, "NFColourRed"),
        LangText(LangStrings, "NFColourLime"),       LangText(LangStrings, "NFColourYellow"),
        LangText(LangStrings, "NFColourBlue"),       LangText(LangStrings, "NFColourFuchsia"),
        LangText(LangStrings, "NFColourAqua"),       LangText(LangStrings, "NFColourWhite"),
        LangText(LangStrings, "NFColourMoneyGreen"), LangText(LangStrings, "NFColourSkyBlue"),
        LangText(LangStrings, "NFColourCream"),      LangText(LangStrings, "NFColourMedGray"),
    };
    {
        const QSignalBlocker block(ColorBox1);
        for (std::size_t i = 0; i < std::size(kColours); ++i)
            ColorBox1->addItem(NewWordIcons::Swatch(QColor(kColours[i])), names[i], QColor(kColours[i]));
    }
    {
        const QSignalBlocker block(cbSize);
        cbSize->setCurrentText(QStringLiteral("10"));
    }
}

void TfNewWord::MergeFormat(const QTextCharFormat& format)
{
    reNewDescription->mergeCurrentCharFormat(format);
}

void TfNewWord::cbFontsChange()
{
    QTextCharFormat f;
    f.setFontFamilies({cbFonts->currentText()});
    MergeFormat(f);
    reNewDescription->setFocus();
}

void TfNewWord::cbSizeChange(bool focusArticle)
{
    bool ok = false;
    const int size = cbSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > kMaxFontSize)
        return;  // not a size (yet): typing goes on
    QTextCharFormat f;
    f.setFontPointSize(size);
    MergeFormat(f);
    if (focusArticle)
        reNewDescription->setFocus();
}

void TfNewWord::ColorBox1Change()
{
    const QColor colour = ColorBox1->currentData().value<QColor>();
    if (!colour.isValid())
        return;
    QTextCharFormat f;
    f.setForeground(colour);
    MergeFormat(f);
    reNewDescription->setFocus();
}

void TfNewWord::ColorSelect1Execute()
{
    const QColor colour = QColorDialog::getColor(reNewDescription->textColor(), this);
    if (colour.isValid())
        ColorSelect1Accept(colour);
}

void TfNewWord::ColorSelect1Accept(const QColor& colour)
{
    QTextCharFormat f;
    f.setForeground(colour);
    MergeFormat(f);
    reNewDescriptionSelectionChange();
}

void TfNewWord::reNewDescriptionSelectionChange()
{
    const QTextCharFormat f = reNewDescription->currentCharFormat();
    const QColor colour = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(Qt::black);
    const QStringList families = f.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? reNewDescription->document()->defaultFont().family() : families.first();
    const double points =
        f.fontPointSize() > 0 ? f.fontPointSize() : reNewDescription->document()->defaultFont().pointSizeF();
    {
        const QSignalBlocker b1(ColorBox1), b2(cbFonts), b3(cbSize);
        ColorBox1->setCurrentIndex(ColorBox1->findData(colour));
        cbFonts->setCurrentIndex(cbFonts->findText(family));
        cbSize->setCurrentText(QString::number(qRound(points)));
    }
    const Qt::Alignment align = reNewDescription->alignment() & Qt::AlignHorizontal_Mask;
    RichEditBold1->setChecked(f.fontWeight() >= QFont::Bold);
    RichEditItalic1->setChecked(f.fontItalic());
    RichEditUnderline1->setChecked(f.fontUnderline());
    RichEditStrikeOut1->setChecked(f.fontStrikeOut());
    aLeft->setChecked(align == Qt::AlignLeft || align == Qt::AlignLeading);
    aCenter->setChecked(align == Qt::AlignHCenter);
    aRight->setChecked(align == Qt::AlignRight || align == Qt::AlignTrailing);
    aBullets->setChecked(reNewDescription->textCursor().currentList() != nullptr);
}

// Formatting belongs to the article: its actions rest while the word field has the focus.
void TfNewWord::eNewWordEnter()
{
    for (QAction* a : FormattingActions())
        a->setEnabled(false);
}

void TfNewWord::eNewWordExit()
{
    for (QAction* a : FormattingActions())
        a->setEnabled(true);
}

std::vector<QAction*> TfNewWord::FormattingActions() const
{
    return {ColorSelect1, RichEditBold1, RichEditItalic1, RichEditUnderline1, RichEditStrikeOut1, aLeft,
            aCenter,      aRight,        aBullets};
}
