#include "tools/windows/NewDictionary.h"

#include "components/InterfaceText.h"
#include "components/MessageForm.h"
#include "engine/DictManager.h"
#include "engine/DictionaryFormat.h"
#include "engine/NISOManager.h"
#include "engine/NewUserDictionary.h"
#include "platform/Locale.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

namespace {

constexpr int kChooserRows = 14;
// Longest texts the catalogue keeps whole (name 100, description 120); file names stay
// well inside the file systems' limit of a name.
constexpr int kMaxName = 100;
constexpr int kMaxPublisher = 120;
constexpr int kMaxFileName = 60;
const char* const kGeneralCode = "UGD";

QLabel* NewLabel(QWidget* parent, const char* name, bool wrap = false)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(wrap);
    return l;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QComboBox* NewChooser(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setMaxVisibleItems(kChooserRows);
    return c;
}

QLabel* PageTitle(QWidget* parent, const char* name)
{
    QLabel* l = NewLabel(parent, name, true);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}

// The side picture: a blue gradient with an open book.
QPixmap WizardPicture(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0x1c, 0x4e, 0x9a));
    g.setColorAt(1, QColor(0x8d, 0xb6, 0xea));
    p.fillRect(pixmap.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    const int cx = size.width() / 2;
    const int top = size.height() / 3;
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 2));
    p.setBrush(QColor(0xfb, 0xf8, 0xf0));
    p.drawPolygon(QPolygon({{cx, top + 8}, {cx - 44, top}, {cx - 44, top + 60}, {cx, top + 68}}));
    p.drawPolygon(QPolygon({{cx, top + 8}, {cx + 44, top}, {cx + 44, top + 60}, {cx, top + 68}}));
    p.setPen(QPen(QColor(0x80, 0x90, 0xa8), 1));
    for (int i = 0; i < 5; ++i) {
        p.drawLine(cx - 36, top + 14 + 9 * i, cx - 8, top + 18 + 9 * i);
        p.drawLine(cx + 8, top + 18 + 9 * i, cx + 36, top + 14 + 9 * i);
    }
    return pixmap;
}

bool IsPathCharacter(QChar c)
{
    return c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
}

}  // namespace

TfNewDictioanry::TfNewDictioanry(TNewDictionaryContext context, QWidget* parent)
    : QDialog(parent),
      Context(std::move(context)),
      LangStrings(*Context.LangStrings)
{
    setObjectName("fNewDictioanry");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    BuildWidgets();
    FormCreate();
}

TfNewDictioanry::~TfNewDictioanry() = default;

