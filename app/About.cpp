#include "app/About.h"

#include "app/WebAddresses.h"
#include "components/InterfaceText.h"
#include "components/MURLStr.h"
#include "components/WindowFrame.h"
#include "components/WindowPlacement.h"
#include "platform/qt/OpenUrl.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>

TfAbout::TfAbout(const TWideStringList& strings, QWidget* parent)
    // Title, system menu and close button only: no minimise or maximise button.
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      strings_(strings)
{
    setObjectName("fAbout");
    setWindowTitle(LangText(strings_, "AboutCaption"));
    setFixedSize(418, 225);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 418, 73);
    Image1->setScaledContents(true);
    Image1->installEventFilter(this);

    UniLabel2 = new QLabel(QStringLiteral("Lexora XP 3.1"), this);
    UniLabel2->setObjectName("UniLabel2");
    UniLabel2->move(16, 84);

    lDictCount = new QLabel(this);
    lDictCount->setObjectName("lDictCount");
    lDictCount->setGeometry(16, 104, 300, 16);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 168, 401, 2);

    MURLStr1 = new TMURLStr(this);
    MURLStr1->setObjectName("MURLStr1");
    MURLStr1->SetActivType(atHttp);
    MURLStr1->SetCaption(WebAddresses::kProductSite);
    MURLStr1->setCursor(Qt::PointingHandCursor);
    MURLStr1->move(8, 200);
    MURLStr1->adjustSize();

    Button1 = new QPushButton(LangText(strings_, "OK"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(334, 192, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    SetDictionaryCount(0);
}

void TfAbout::SetDictionaryCount(int count)
{
    lDictCount->setText(LangText(strings_, "AboutDictionaries") + QString::number(count));
}

void TfAbout::SetPicture(const QImage& picture)
{
    Image1->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

void TfAbout::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        RequestCloseButtonOnly(*this);
        PlaceOnOwner(*this, parentWidget());
    }
    QDialog::showEvent(event);
    FormShow();
}

void TfAbout::FormShow()
{
    // The picture's animated cursor has no counterpart on X11: it takes the hand cursor.
    Image1->setCursor(Qt::PointingHandCursor);
}

void TfAbout::Button1Click()
{
    accept();
}

void TfAbout::Image1Click()
{
    OpenUrl(QUrl(QString::fromLatin1(WebAddresses::kMakerHomePage)));
}

bool TfAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
