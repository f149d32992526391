#include "tools/windows/NumTran.h"

#include "components/InterfaceText.h"
#include "components/MBox.h"
#include "components/WindowFrame.h"
#include "components/WindowPlacement.h"
#include "tools/NumberWords.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int kMaxDigits = 10;
constexpr int kMargin = 8;
constexpr int kButtonGap = 11;
constexpr int kButtonWidth = 90;
constexpr int kColumnWidth = 140;
// What a window manager's title bar takes besides the title: icon, close button, margins.
constexpr int kTitleBarReserve = 96;

// The words label: a word longer than the line (Italian writes a number as one word) is
// broken where the line ends instead of being cut at the box edge.
class TWordsLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(foregroundRole()));
        QTextOption option(alignment());
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        p.drawText(QRectF(contentsRect()), text(), option);
    }
};

// A button as wide as its caption needs, never narrower than the layout's width.
int ButtonWidth(const QPushButton* button)
{
    return std::max(kButtonWidth, button->sizeHint().width() + 2 * kMargin);
}

}  // namespace

TfNumTran::TfNumTran(const TWideStrings& langStrings, QWidget* parent)
    : QDialog(parent),
      LangStrings(langStrings)
{
    setObjectName("fNumTran");
    // Title, system menu and close button only: no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont tahoma("Tahoma");
    tahoma.setPointSize(8);
    setFont(tahoma);

    lNumber = new QLabel(this);
    lNumber->setObjectName("lNumber");
    eNumber = new QLineEdit(this);
    eNumber->setObjectName("eNumber");
    eNumber->setMaxLength(kMaxDigits);
    // Only digits reach the box, typed or pasted: a pasted "-5" or "12a" is refused whole.
    eNumber->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), eNumber));
    eNumber->installEventFilter(this);

    lLabguage = new QLabel(this);
    lLabguage->setObjectName("lLabguage");
    cbLanguage = new QComboBox(this);
    cbLanguage->setObjectName("cbLanguage");
    cbLanguage->addItems({"English", "German", "Espanol", "French", "Italian", "Russian", "Turkish"});
    cbLanguage->setCurrentIndex(0);

    // A framed box in the window colour, without title or picture.
    MBox1 = new TMBox(this);
    MBox1->setObjectName("MBox1");
    MBox1->SetColor(clWindow);
    MBox1->SetBackground(false);
    MBox1->SetAdvancedDrow(false);
    Label1 = new TWordsLabel(MBox1);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    bTranslate = new QPushButton(this);
    bTranslate->setObjectName("bTranslate");
    UniButton1 = new QPushButton("Copy", this);
    UniButton1->setObjectName("UniButton1");
    bClose = new QPushButton(this);
    bClose->setObjectName("bClose");
    for (QPushButton* b : {bTranslate, UniButton1, bClose})
        b->setAutoDefault(false);
    setTabOrder(eNumber, cbLanguage);
    setTabOrder(cbLanguage, bTranslate);
    setTabOrder(bTranslate, bClose);
    setTabOrder(bClose, UniButton1);

    connect(bTranslate, &QPushButton::clicked, this, &TfNumTran::bTranslateClick);
    connect(cbLanguage, &QComboBox::activated, this, &TfNumTran::cbLanguageChange);
    connect(UniButton1, &QPushButton::clicked, this, &TfNumTran::UniButton1Click);
    connect(bClose, &QPushButton::clicked, this, &TfNumTran::bCloseClick);
    FormCreate();  // sets the captions and lays the window out for them
}

void TfNumTran::FormCreate()
{
    setWindowTitle(LangText(LangStrings, "TranCaption"));
    lNumber->setText(LangText(LangStrings, "TranNumber"));
    lLabguage->setText(LangText(LangStrings, "TranLanguage"));
    bTranslate->setText(LangText(LangStrings, "TranButTran"));
    bClose->setText(LangText(LangStrings, "TranButClose"));
    LanguageIndex = 0;
    FitCaptions();
}

