// The modal-window helpers press real buttons of real dialogs.
#include "tests/qtsupport/ModalAnswer.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

TEST(ModalAnswer, ClicksTheNamedButtonAndKeepsTheLabelText)
{
    QDialog dialog;
    auto layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Delete the word?", &dialog));
    auto yes = new QPushButton("Yes", &dialog);
    yes->setObjectName("bYes");
    layout->addWidget(yes);
    QObject::connect(yes, &QPushButton::clicked, &dialog, [&] { dialog.done(6); });
    TestSupport::ClickInNextModal("bYes");
    EXPECT_EQ(dialog.exec(), 6);
    EXPECT_EQ(TestSupport::LastModalText(), "Delete the word?");
}

TEST(ModalAnswer, FileDialogTakesTheTypedNameOrCancels)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.lst");
    TestSupport::AnswerNextFileDialog(path);
    EXPECT_EQ(
        QFileDialog::getSaveFileName(nullptr, "Save", dir.path(), QString(), nullptr, QFileDialog::DontUseNativeDialog),
        path);
    TestSupport::AnswerNextFileDialog(QString());
    EXPECT_TRUE(
        QFileDialog::getOpenFileName(nullptr, "Open", dir.path(), QString(), nullptr, QFileDialog::DontUseNativeDialog)
            .isEmpty());
}

TEST(ModalAnswer, AnswersWaitingTogetherTakeOneWindowEach)
{
    QStringList answered;
    for (int i = 0; i < 2; ++i)
        TestSupport::AnswerNextModal([&](QWidget* w) {
            answered << w->windowTitle();
            // It goes a moment later, as a window that checks what it was given first.
            QMetaObject::invokeMethod(
                w, [w] { static_cast<QDialog*>(w)->accept(); }, Qt::QueuedConnection);
        });
    QDialog first;
    first.setWindowTitle("first");
    QDialog second;
    second.setWindowTitle("second");
    QTimer::singleShot(30000, &second, &QDialog::reject);  // were it never answered
    first.exec();
    second.exec();
    EXPECT_EQ(answered, (QStringList{"first", "second"}));
}
