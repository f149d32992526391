// The settings window's widgets: four pages and the two buttons below them. The texts set
// here are defaults; the interface strings replace them.
#include "app/InterfaceForm.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/InterfaceText.h"
#include "components/MURL.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Free room beside a button's caption, on each side, and after a column's widest text.
constexpr int kButtonPadding = 12;
// The narrowest the source list and the dictionary columns get.
constexpr int kSourceListWidth = 120;
// The source list's text starts this far from the item's left and ends this far from its right.
constexpr int kSourceTextLeft = 8;
constexpr int kSourceTextRight = 4;

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Picture(const char* name, QStyle::StandardPixmap pixmap, QWidget* parent)
{
    auto* label = Named(new QLabel(parent), name);
    label->setPixmap(parent->style()->standardIcon(pixmap).pixmap(32, 32));
    label->setAlignment(Qt::AlignTop | Qt::AlignRight);
    return label;
}

int SourceItemWidth(const QFontMetrics& metrics, const QString& text)
{
    return kSourceTextLeft + metrics.horizontalAdvance(text) + kSourceTextRight;
}

// lbDictionarysDrawItem: the selected item on the highlight colour in the window colour,
// the others on the window colour in black, the text 8 pixels from the left, 1 from the top.
class TSourceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& p = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? p.color(QPalette::Highlight) : p.color(QPalette::Base));
        painter->setPen(selected ? p.color(QPalette::Base) : QColor(Qt::black));
        const QRect text = option.rect.adjusted(kSourceTextLeft, 1, 0, 0);
        painter->setClipRect(option.rect);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(std::max(18, option.fontMetrics.height() + 2));
        s.setWidth(SourceItemWidth(option.fontMetrics, index.data().toString()));
        return s;
    }
};

}  // namespace

void TfInterface::BuildWidgets()
{
    setObjectName("fInterface");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSizeConstraint(QLayout::SetFixedSize);
    pcSettings = Named(new QTabWidget(this), "pcSettings");
    tsGeneral = BuildGeneralPage();
    tsTranslation = BuildTranslationPage();
    tsDictionarys = BuildDictionariesPage();
    tsUpdates = BuildUpdatesPage();
    pcSettings->addTab(tsGeneral, "General");
    pcSettings->addTab(tsTranslation, "Translation");
    pcSettings->addTab(tsDictionarys, "Dictionaries");
    pcSettings->addTab(tsUpdates, "Updates");
    root->addWidget(pcSettings);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    bCance = Named(new QPushButton("Cancel", this), "bCance");
    bOk = Named(new QPushButton("OK", this), "bOk");
    bOk->setDefault(true);
    bCance->setAutoDefault(false);
    buttons->addWidget(bCance);
    buttons->addWidget(bOk);
    root->addLayout(buttons);
}

