// The main window's widgets, menus, tool bars and the wiring of their user signals to the
// handlers. Captions here are defaults; ApplyInterfaceLanguage sets the real texts.
#include "app/mainwindow/BannerImage.h"
#include "app/mainwindow/LexDictionary.h"
#include "app/mainwindow/WordListModel.h"
#include "components/GradientProgress.h"
#include "components/MBox.h"
#include "components/ShapeButton.h"
#include "components/TrayIcon.h"
#include "platform/qt/Colors.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction* NewAction(QObject* parent, const char* name, const QString& text)
{
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QToolButton* NewToolButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoRaise(true);
    return b;
}

// A 13 x 13 close button drawn from pictures: a cross on a framed face, lighter while the
// mouse is over it, sunken while pressed, grey when disabled.
QImage ClosePicture(const QColor& face, const QColor& cross, bool sunken)
{
    QImage image(13, 13, QImage::Format_RGB32);
    image.fill(face);
    QPainter p(&image);
    p.setPen(sunken ? QColor(0x80, 0x80, 0x80) : QColor(0xFF, 0xFF, 0xFF));
    p.drawLine(0, 0, 12, 0);
    p.drawLine(0, 0, 0, 12);
    p.setPen(sunken ? QColor(0xFF, 0xFF, 0xFF) : QColor(0x80, 0x80, 0x80));
    p.drawLine(12, 1, 12, 12);
    p.drawLine(1, 12, 12, 12);
    p.setPen(QPen(cross, 1.6));
    p.setRenderHint(QPainter::Antialiasing);
    const int d = sunken ? 1 : 0;
    p.drawLine(QPointF(3.5 + d, 3.5 + d), QPointF(9.5 + d, 9.5 + d));
    p.drawLine(QPointF(9.5 + d, 3.5 + d), QPointF(3.5 + d, 9.5 + d));
    return image;
}

TShapeButton* NewCloseButton(QWidget* parent, const char* name)
{
    auto* b = new TShapeButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    const QColor face(0xD4, 0xD0, 0xC8);
    b->SetPicIdle(ClosePicture(face, Qt::black, false));
    b->SetPicUp(ClosePicture(QColor(0xEC, 0xE9, 0xE2), QColor(0xC0, 0x20, 0x20), false));
    b->SetPicDown(ClosePicture(face, Qt::black, true));
    b->SetPicDsbld(ClosePicture(face, QColor(0xA0, 0xA0, 0xA0), false));
    b->SetPaintMode(pmNormal);
    b->SetAutoRepeat(false);
    b->setFixedSize(13, 13);
    return b;
}

}  // namespace