void TfNewDictioanry::BuildWidgets()
{
    Image1 = NewLabel(this, "Image1");
    Image1->setFixedSize(140, 300);
    Image1->setPixmap(WizardPicture(Image1->size()));

    pcWizard = new QStackedWidget(this);
    pcWizard->setObjectName("pcWizard");

    tsFirst = new QWidget(pcWizard);
    tsFirst->setObjectName("tsFirst");
    lWizzardCaption = PageTitle(tsFirst, "lWizzardCaption");
    rbLanguage = new QRadioButton(tsFirst);
    rbLanguage->setObjectName("rbLanguage");
    rbLanguage->setChecked(true);
    stLang = NewLabel(tsFirst, "stLang", true);
    rbGeneral = new QRadioButton(tsFirst);
    rbGeneral->setObjectName("rbGeneral");
    stGen = NewLabel(tsFirst, "stGen", true);
    auto* first = new QVBoxLayout(tsFirst);
    first->addWidget(lWizzardCaption);
    first->addSpacing(12);
    first->addWidget(rbLanguage);
    first->addWidget(stLang);
    first->addSpacing(8);
    first->addWidget(rbGeneral);
    first->addWidget(stGen);
    first->addStretch();
    for (QLabel* l : {stLang, stGen})
        l->setContentsMargins(22, 0, 0, 0);

    tsStandatd = new QWidget(pcWizard);
    tsStandatd->setObjectName("tsStandatd");
    lLangStandard = PageTitle(tsStandatd, "lLangStandard");
    lLangFrom = NewLabel(tsStandatd, "lLangFrom");
    cbFrom = NewChooser(tsStandatd, "cbFrom");
    lLangTo = NewLabel(tsStandatd, "lLangTo");
    cbTo = NewChooser(tsStandatd, "cbTo");
    lLangName = NewLabel(tsStandatd, "lLangName");
    eName = NewEdit(tsStandatd, "eName", kMaxName);
    lLangPublisher = NewLabel(tsStandatd, "lLangPublisher");
    ePublisher = NewEdit(tsStandatd, "ePublisher", kMaxPublisher);
    lLangDictName = NewLabel(tsStandatd, "lLangDictName");
    eDictName = NewEdit(tsStandatd, "eDictName", kMaxFileName);
    lFoundAlphabet = NewLabel(tsStandatd, "lFoundAlphabet");
    auto* standard = new QVBoxLayout(tsStandatd);
    auto* standardForm = new QFormLayout;
    standardForm->addRow(lLangFrom, cbFrom);
    standardForm->addRow(lLangTo, cbTo);
    standardForm->addRow(lLangName, eName);
    standardForm->addRow(lLangPublisher, ePublisher);
    standardForm->addRow(lLangDictName, eDictName);
    standard->addWidget(lLangStandard);
    standard->addSpacing(12);
    standard->addLayout(standardForm);
    standard->addWidget(lFoundAlphabet);
    standard->addStretch();

    tsUser = new QWidget(pcWizard);
    tsUser->setObjectName("tsUser");
    lGenCaption = PageTitle(tsUser, "lGenCaption");
    lGenName = NewLabel(tsUser, "lGenName");
    eGenName = NewEdit(tsUser, "eGenName", kMaxName);
    lGenLang = NewLabel(tsUser, "lGenLang");
    cbGenLang = NewChooser(tsUser, "cbGenLang");
    lGenPub = NewLabel(tsUser, "lGenPub");
    eGenPub = NewEdit(tsUser, "eGenPub", kMaxPublisher);
    lGenFile = NewLabel(tsUser, "lGenFile");
    eGenFile = NewEdit(tsUser, "eGenFile", kMaxFileName);
    auto* user = new QVBoxLayout(tsUser);
    auto* userForm = new QFormLayout;
    userForm->addRow(lGenName, eGenName);
    userForm->addRow(lGenLang, cbGenLang);
    userForm->addRow(lGenPub, eGenPub);
    userForm->addRow(lGenFile, eGenFile);
    user->addWidget(lGenCaption);
    user->addSpacing(12);
    user->addLayout(userForm);
    user->addStretch();

    tsFinal = new QWidget(pcWizard);
    tsFinal->setObjectName("tsFinal");
    lFinal = NewLabel(tsFinal, "lFinal", true);
    auto* final = new QVBoxLayout(tsFinal);
    final->addWidget(lFinal);
    final->addStretch();

    for (QWidget* page : {tsFirst, tsStandatd, tsUser, tsFinal})
        pcWizard->addWidget(page);

    bPrev = new QPushButton(this);
    bPrev->setObjectName("bPrev");
    bNext = new QPushButton(this);
    bNext->setObjectName("bNext");
    bCancel = new QPushButton(this);
    bCancel->setObjectName("bCancel");
    for (QPushButton* b : {bPrev, bNext, bCancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }
    bNext->setDefault(true);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bPrev);
    buttons->addWidget(bNext);
    buttons->addSpacing(8);
    buttons->addWidget(bCancel);
    auto* body = new QHBoxLayout;
    body->addWidget(Image1, 0, Qt::AlignTop);
    body->addSpacing(8);
    body->addWidget(pcWizard, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(body);
    all->addWidget(line);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
    pcWizard->setFixedWidth(400);

    connect(bNext, &QPushButton::clicked, this, &TfNewDictioanry::bNextClick);
    connect(bPrev, &QPushButton::clicked, this, &TfNewDictioanry::bPrevClick);
    connect(bCancel, &QPushButton::clicked, this, &TfNewDictioanry::bCancelClick);
    connect(cbFrom, &QComboBox::activated, this, &TfNewDictioanry::cbFromCloseUp);
    connect(cbTo, &QComboBox::activated, this, &TfNewDictioanry::cbToCloseUp);
    connect(cbGenLang, &QComboBox::activated, this, &TfNewDictioanry::cbGenLangCloseUp);
}

void TfNewDictioanry::FormCreate()
{
    try {
        Languages = std::make_unique<TNISOManager>(QDir(Context.AppDir).filePath("NISO.dat").toStdString());
    } catch (const std::exception&) {
        Languages.reset();  // the wizard then refuses to go on (FormShow's message)
    }
    if (Languages) {
        for (const TLanguageRecord& record : Languages->Languages)
            languageNames_.push_back(record.LanguageName.Str());
    }
    for (QComboBox* chooser : {cbFrom, cbTo, cbGenLang}) {
        const QSignalBlocker block(chooser);
        for (const std::string& name : languageNames_)
            chooser->addItem(ToQString(Platform::AnsiToWide(name)));
        chooser->setCurrentIndex(-1);
    }
    SourceCode.clear();
    TargetCode.clear();
    setWindowTitle(LangText(LangStrings, "WizCaption"));
    bCancel->setText(LangText(LangStrings, "WizCancel"));
    bPrev->setText(LangText(LangStrings, "WizPrev"));
    bNext->setText(LangText(LangStrings, "WizNext"));
    lWizzardCaption->setText(LangText(LangStrings, "WizzardCaption"));
    rbLanguage->setText(LangText(LangStrings, "WizLang"));
    stLang->setText(LangText(LangStrings, "WizLangText"));
    rbGeneral->setText(LangText(LangStrings, "WizGen"));
    stGen->setText(LangText(LangStrings, "WizGenText"));
    lLangStandard->setText(LangText(LangStrings, "WizLangStandard"));
    lLangFrom->setText(LangText(LangStrings, "WizLangFrom"));
    lLangTo->setText(LangText(LangStrings, "WizLangTo"));
    lLangName->setText(LangText(LangStrings, "WizLangName"));
    lLangPublisher->setText(LangText(LangStrings, "WizLangPub"));
    lLangDictName->setText(LangText(LangStrings, "WizLangDictName"));
    lGenCaption->setText(LangText(LangStrings, "WizGenCaption"));
    lGenName->setText(LangText(LangStrings, "WizGenName"));
    lGenLang->setText(LangText(LangStrings, "WizGenLang"));
    lGenPub->setText(LangText(LangStrings, "WizPub"));
    lGenFile->setText(LangText(LangStrings, "WizGenFile"));
    lFinal->setText(LangText(LangStrings, "WizFinal"));
    lFoundAlphabet->clear();
}

void TfNewDictioanry::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfNewDictioanry::FormShow()
{
    ShowPage(tsFirstPage);
    bPrev->setEnabled(false);
}

void TfNewDictioanry::ShowPage(TPage page)
{
    pcWizard->setCurrentIndex(page);
}

void TfNewDictioanry::Message(const QString& text, int icon)
{
    ShowMessageForm(this, text, LangStrings, 0, icon);
}

void TfNewDictioanry::bNextClick()
{
    switch (pcWizard->currentIndex()) {
    case tsFirstPage:
        if (!Languages) {
            Message(LangText(LangStrings, "MsgWizNoLanguages"), 2);
            return;
        }
        bPrev->setEnabled(true);
        bNext->setText(LangText(LangStrings, "WizCreate"));
        if (rbLanguage->isChecked()) {
            ShowPage(tsStandatdPage);
            lFoundAlphabet->clear();
            for (QComboBox* c : {cbFrom, cbTo}) {
                const QSignalBlocker block(c);
                c->setCurrentIndex(-1);
            }
            for (QLineEdit* e : {eName, ePublisher, eDictName})
                e->clear();
            cbFrom->setFocus();
        } else {
            ShowPage(tsUserPage);
            for (QLineEdit* e : {eGenName, eGenPub, eGenFile})
                e->clear();
            const QSignalBlocker block(cbGenLang);
            cbGenLang->setCurrentIndex(-1);
            eGenName->setFocus();
        }
        break;
    case tsStandatdPage:
        CreateFromPage({cbFrom, cbTo, eName, ePublisher, eDictName}, false);
        break;
    case tsUserPage:
        CreateFromPage({eGenName, cbGenLang, eGenPub, eGenFile}, true);
        break;
    default:
        done(QDialog::Accepted);
        break;
    }
}

void TfNewDictioanry::CreateFromPage(const std::vector<QWidget*>& fields, bool general)
{
    if (!CheckFields(fields))
        return;
    if (!(general ? WriteGeneralDictionary() : WriteLanguageDictionary()))
        return;
    const QString fileName = (general ? eGenFile : eDictName)->text().trimmed();
    if (!InstallNewDictionary(fileName))
        return;
    if (Context.OpenNewDictionary)
        Context.OpenNewDictionary(general ? std::string(kGeneralCode) : SourceCode, fileName);
    ShowPage(tsFinalPage);
    bNext->setText(LangText(LangStrings, "WizExit"));
    bPrev->setEnabled(false);
    bCancel->setEnabled(false);
    bNext->setFocus();
}

bool TfNewDictioanry::CheckFields(const std::vector<QWidget*>& fields)
{
    for (QWidget* field : fields) {
        const auto* chooser = qobject_cast<QComboBox*>(field);
        const auto* edit = qobject_cast<QLineEdit*>(field);
        const bool empty = chooser ? chooser->currentIndex() < 0 : edit->text().trimmed().isEmpty();
        if (empty) {
            Message(LangText(LangStrings, "MsgFillAllFields"), 1);
            field->setFocus();
            return false;
        }
    }
    // "#" ends a field of the information block; the file name becomes a path.
    for (QWidget* field : fields) {
        auto* edit = qobject_cast<QLineEdit*>(field);
        if (edit && edit->text().contains(u'#')) {
            Message(LangText(LangStrings, "MsgWizHashChar"), 1);
            edit->setFocus();
            return false;
        }
    }
    QLineEdit* file = qobject_cast<QLineEdit*>(fields.back());
    if (std::any_of(file->text().cbegin(), file->text().cend(), IsPathCharacter)) {
        Message(LangText(LangStrings, "MsgWizFileNameChars"), 1);
        file->setFocus();
        return false;
    }
    // The information block is 8-bit text: every character must survive the code page.
    for (QWidget* field : fields) {
        auto* edit = qobject_cast<QLineEdit*>(field);
        bool lossy = false;
        if (edit)
            Platform::WideToAnsi(ToU16(edit->text()), 0, &lossy);
        if (lossy) {
            Message(LangText(LangStrings, "MsgWizCodePage"), 1);
            edit->setFocus();
            return false;
        }
    }
    return true;
}

void TfNewDictioanry::bPrevClick()
{
    if (pcWizard->currentIndex() == tsFinalPage) {
        ShowPage(rbLanguage->isChecked() ? tsStandatdPage : tsUserPage);
        bPrev->setEnabled(true);
    } else {
        ShowPage(tsFirstPage);
        bPrev->setEnabled(false);
    }
    bNext->setText(LangText(LangStrings, "WizNext"));
}

void TfNewDictioanry::bCancelClick()
{
    done(QDialog::Rejected);
}

std::string TfNewDictioanry::ChosenCode(const QComboBox* chooser) const
{
    const int index = chooser->currentIndex();
    if (!Languages || index < 0 || index >= static_cast<int>(languageNames_.size()))
        return {};
    const std::int16_t id = Languages->FindLanguageId(languageNames_[static_cast<std::size_t>(index)], 3);
    return Languages->GetLanguageText(id, 1).substr(0, 3);
}

void TfNewDictioanry::cbFromCloseUp()
{
    SourceCode = ChosenCode(cbFrom);
    AlphabetFound = LoadAlphabet(SourceCode);
}

void TfNewDictioanry::cbToCloseUp()
{
    TargetCode = ChosenCode(cbTo);
}

void TfNewDictioanry::cbGenLangCloseUp()
{
    SourceCode = ChosenCode(cbGenLang);
    AlphabetFound = LoadAlphabet(SourceCode);
    TargetCode = kGeneralCode;
}

bool TfNewDictioanry::LoadAlphabet(const std::string& code)
{
    AlphabetLines.Clear();
    if (code.empty())
        return false;
    TWideStringList alphabets;
    try {
        alphabets.LoadFromFile(QDir(Context.AppDir).filePath("Alphabets.dat").toStdString());
    } catch (const std::exception&) {
        return false;  // no alphabet file: a dictionary without letters
    }
    for (const std::u16string& line : NewDictionary::FindAlphabetLines(alphabets, Platform::AnsiToWide(code)))
        AlphabetLines.Add(line);
    return AlphabetLines.Count() > 0;
}

bool TfNewDictioanry::WriteLanguageDictionary()
{
    // The codes of the choosers as they stand now.
    cbFromCloseUp();
    cbToCloseUp();
    return WriteDictionary({eName->text().trimmed(), ePublisher->text().trimmed(), eDictName->text().trimmed(), false});
}

bool TfNewDictioanry::WriteGeneralDictionary()
{
    cbGenLangCloseUp();
    return WriteDictionary({eGenName->text().trimmed(), eGenPub->text().trimmed(), eGenFile->text().trimmed(), true});
}

QString TfNewDictioanry::DataPath(const QString& fileName) const
{
    return QDir(Context.DataDir).filePath(fileName + ".UDD");
}

bool TfNewDictioanry::WriteDictionary(const TNewFields& fields)
{
    const std::u16string letters =
        AlphabetFound ? NewDictionary::AlphabetLetters(AlphabetLines.Get(0)) : std::u16string();
    if (letters.size() > NewDictionary::kMaxLetters) {
        Message(LangText(LangStrings, "MsgWizTooManyLetters"), 1);
        return false;
    }
    const std::string fileName = Platform::WideToAnsi(ToU16(fields.FileName));
    const QString path = DataPath(fields.FileName);
    if (QFile::exists(path) || Context.DictManager->FindIdByFileName(fileName) >= 0) {
        Message(LangText(LangStrings, "MsgFileExist"), 1);
        return false;
    }
    Dictionary::TDictionaryInfo info;
    info.Date = Platform::WideToAnsi(ToU16(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
    info.Name = Platform::WideToAnsi(ToU16(fields.Name));
    info.Description = Platform::WideToAnsi(ToU16(fields.Publisher));
    info.ShellTag = "Ivy_Crate";
    info.KindKey = fields.General ? "General" : "Language";
    info.LanguagePair = SourceCode + TargetCode;
    info.FileName = fileName;
    try {
        const std::u16string description = AlphabetFound ? AlphabetLines.GetTextStr() : std::u16string();
        NewDictionary::WriteNewFile(path.toStdString(),
                                    NewDictionary::BuildFile(letters, Dictionary::BuildInfoBlock(info), description));
    } catch (const NewDictionary::EFileExists&) {
        Message(LangText(LangStrings, "MsgFileExist"), 1);
        return false;
    } catch (const std::exception&) {
        Message(LangText(LangStrings, "MsgWizWriteFailed"), 2);
        return false;
    }
    return true;
}

bool TfNewDictioanry::InstallNewDictionary(const QString& fileName)
{
    const QString path = DataPath(fileName);
    const std::int16_t result = Context.DictManager->InstallDictionary(path.toStdString());
    if (result == irInstalled)
        return true;
    // Not in the catalogue: the new file goes again, so nothing of this attempt stays.
    QFile::remove(path);
    if (result == irAlreadyInstalled)
        Message(LangText(LangStrings, "MsgDictExist"), 2);
    else
        Message(LangText(LangStrings, "MsgWizInstallFailed"), 2);
    return false;
}