QWidget* TfInterface::BuildGeneralPage()
{
    auto* page = Named(new QWidget, "tsGeneral");
    auto* layout = new QVBoxLayout(page);

    gbAppearance = Named(new QGroupBox("Appearance", page), "gbAppearance");
    auto* a = new QGridLayout(gbAppearance);
    auto* langRow = new QHBoxLayout;
    langRow->setSpacing(5);
    lSelectLang = Named(new QLabel("Language:", gbAppearance), "lSelectLang");
    cbLangs = Named(new QComboBox(gbAppearance), "cbLangs");
    cbLangs->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    langRow->addWidget(lSelectLang);
    langRow->addWidget(cbLangs);
    langRow->addStretch(1);
    a->addLayout(langRow, 0, 0);
    cbPublisher = Named(new QCheckBox("Show publisher", gbAppearance), "cbPublisher");
    cbTransparent = Named(new QCheckBox("Transparency", gbAppearance), "cbTransparent");
    tbTransparent = Named(new QSlider(Qt::Horizontal, gbAppearance), "tbTransparent");
    tbTransparent->setRange(55, 255);
    tbTransparent->setValue(155);
    tbTransparent->setPageStep(5);
    tbTransparent->setTickInterval(10);
    tbTransparent->setTickPosition(QSlider::TicksBothSides);
    a->addWidget(cbPublisher, 1, 0);
    a->addWidget(cbTransparent, 2, 0);
    a->addWidget(tbTransparent, 3, 0);
    IView = Picture("IView", QStyle::SP_DesktopIcon, gbAppearance);
    a->addWidget(IView, 0, 1, 4, 1);
    layout->addWidget(gbAppearance);

    gbSystem = Named(new QGroupBox("System", page), "gbSystem");
    auto* s = new QGridLayout(gbSystem);
    cbStayOnTop = Named(new QCheckBox("Stay on top", gbSystem), "cbStayOnTop");
    cbStartMin = Named(new QCheckBox("Start minimised", gbSystem), "cbStartMin");
    cbWinStart = Named(new QCheckBox("Start at login", gbSystem), "cbWinStart");
    s->addWidget(cbStayOnTop, 0, 0);
    s->addWidget(cbStartMin, 1, 0);
    s->addWidget(cbWinStart, 2, 0);
    auto* cdRow = new QHBoxLayout;
    cdRow->setSpacing(5);
    lCDDrive = Named(new QLabel("CD drive:", gbSystem), "lCDDrive");
    cbCDROM = Named(new QComboBox(gbSystem), "cbCDROM");
    cbCDROM->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbCDROM->setMinimumContentsLength(10);
    cdRow->addWidget(lCDDrive);
    cdRow->addWidget(cbCDROM);
    cdRow->addStretch(1);
    s->addLayout(cdRow, 3, 0);
    IMain = Picture("IMain", QStyle::SP_ComputerIcon, gbSystem);
    s->addWidget(IMain, 0, 1, 4, 1);
    layout->addWidget(gbSystem);
    layout->addStretch(1);
    return page;
}

QWidget* TfInterface::BuildTranslationPage()
{
    auto* page = Named(new QWidget, "tsTranslation");
    auto* layout = new QVBoxLayout(page);
    gbTranslation = Named(new QGroupBox("Translation", page), "gbTranslation");
    auto* g = new QGridLayout(gbTranslation);
    // Created top to bottom: the order of creation is the order of the Tab key.
    cbClipTranslate = Named(new QCheckBox("Clipboard", gbTranslation), "cbClipTranslate");
    cbDelicate = Named(new QCheckBox("Pop-up", gbTranslation), "cbDelicate");
    int row = 0;
    for (QCheckBox* box : {cbClipTranslate, cbDelicate}) {
        g->addWidget(box, row++, 0, 1, 2);
    }
    cbDelicate->setContentsMargins(16, 0, 0, 0);
    auto* timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(16, 0, 0, 0);
    lDelicateTime = Named(new QLabel("Time:", gbTranslation), "lDelicateTime");
    UpDown1 = Named(new QSpinBox(gbTranslation), "UpDown1");
    UpDown1->setRange(5, 180);
    UpDown1->setValue(5);
    eDelicateTime = UpDown1->findChild<QLineEdit*>();
    eDelicateTime->setObjectName("eDelicateTime");
    timeRow->addWidget(lDelicateTime);
    timeRow->addWidget(UpDown1);
    timeRow->addStretch(1);
    g->addLayout(timeRow, row++, 0, 1, 2);
    cbEveryKey = Named(new QCheckBox("Every key", gbTranslation), "cbEveryKey");
    cbInTranslate = Named(new QCheckBox("Double click", gbTranslation), "cbInTranslate");
    cbAddToHistory = Named(new QCheckBox("History", gbTranslation), "cbAddToHistory");
    lClickSay = Named(new QCheckBox("Speak on double click", gbTranslation), "lClickSay");
    for (QCheckBox* box : {cbEveryKey, cbInTranslate, cbAddToHistory, lClickSay})
        g->addWidget(box, row++, 0, 1, 2);
    cbAddToHistory->setContentsMargins(16, 0, 0, 0);
    lHotKey = Named(new QLabel("Reverse key:", gbTranslation), "lHotKey");
    HotKey = Named(new QKeySequenceEdit(gbTranslation), "HotKey");
    lSpeakKey = Named(new QLabel("Speak key:", gbTranslation), "lSpeakKey");
    hkSpeak = Named(new QKeySequenceEdit(gbTranslation), "hkSpeak");
    g->addWidget(lHotKey, row, 0);
    g->addWidget(HotKey, row++, 1);
    g->addWidget(lSpeakKey, row, 0);
    g->addWidget(hkSpeak, row++, 1);
    layout->addWidget(gbTranslation);
    layout->addStretch(1);
    return page;
}