void TfLexDictionary::BuildWidgets()
{
    auto* central = new QWidget(this);
    central->setObjectName("pMain");
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    BuildToolBars();
    v->addWidget(CoolBar1);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName("Splitter1");
    splitter->setChildrenCollapsible(false);
    v->addWidget(splitter, 1);

    pLeft = new QWidget(splitter);
    pLeft->setObjectName("pLeft");
    pLeft->setMinimumWidth(140);
    auto* left = new QVBoxLayout(pLeft);
    left->setContentsMargins(2, 2, 2, 2);
    left->setSpacing(2);
    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(1);
    cbFind = new QComboBox(pLeft);
    cbFind->setObjectName("cbFind");
    cbFind->setEditable(true);
    cbFind->setInsertPolicy(QComboBox::NoInsert);
    cbFind->setCompleter(nullptr);
    cbFind->setMaxVisibleItems(20);
    cbFind->setMinimumWidth(60);
    cbFind->lineEdit()->setObjectName("cbFindEdit");
    findRow->addWidget(cbFind, 1);
    bFund = NewToolButton(pLeft, "bFund", QStyle::SP_FileDialogContentsView);
    bFund->setPopupMode(QToolButton::MenuButtonPopup);
    findRow->addWidget(bFund);
    left->addLayout(findRow);

    WordsModel = new TWordListModel(this);
    lbWords = new QListView(pLeft);
    lbWords->setObjectName("lbWords");
    lbWords->setModel(WordsModel);
    lbWords->setItemDelegate(new TWordListDelegate(lbWords));
    lbWords->setUniformItemSizes(true);
    lbWords->setSelectionMode(QAbstractItemView::SingleSelection);
    lbWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbWords->setLayoutMode(QListView::SinglePass);
    lbWords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    left->addWidget(lbWords, 1);

    auto* right = new QWidget(splitter);
    right->setObjectName("pRight");
    auto* rightRow = new QHBoxLayout(right);
    rightRow->setContentsMargins(0, 2, 2, 2);
    rightRow->setSpacing(2);
    auto* article = new QVBoxLayout;
    article->setSpacing(2);
    rightRow->addLayout(article, 1);

    mbAlphabet = new TMBox(right);
    mbAlphabet->setObjectName("mbAlphabet");
    mbAlphabet->SetColor(clBtnFace);
    mbAlphabet->SetBorderColor(clBtnShadow);
    mbAlphabet->setFixedHeight(42);
    // The letter rows take the width the window gives (their links close up to fit).
    mbAlphabet->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    mbAlphabet->installEventFilter(this);
    ShapeButton1 = NewCloseButton(mbAlphabet, "ShapeButton1");
    auto* closeRow = new QHBoxLayout(mbAlphabet);
    closeRow->setContentsMargins(0, 1, 1, 0);
    closeRow->addStretch(1);
    closeRow->addWidget(ShapeButton1, 0, Qt::AlignTop);
    article->addWidget(mbAlphabet);

    reDescription = new QTextEdit(right);
    reDescription->setObjectName("reDescription");
    reDescription->setReadOnly(true);
    reDescription->viewport()->installEventFilter(this);
    article->addWidget(reDescription, 1);

    pBanner = new TMBox(right);
    pBanner->SetColor(clBtnFace);
    pBanner->SetBorderColor(clBtnFace);
    pBanner->setObjectName("pBanner");
    pBanner->setCursor(Qt::PointingHandCursor);
    auto* bannerRow = new QHBoxLayout(pBanner);
    bannerRow->setContentsMargins(0, 0, 0, 0);
    IBaner = new TBannerImage(pBanner);
    IBaner->setObjectName("IBaner");
    IBaner->installEventFilter(this);
    bannerRow->addWidget(IBaner);
    pBanner->hide();
    article->addWidget(pBanner);

    pDownload = new TMBox(right);
    pDownload->SetColor(clBtnFace);
    pDownload->SetBorderColor(clBtnShadow);
    pDownload->setObjectName("pDownload");
    auto* downloadRow = new QHBoxLayout(pDownload);
    downloadRow->setContentsMargins(2, 2, 2, 2);
    ProgressBar1 = new TGradientProgress(pDownload);
    ProgressBar1->setObjectName("ProgressBar1");
    // Blocks running from a light to a dark grey-blue on a light face, the percentage
    // centred in bold black.
    ProgressBar1->setFixedHeight(15);
    ProgressBar1->setMinimumWidth(60);
    ProgressBar1->SetColor(ToQColor(0xF8F8F8));
    ProgressBar1->SetStartColor(ToQColor(0xEEEFED));
    ProgressBar1->SetEndColor(ToQColor(0x998873));
    ProgressBar1->SetSolid(false);
    ProgressBar1->SetTextCentered(true);
    ProgressBar1->SetTextVisible(true);
    QFont progressFont(QStringLiteral("MS Sans Serif"));
    progressFont.setPointSize(8);
    progressFont.setBold(true);
    ProgressBar1->SetTextFont(progressFont);
    QPalette progressText = ProgressBar1->palette();
    progressText.setColor(QPalette::WindowText, Qt::black);
    ProgressBar1->setPalette(progressText);
    downloadRow->addWidget(ProgressBar1, 1, Qt::AlignVCenter);
    ShapeButton2 = NewCloseButton(pDownload, "ShapeButton2");
    downloadRow->addWidget(ShapeButton2, 0, Qt::AlignVCenter);
    pDownload->hide();
    article->addWidget(pDownload);

    pList = new QWidget(right);
    pList->setObjectName("pList");
    pList->setFixedWidth(170);
    auto* list = new QVBoxLayout(pList);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(1);
    tbLearnList = new QToolBar(pList);
    tbLearnList->setObjectName("tbLearnList");
    tbLearnList->setIconSize(QSize(16, 16));
    bEditListWord = NewToolButton(pList, "bEditListWord", QStyle::SP_FileDialogDetailedView);
    bOpenLists = NewToolButton(pList, "bOpenLists", QStyle::SP_DialogOpenButton);
    PopupMenuList = new QMenu(bOpenLists);
    PopupMenuList->setObjectName("PopupMenuList");
    miOpenCurrList = NewAction(PopupMenuList, "miOpenCurrList", "OpenList");
    miOpenCurrList->setVisible(false);
    PopupMenuList->addAction(miOpenCurrList);
    bOpenLists->setMenu(PopupMenuList);
    bOpenLists->setPopupMode(QToolButton::MenuButtonPopup);
    bDelItem = NewToolButton(pList, "bDelItem", QStyle::SP_TrashIcon);
    sbSaveAs = NewToolButton(pList, "sbSaveAs", QStyle::SP_DialogSaveButton);
    for (QToolButton* b : {bEditListWord, bOpenLists, bDelItem, sbSaveAs})
        tbLearnList->addWidget(b);
    list->addWidget(tbLearnList);
    lbList = new QListWidget(pList);
    lbList->setObjectName("lbList");
    list->addWidget(lbList, 1);
    pList->hide();
    rightRow->addWidget(pList);

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(central);

    sbSearch = new QStatusBar(this);
    sbSearch->setObjectName("sbSearch");
    sbSearch->setSizeGripEnabled(true);
    const int widths[4] = {120, 150, 50, 50};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(sbSearch);
        panel->setObjectName(QStringLiteral("sbSearchPanel%1").arg(i));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        sbPanels[static_cast<std::size_t>(i)] = panel;
        sbSearch->addWidget(panel, i == 0 ? 1 : 0);
    }
    setStatusBar(sbSearch);
    sbSearch->hide();

    TimerM6 = new QTimer(this);
    TimerM6->setObjectName("TimerM6");
    TimerM6->setInterval(180000);

    BuildMenus();
}

