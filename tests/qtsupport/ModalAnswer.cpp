#include "tests/qtsupport/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace TestSupport {

namespace {

QString g_lastText;
constexpr const char* kAnswerTimer = "TestSupportModalAnswer";

// Marks a shown window as answered until it hides, so that a second answer waiting at the same
// time goes to the next window, not to this one again.
constexpr const char* kAnswered = "TestSupportAnswered";

class TAnsweredMark : public QObject {
public:
    explicit TAnsweredMark(QWidget* modal)
        : QObject(modal)
    {
        modal->setProperty(kAnswered, true);
        modal->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            watched->setProperty(kAnswered, false);
            deleteLater();
        }
        return false;
    }
};

void Collect(QWidget* w)
{
    QStringList texts;
    for (QLabel* l : w->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            texts << l->text();
    g_lastText = texts.join('\n');
}

}  // namespace

void AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto timer = new QTimer(qApp);
    timer->setObjectName(kAnswerTimer);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible() && !modal->property(kAnswered).toBool()) {
            timer->stop();
            timer->deleteLater();
            new TAnsweredMark(modal);
            Collect(modal);
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void ClickInNextModal(const QString& buttonName, int timeoutMs)
{
    AnswerNextModal(
        [buttonName](QWidget* w) {
            if (auto b = w->findChild<QAbstractButton*>(buttonName))
                QTest::mouseClick(b, Qt::LeftButton);
        },
        timeoutMs);
}

void KeyInNextModal(int key, int timeoutMs)
{
    AnswerNextModal([key](QWidget* w) { QTest::keyClick(w, static_cast<Qt::Key>(key)); }, timeoutMs);
}

void AnswerNextFileDialog(const QString& path, int timeoutMs)
{
    AnswerNextModal(
        [path](QWidget* w) {
            auto box = w->findChild<QDialogButtonBox*>();
            if (path.isEmpty()) {
                if (box && box->button(QDialogButtonBox::Cancel))
                    QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
                return;
            }
            if (auto edit = w->findChild<QLineEdit*>("fileNameEdit")) {
                edit->setText(path);
            } else if (auto dialog = qobject_cast<QFileDialog*>(w)) {
                dialog->selectFile(path);
            }
            QAbstractButton* ok = nullptr;
            if (box) {
                ok = box->button(QDialogButtonBox::Open);
                if (!ok)
                    ok = box->button(QDialogButtonBox::Save);
                if (!ok)
                    ok = box->button(QDialogButtonBox::Ok);
            }
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
        },
        timeoutMs);
}

void CancelModalAnswers()
{
    if (qApp == nullptr)
        return;
    for (QTimer* timer : qApp->findChildren<QTimer*>(kAnswerTimer, Qt::FindDirectChildrenOnly)) {
        timer->stop();
        timer->setObjectName(QString());
        timer->deleteLater();
    }
}

QString LastModalText()
{
    return g_lastText;
}

}  // namespace TestSupport