QWidget* TfInterface::BuildDictionariesPage()
{
    auto* page = Named(new QWidget, "tsDictionarys");
    auto* layout = new QGridLayout(page);
    lbDictionarys = Named(new QListWidget(page), "lbDictionarys");
    lbDictionarys->setItemDelegate(new TSourceDelegate(lbDictionarys));
    lbDictionarys->setFixedWidth(kSourceListWidth);
    ListView1 = Named(new QTreeWidget(page), "ListView1");
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({"Description", "Publisher"});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->resizeSection(0, 120);
    ListView1->header()->resizeSection(1, 120);
    ListView1->setMouseTracking(true);
    ListView1->viewport()->setMouseTracking(true);
    ListView1->setMinimumWidth(250);
    ListView1->setMinimumHeight(200);
    layout->addWidget(lbDictionarys, 0, 0, 2, 1);
    layout->addWidget(ListView1, 0, 1);
    auto* buttons = new QHBoxLayout;
    bInstall = Named(new QPushButton("Install...", page), "bInstall");
    bRemove = Named(new QPushButton("Remove", page), "bRemove");
    bCopy = Named(new QPushButton("Use CD", page), "bCopy");
    bCopy->setEnabled(false);
    for (QPushButton* b : {bInstall, bRemove, bCopy}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons, 1, 1);
    ProgressBar = Named(new QProgressBar(page), "ProgressBar");
    ProgressBar->setRange(0, 0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setVisible(false);
    layout->addWidget(ProgressBar, 2, 0, 1, 2);
    return page;
}

QWidget* TfInterface::BuildUpdatesPage()
{
    auto* page = Named(new QWidget, "tsUpdates");
    auto* layout = new QGridLayout(page);
    IUpdate = Picture("IUpdate", QStyle::SP_BrowserReload, page);
    IUpdate->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    UpdLabel1 = Named(new QLabel(page), "UpdLabel1");
    UpdLabel2 = Named(new QLabel(page), "UpdLabel2");
    urlHelp = Named(new TMURL(page), "urlHelp");
    urlHelp->SetActivType(atUser);
    urlHelp->SetHotColor(static_cast<TColor>(14898176));
    urlHelp->SetUnderlineOnHot(true);
    urlHelp->setCursor(Qt::PointingHandCursor);
    auto* text = new QVBoxLayout;
    text->addWidget(UpdLabel1);
    text->addWidget(UpdLabel2);
    text->addWidget(urlHelp);
    layout->addWidget(IUpdate, 0, 0, Qt::AlignTop);
    layout->addLayout(text, 0, 1);
    ckbEnableUpd = Named(new QCheckBox("Enable", page), "ckbEnableUpd");
    ckbEnableUpd->setChecked(true);
    layout->addWidget(ckbEnableUpd, 1, 0, 1, 2);
    auto* daysRow = new QHBoxLayout;
    UpdDays = Named(new QLabel("Days:", page), "UpdDays");
    UpDownDays = Named(new QSpinBox(page), "UpDownDays");
    UpDownDays->setRange(1, 30);
    UpDownDays->setValue(7);
    eDays = UpDownDays->findChild<QLineEdit*>();
    eDays->setObjectName("eDays");
    daysRow->addWidget(UpdDays);
    daysRow->addWidget(UpDownDays);
    daysRow->addStretch(1);
    layout->addLayout(daysRow, 2, 0, 1, 2);

    gbUpdate = Named(new QGroupBox("Update", page), "gbUpdate");
    auto* u = new QGridLayout(gbUpdate);
    rbOne = Named(new QRadioButton("Ask", gbUpdate), "rbOne");
    rbTwo = Named(new QRadioButton("Download", gbUpdate), "rbTwo");
    rbTwo->setChecked(true);
    ckbUseProxy = Named(new QCheckBox("Proxy", gbUpdate), "ckbUseProxy");
    u->addWidget(rbOne, 0, 0, 1, 4);
    u->addWidget(rbTwo, 1, 0, 1, 4);
    u->addWidget(ckbUseProxy, 2, 0, 1, 4);
    // These four captions stay the same in every language.
    Label1 = Named(new QLabel("Proxy Server:", gbUpdate), "Label1");
    Label2 = Named(new QLabel("User Name:", gbUpdate), "Label2");
    Label3 = Named(new QLabel("Port:", gbUpdate), "Label3");
    Label4 = Named(new QLabel("Password:", gbUpdate), "Label4");
    // Row by row, as the Tab key goes: server and port, then user name and password.
    eProxyServer = Named(new QLineEdit(gbUpdate), "eProxyServer");
    ePort = Named(new QLineEdit(gbUpdate), "ePort");
    eUserName = Named(new QLineEdit(gbUpdate), "eUserName");
    ePassword = Named(new QLineEdit(gbUpdate), "ePassword");
    ePassword->setEchoMode(QLineEdit::Password);
    ePort->setMaximumWidth(70);
    u->addWidget(Label1, 3, 0);
    u->addWidget(eProxyServer, 3, 1);
    u->addWidget(Label3, 3, 2);
    u->addWidget(ePort, 3, 3);
    u->addWidget(Label2, 4, 0);
    u->addWidget(eUserName, 4, 1);
    u->addWidget(Label4, 4, 2);
    u->addWidget(ePassword, 4, 3);
    layout->addWidget(gbUpdate, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);
    return page;
}

void TfInterface::FitCaptions()
{
    // The sound-folder button fits both its captions: it keeps its size when they change.
    const TWideStrings& s = main_->LangStrings;
    const std::pair<QPushButton*, QStringList> buttons[] = {
        {bOk, {bOk->text()}},
        {bCance, {bCance->text()}},
        {bInstall, {bInstall->text()}},
        {bRemove, {bRemove->text()}},
        {bCopy, {LangText(s, "UseCDROM"), LangText(s, "CopyToHDD")}}};
    for (const auto& [button, texts] : buttons) {
        int widest = 0;
        for (QString text : texts)
            widest = std::max(widest, button->fontMetrics().horizontalAdvance(text.remove(QLatin1Char('&'))));
        button->setMinimumWidth(std::max(button->sizeHint().width(), widest + 2 * kButtonPadding));
    }
    FitDictionaryColumns();
    // Wide enough for every source language from the start: the window keeps its size.
    if (main_->DictManager)
        FitSourceList(SourceTexts(main_->DictManager->GetSourceLanguages()));
}

void TfInterface::FitSourceList(const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, SourceItemWidth(lbDictionarys->fontMetrics(), text));
    const int frame = 2 * lbDictionarys->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    lbDictionarys->setFixedWidth(std::max(kSourceListWidth, widest + frame));
}

void TfInterface::FitDictionaryColumns()
{
    // Check box, picture and caption of every row, and the column titles, stand whole, with
    // room before the next column (the last one reaches to the list's edge by itself).
    const int last = ListView1->columnCount() - 1;
    for (int column = 0; column <= last; ++column) {
        ListView1->resizeColumnToContents(column);
        const int room = column < last ? kButtonPadding : 0;
        ListView1->setColumnWidth(column, std::max(kSourceListWidth, ListView1->columnWidth(column) + room));
    }
}
