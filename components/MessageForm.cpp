#include "components/MessageForm.h"

#include "components/InterfaceText.h"
#include "components/WindowFrame.h"
#include "components/WindowPlacement.h"
#include "platform/qt/Colors.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace {

constexpr int kResultOk = 1;
constexpr int kResultClosed = 2;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

QFont Tahoma8()
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(8);
    return f;
}

QLabel* MakePicture(QWidget* parent, const char* name, QStyle::StandardPixmap kind)
{
    auto picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(24, 18, 32, 32);
    picture->setPixmap(parent->style()->standardIcon(kind, nullptr, parent).pixmap(32, 32));
    picture->hide();
    return picture;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 67, 72, 25);
    button->setFont(Tahoma8());
    button->hide();
    return button;
}

}  // namespace

TfMessage::TfMessage(QWidget* owner)
    // Title, system menu and close button only: no minimise or maximise button.
    : QDialog(owner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fMessage"));
    setWindowTitle(QStringLiteral("Tavor message"));
    setFixedSize(378, 107);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(pal);

    lMessage = new QLabel(QStringLiteral("Custom Message"), this);
    lMessage->setObjectName(QStringLiteral("lMessage"));
    lMessage->setGeometry(64, 24, 305, 43);
    lMessage->setTextFormat(Qt::PlainText);
    lMessage->setWordWrap(true);
    lMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lMessage->setFont(Tahoma8());

    ImageQuestion = MakePicture(this, "ImageQuestion", QStyle::SP_MessageBoxQuestion);
    ImageInfo = MakePicture(this, "ImageInfo", QStyle::SP_MessageBoxInformation);
    ImageError = MakePicture(this, "ImageError", QStyle::SP_MessageBoxCritical);

    bOk = MakeButton(this, "bOk", QStringLiteral("OK"), 146);
    bYes = MakeButton(this, "bYes", QStringLiteral("Yes"), 222);
    bNo = MakeButton(this, "bNo", QStringLiteral("No"), 296);
    setTabOrder(bOk, bYes);
    setTabOrder(bYes, bNo);
    connect(bOk, &QPushButton::clicked, this, &TfMessage::bOkClick);
    connect(bYes, &QPushButton::clicked, this, &TfMessage::bYesClick);
    connect(bNo, &QPushButton::clicked, this, &TfMessage::bNoClick);
    for (QPushButton* b : {bOk, bYes, bNo})
        b->installEventFilter(this);
}

void TfMessage::bOkClick()
{
    done(kResultOk);
}

void TfMessage::bYesClick()
{
    done(kResultYes);
}

void TfMessage::bNoClick()
{
    done(kResultNo);
}

bool TfMessage::UniFormKeyDown(const QKeyEvent& event)
{
    const bool single = !bOk->isHidden();
    const int key = event.key();
    // A key held down since before the form showed repeats into it: that is no answer, and
    // closing on it would hand the next repeat to the window below.
    if (event.isAutoRepeat())
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        done(single ? kResultOk : kResultYes);
        return true;
    case Qt::Key_Escape:
        done(single ? kResultOk : kResultNo);
        return true;
    default:
        return false;
    }
}

void TfMessage::keyPressEvent(QKeyEvent* event)
{
    if (UniFormKeyDown(*event))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

bool TfMessage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && UniFormKeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TfMessage::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        RequestCloseButtonOnly(*this);
        PlaceOnOwner(*this, parentWidget());
    }
    QDialog::showEvent(event);
}

void TfMessage::closeEvent(QCloseEvent* event)
{
    // Closed through the title bar (or the window manager) without a button: result 2.
    if (isVisible())
        done(kResultClosed);
    event->accept();
}

int ShowMessageForm(QWidget* owner, const QString& text, const TWideStrings& strings, int buttons, int icon)
{
    QPointer<TfMessage> form = new TfMessage(owner);
    // Freed however the showing ends; the owner may already have freed it.
    struct TFree {
        QPointer<TfMessage>& form;
        ~TFree() { delete form.data(); }
    } freeForm{form};

    form->setWindowTitle(LangText(strings, "MessageCaption"));
    form->lMessage->setText(text);
    if (buttons == 0) {
        form->bOk->setText(LangText(strings, "OK"));
        form->bOk->show();
    } else if (buttons == 1) {
        form->bYes->setText(LangText(strings, "OK"));
        form->bNo->setText(LangText(strings, "Cancel"));
        form->bYes->show();
        form->bNo->show();
    }
    switch (icon) {
    case 0:
        form->ImageQuestion->show();
        break;
    case 1:
        form->ImageInfo->show();
        break;
    case 2:
        form->ImageError->show();
        break;
    default:
        break;
    }

    const int result = form->exec();
    if (!form)
        return kResultClosed;  // the owner went away while the form was showing
    return result == QDialog::Rejected ? kResultClosed : result;
}