void TfLexDictionary::BuildToolBars()
{
    CoolBar1 = new QWidget(this);
    CoolBar1->setObjectName("CoolBar1");
    auto* bands = new QVBoxLayout(CoolBar1);
    bands->setContentsMargins(2, 0, 2, 0);
    bands->setSpacing(0);

    ToolBar = new QToolBar(CoolBar1);
    ToolBar->setObjectName("ToolBar");
    ToolBar->setIconSize(QSize(20, 20));
    bKeyboard = NewToolButton(ToolBar, "bKeyboard", QStyle::SP_DesktopIcon);
    bKeyboard->setCheckable(true);
    bAddToList = NewToolButton(ToolBar, "bAddToList", QStyle::SP_FileDialogNewFolder);
    bReverse = NewToolButton(ToolBar, "bReverse", QStyle::SP_BrowserReload);
    bSettings = NewToolButton(ToolBar, "bSettings", QStyle::SP_FileDialogInfoView);
    bSeyWord = NewToolButton(ToolBar, "bSeyWord", QStyle::SP_MediaVolume);
    bNewWord = NewToolButton(ToolBar, "bNewWord", QStyle::SP_FileIcon);
    bEdit = NewToolButton(ToolBar, "bEdit", QStyle::SP_FileDialogDetailedView);
    bCloseList = NewToolButton(ToolBar, "bCloseList", QStyle::SP_DialogCloseButton);
    ToolButton1 = NewToolButton(ToolBar, "ToolButton1", QStyle::SP_MessageBoxInformation);
    for (QToolButton* b :
         {bKeyboard, bAddToList, bReverse, bSettings, bSeyWord, bNewWord, bEdit, bCloseList, ToolButton1})
        ToolBar->addWidget(b);
    // The diagnostic button stays hidden; the action hides with its widget.
    ToolBar->actions().back()->setVisible(false);
    bands->addWidget(ToolBar);

    DictionaryBand = new QWidget(CoolBar1);
    DictionaryBand->setObjectName("DictionaryBand");
    auto* row = new QHBoxLayout(DictionaryBand);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    lFromLanguage = new QLabel("From:", DictionaryBand);
    lFromLanguage->setObjectName("lFromLanguage");
    cbFrom = new QComboBox(DictionaryBand);
    cbFrom->setObjectName("cbFrom");
    // The choosers keep their width whatever names they hold: a long dictionary name never
    // widens the window (the open list shows names whole).
    cbFrom->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbFrom->setMinimumContentsLength(10);
    cbFrom->setMinimumWidth(110);
    lToLanguage = new QLabel("To:", DictionaryBand);
    lToLanguage->setObjectName("lToLanguage");
    lToLanguage->installEventFilter(this);
    cbTo = new QComboBox(DictionaryBand);
    cbTo->setObjectName("cbTo");
    cbTo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbTo->setMinimumContentsLength(16);
    cbTo->setMinimumWidth(150);
    row->addWidget(lFromLanguage);
    row->addWidget(cbFrom);
    row->addSpacing(8);
    row->addWidget(lToLanguage);
    row->addWidget(cbTo);
    row->addStretch(1);
    bands->addWidget(DictionaryBand);
}