// The window keeps its layout and grows where a language's captions need more room: buttons
// as wide as their captions, the window as wide as its buttons and its title.
void TfNumTran::FitCaptions()
{
    const QPushButton* buttons[] = {bTranslate, UniButton1, bClose};
    int buttonsWidth = 2 * kButtonGap;
    for (const QPushButton* b : buttons)
        buttonsWidth += ButtonWidth(b);
    QFont titleFont = font();
    titleFont.setBold(true);
    // The window system shows the program's name after the title.
    QString title = windowTitle();
    const QString program = QGuiApplication::applicationDisplayName();
    if (!program.isEmpty() && !title.endsWith(program))
        title += QStringLiteral(" \u2014 ") + program;
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarReserve;
    const int labelWidth = std::max(QFontMetrics(lNumber->font()).horizontalAdvance(lNumber->text()),
                                    QFontMetrics(lLabguage->font()).horizontalAdvance(lLabguage->text()));
    const int columnsWidth = 2 * std::max(kColumnWidth, labelWidth) + 3 * kMargin + 4;
    const int w = std::max({308, buttonsWidth + 2 * kMargin, titleWidth, columnsWidth});
    setFixedSize(w, 179);

    const int column = (w - 3 * kMargin - 4) / 2;
    lNumber->setGeometry(kMargin, 4, column, 16);
    eNumber->setGeometry(kMargin, 20, kColumnWidth, 22);
    lLabguage->setGeometry(w - kMargin - column, 4, column, 16);
    cbLanguage->setGeometry(w - kMargin - kColumnWidth, 20, kColumnWidth, 22);
    MBox1->setGeometry(kMargin, 50, w - 2 * kMargin, 89);
    Label1->setGeometry(1, 2, w - 2 * kMargin - 2, 85);

    // Translate at the left, Close at the right, Copy in the middle of the space between.
    bTranslate->setGeometry(kMargin, 147, ButtonWidth(bTranslate), 25);
    bClose->setGeometry(w - kMargin - ButtonWidth(bClose), 147, ButtonWidth(bClose), 25);
    const int copy = ButtonWidth(UniButton1);
    const int between =
        bTranslate->geometry().right() + 1 + (bClose->x() - bTranslate->geometry().right() - 1 - copy) / 2;
    UniButton1->setGeometry(between, 147, copy, 25);
}

std::int32_t TfNumTran::ReadNumber() const
{
    QString text = eNumber->text();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    qint64 n = text.toLongLong(&ok);
    if (!ok || n < 0)
        return 0;
    // A ten-digit number beyond the 32-bit range gives the number of its first nine digits.
    if (n > 2147483647)
        n = text.left(9).toLongLong();
    return static_cast<std::int32_t>(n);
}

void TfNumTran::bTranslateClick()
{
    CurrentNumber = ReadNumber();
    if ((LanguageIndex == nlSpanish || LanguageIndex == nlFrench) && CurrentNumber > 999999999)
        CurrentNumber /= 10;
    std::string words;
    try {
        NumberToWords(LanguageIndex, 0, {}, words, CurrentNumber);
    } catch (const EConvertError&) {
        words.clear();
    }
    const std::u16string wide = NumberWordsToWide(LanguageIndex, words);
    Label1->setText(QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())));
    eNumber->setText(QString::number(CurrentNumber));
}

void TfNumTran::cbLanguageChange(int index)
{
    if (index < 0 || index > nlTurkish)
        return;
    LanguageIndex = static_cast<std::uint8_t>(index);
    if (index == nlSpanish || index == nlFrench) {
        const bool empty = eNumber->text().isEmpty();
        CurrentNumber = ReadNumber();
        if (!empty && CurrentNumber > 999999999)
            CurrentNumber /= 10;
        eNumber->setText(QString::number(CurrentNumber));
    }
    if (!eNumber->text().isEmpty())
        bTranslateClick();
}

void TfNumTran::UniButton1Click()
{
    QApplication::clipboard()->setText(Label1->text());
}

void TfNumTran::bCloseClick()
{
    done(QDialog::Accepted);
}

void TfNumTran::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        RequestCloseButtonOnly(*this);
        PlaceOnOwner(*this, parentWidget());
    }
    QDialog::showEvent(event);
}

void TfNumTran::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        done(QDialog::Accepted);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfNumTran::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == eNumber && event->type() == QEvent::KeyPress) {
        auto key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            bTranslateClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
