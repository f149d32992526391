#include "tests/qtsupport/WindowManager.h"

#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace TestSupport {

bool TWindowManager::Start()
{
    if (QStandardPaths::findExecutable("openbox").isEmpty())
        return false;
    FProcess.start("openbox", {"--sm-disable"});
    if (!FProcess.waitForStarted(60000))
        return false;
    // Ready once it frames a window.
    QWidget probe;
    probe.resize(100, 60);
    probe.show();
    const bool framed = QTest::qWaitFor(
        [&] { return probe.windowHandle() != nullptr && !probe.windowHandle()->frameMargins().isNull(); }, 60000);
    probe.hide();
    return framed;
}

TWindowManager::~TWindowManager()
{
    FProcess.terminate();
    if (!FProcess.waitForFinished(60000))
        FProcess.kill();
    FProcess.waitForFinished(60000);
}

TTrayer::TTrayer()
{
    FProcess.start(QStringLiteral("trayer"),
                   {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--height", "32",
                    "--transparent", "false"});
    FProcess.waitForStarted(60000);
}

TTrayer::~TTrayer()
{
    FProcess.kill();
    FProcess.waitForFinished(60000);
}

bool XDo(const QStringList& args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

}  // namespace TestSupport