void TfLexDictionary::BuildMenus()
{
    aReverse = NewAction(this, "aReverse", "Change direction");
    aCloseList = NewAction(this, "aCloseList", "Close list");
    aAddToList = NewAction(this, "aAddToList", "Add to list");
    aExport = NewAction(this, "aExport", "Export");
    aNewWord = NewAction(this, "aNewWord", "Add word");
    aExit = NewAction(this, "aExit", "Exit");
    aInterfaceForm = NewAction(this, "aInterfaceForm", "Settings");
    VKeyboard = NewAction(this, "VKeyboard", "Alphabet");

    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    miFile = bar->addMenu("File");
    miFile->setObjectName("miFile");
    miLearnList = miFile->addMenu("Learning list");
    miLearnList->setObjectName("miLearnList");
    miNewList = NewAction(this, "miNewList", "New list");
    miNewList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    miOpenList = NewAction(this, "miOpenList", "Open list");
    miAddToList = aAddToList;
    miAddToList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    miSaveList = NewAction(this, "miSaveList", "Save list");
    miSaveAs = NewAction(this, "miSaveAs", "Save as");
    miSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    miCloseList = aCloseList;
    for (QAction* a : {miNewList, miOpenList, miAddToList, miSaveList, miSaveAs, miCloseList})
        miLearnList->addAction(a);
    miFile->addSeparator();
    miExport = aExport;
    miImport = NewAction(this, "miImport", "Import");
    miFile->addAction(miExport);
    miFile->addAction(miImport);
    miFile->addSeparator();
    miExit = aExit;
    miExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    miFile->addAction(miExit);

    miDictionarys = bar->addMenu("Dictionaries");
    miDictionarys->setObjectName("miDictionarys");
    miChangeDir = aReverse;
    miDictionarys->addAction(miChangeDir);
    miSearch = NewAction(this, "miSearch", "Search");
    miSearch->setShortcut(QKeySequence(Qt::Key_F3));
    miDictionarys->addAction(miSearch);
    miSearchType = miDictionarys->addMenu("Search type");
    miSearchType->setObjectName("miSearchType");
    miWordSearch = NewAction(this, "miWordSearch", "Word search");
    miAdvancedSearch = NewAction(this, "miAdvancedSearch", "Advanced search");
    miWordSearch->setCheckable(true);
    miAdvancedSearch->setCheckable(true);
    miWordSearch->setChecked(true);
    miSearchType->addAction(miWordSearch);
    miSearchType->addAction(miAdvancedSearch);
    miDictionarys->addSeparator();
    miAddWord = aNewWord;
    miEditWord = NewAction(this, "miEditWord", "Edit word");
    miDeleteWord = NewAction(this, "miDeleteWord", "Delete word");
    miSpeak = NewAction(this, "miSpeak", "Speak");
    miAbbreviation = NewAction(this, "miAbbreviation", "Abbreviations");
    for (QAction* a : {miAddWord, miEditWord, miDeleteWord, miSpeak, miAbbreviation})
        miDictionarys->addAction(a);

    pmSearchType = new QMenu(bFund);
    pmSearchType->setObjectName("pmSearchType");
    miWordSearch2 = NewAction(this, "miWordSearch2", "Word search");
    miAdvancedSearch2 = NewAction(this, "miAdvancedSearch2", "Advanced search");
    miWordSearch2->setCheckable(true);
    miAdvancedSearch2->setCheckable(true);
    miWordSearch2->setChecked(true);
    pmSearchType->addAction(miWordSearch2);
    pmSearchType->addAction(miAdvancedSearch2);
    bFund->setMenu(pmSearchType);

    miView = bar->addMenu("View");
    miView->setObjectName("miView");
    miBLine = NewAction(this, "miBLine", "Buttons");
    miDLine = NewAction(this, "miDLine", "Dictionaries");
    miStatusLine = NewAction(this, "miStatusLine", "Status bar");
    miAlphabet = VKeyboard;
    for (QAction* a : {miBLine, miDLine, miStatusLine, miAlphabet}) {
        a->setCheckable(true);
        miView->addAction(a);
    }

    miLearning = bar->addMenu("Learning");
    miLearning->setObjectName("miLearning");
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "Method_" + QByteArray::number(i + 1);
        Method[static_cast<std::size_t>(i)] = NewAction(this, name.constData(), QStringLiteral("Method %1").arg(i + 1));
        miLearning->addAction(Method[static_cast<std::size_t>(i)]);
    }
    miHang = NewAction(this, "miHang", "Hangman");
    miLearning->addAction(miHang);

    miTools = bar->addMenu("Tools");
    miTools->setObjectName("miTools");
    miConvert = NewAction(this, "miConvert", "Numbers to words");
    miSettings = aInterfaceForm;
    miSettings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    miUpdateNow = NewAction(this, "miUpdateNow", "Update now");
    miCreateDictionary = NewAction(this, "miCreateDictionary", "New dictionary");
    for (QAction* a : {miConvert, miSettings, miUpdateNow, miCreateDictionary})
        miTools->addAction(a);

    miHelp = bar->addMenu("Help");
    miHelp->setObjectName("miHelp");
    miHelp_1 = NewAction(this, "miHelp_1", "Contents");
    miHelp_1->setShortcut(QKeySequence(Qt::Key_F1));
    miHelp_2 = NewAction(this, "miHelp_2", "About");
    miHelp_3 = NewAction(this, "miHelp_3", "");
    miHelp_3->setVisible(false);
    miHelp_5 = NewAction(this, "miHelp_5", "Home page");
    Homepage1 = NewAction(this, "Homepage1", "");
    Homepage1->setVisible(false);
    for (QAction* a : {miHelp_1, miHelp_2, miHelp_3, miHelp_5, Homepage1})
        miHelp->addAction(a);

    pmSysTray = new QMenu(this);
    pmSysTray->setObjectName("pmSysTray");
    miOptions2 = NewAction(this, "miOptions2", "Settings");
    miShow = NewAction(this, "miShow", "Show");
    miClipTran = NewAction(this, "miClipTran", "Clipboard translation");
    miClipTran->setCheckable(true);
    miTrayExit = NewAction(this, "miTrayExit", "Exit");
    pmSysTray->addAction(miOptions2);
    pmSysTray->addAction(miShow);
    pmSysTray->addAction(miClipTran);
    pmSysTray->addSeparator();
    pmSysTray->addAction(miTrayExit);
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setParent(this);
    TrayIcon1->setObjectName("TrayIcon1");
    TrayIcon1->SetMinimizeToTray(true);
    TrayIcon1->SetPopupMenu(pmSysTray);
}
