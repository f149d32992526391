// Main of the widget tests: one application object for all cases, then GoogleTest. A test
// executable that needs its own application class defines LexoraMakeTestApplication.
#include "tests/qtsupport/ModalAnswer.h"

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

QApplication* LexoraMakeTestApplication(int& argc, char** argv) __attribute__((weak));

namespace {

// An answer to a modal window that never came ends with its test.
class TDropModalAnswers : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { TestSupport::CancelModalAnswers(); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0)
            return RUN_ALL_TESTS();  // listing needs no display
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QApplication> app(LexoraMakeTestApplication ? LexoraMakeTestApplication(argc, argv)
                                                                : new QApplication(argc, argv));
    ::testing::UnitTest::GetInstance()->listeners().Append(new TDropModalAnswers);
    return RUN_ALL_TESTS();
}
