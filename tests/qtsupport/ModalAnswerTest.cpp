// The modal-window helpers press real buttons of real dialogs.
#include "tests/qtsupport/ModalAnswer.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
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
