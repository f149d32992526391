#include "components/HelpWindow.h"

#include "components/WindowPlacement.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<THelpWindow> g_window;

}  // namespace

THelpBrowser::THelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    setObjectName("HelpBrowser");
    setOpenExternalLinks(true);
}

bool THelpBrowser::OpenTopic(const QString& helpFile, const QString& topic)
{
    bool fileChanged = false;
    try {
        const std::string fileName = QFile::encodeName(helpFile).toStdString();
        if (!file_ || file_->FileName() != fileName) {
            file_ = std::make_unique<Platform::THelpFile>(fileName);
            fileChanged = true;
        }
        std::string bytes;
        if (!file_->Read(topic.toStdString(), bytes))
            return false;
    } catch (const Platform::EHelpFileError&) {
        file_.reset();
        return false;
    }
    // The same topic name in another help file (another language) is another page.
    const QUrl url("chm:/" + topic);
    if (fileChanged && source() == url) {
        reload();
        emit sourceChanged(url);
    } else {
        setSource(url);
    }
    return true;
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name)
{
    if (!file_ || (name.scheme() != "chm" && !name.isRelative()))
        return QTextBrowser::loadResource(type, name);
    std::string bytes;
    if (!file_->Read(name.path().toStdString(), bytes))
        return {};
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (type == QTextDocument::ImageResource)
        return QImage::fromData(data);
    if (type == QTextDocument::HtmlResource)
        return QString::fromUtf8(data);
    return data;
}

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("fHelp");
    setAttribute(Qt::WA_DeleteOnClose);
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Browser = new THelpBrowser(this);
    layout->addWidget(Browser);
    resize(640, 480);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(Browser->documentTitle()); });
}

namespace {

// The window a help request comes from: the given one, else the active one.
QWidget* HelpOwner(QWidget* owner)
{
    if (owner == nullptr)
        owner = QApplication::activeModalWidget();
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    if (owner != nullptr)
        owner = owner->window();
    if (owner != nullptr && owner == g_window.data())
        owner = g_window->parentWidget();
    return owner;
}

}  // namespace

bool ShowHelpTopic(const QString& url, QWidget* owner)
{
    const int at = url.indexOf("::");
    const QString file = at < 0 ? url : url.left(at);
    QString topic = at < 0 ? QString("1.htm") : url.mid(at + 2);
    while (topic.startsWith('/'))
        topic.remove(0, 1);
    if (!QFileInfo(file).isFile())
        return false;
    owner = HelpOwner(owner);
    const bool fresh = !g_window;
    if (fresh)
        g_window = new THelpWindow(owner);
    if (!g_window->Browser->OpenTopic(file, topic)) {
        if (fresh)
            delete g_window;
        return false;
    }
    // Asked for from another window: the help window moves over to it (on top of it, also
    // when that window is modal or full-screen).
    const bool moved = g_window->parentWidget() != owner;
    if (moved)
        g_window->setParent(owner, g_window->windowFlags());
    if (fresh || moved || !g_window->isVisible())
        PlaceOnOwner(*g_window, owner);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return true;
}

void CloseAllHelp()
{
    delete g_window;
}

THelpWindow* CurrentHelpWindow()
{
    return g_window;
}
