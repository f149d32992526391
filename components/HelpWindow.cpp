#include "components/HelpWindow.h"

#include "components/InterfaceText.h"
#include "components/MessageForm.h"
#include "components/WindowPlacement.h"
#include "platform/qt/OpenUrl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<THelpWindow> g_window;

// Topics are shown under this scheme, so links between them resolve inside the help file.
const QString kScheme = QStringLiteral("chm");

// The keys of the help window's message, copied for it.
constexpr const char* kMessageKeys[] = {"MessageCaption", "OK", "MsgHelpFileDamaged"};

void ShowHelpFileError(QWidget* owner, const QString& file, const TWideStrings& strings)
{
    const QString text =
        LangText(strings, "MsgHelpFileDamaged") + '\n' + QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    ShowMessageForm(owner, text, strings, 0, 2);
}

}  // namespace

THelpBrowser::THelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    setObjectName("HelpBrowser");
    // Every link comes to the window, which knows where it leads (by itself the browser hands
    // a topic link to the desktop's opener, which cannot read the help file).
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

bool THelpBrowser::OpenTopic(const QString& helpFile, const QString& topic)
{
    const qsizetype hash = topic.indexOf('#');
    const QString name = topic.left(hash);
    bool fileChanged = false;
    try {
        const std::string fileName = QFile::encodeName(helpFile).toStdString();
        std::unique_ptr<Platform::THelpFile> file;
        if (!file_ || file_->FileName() != fileName) {
            file = std::make_unique<Platform::THelpFile>(fileName);
            fileChanged = true;
        }
        std::string bytes;
        if (!(file ? file : file_)->Read(name.toStdString(), bytes))
            return false;
        if (file) {
            file_ = std::move(file);
            fileName_ = helpFile;
        }
    } catch (const Platform::EHelpFileError&) {
        return false;
    }
    QUrl url(kScheme + ":/" + name);
    if (hash >= 0)
        url.setFragment(topic.mid(hash + 1));
    // The same topic name in another help file (another language) is another page.
    if (fileChanged && source().path() == url.path()) {
        reload();
        if (url.hasFragment())
            scrollToAnchor(url.fragment());
        emit sourceChanged(url);
    } else {
        setSource(url);
    }
    return true;
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name)
{
    if (!file_ || (name.scheme() != kScheme && !name.isRelative()))
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
    connect(Browser, &QTextBrowser::anchorClicked, this, &THelpWindow::BrowserAnchorClicked);
}

void THelpWindow::SetInterfaceTexts(const TWideStrings& strings)
{
    texts_.Clear();
    for (const char* key : kMessageKeys)
        texts_.Add(ToU16(QString::fromLatin1(key) + '=' + LangText(strings, key)));
}

void THelpWindow::BrowserAnchorClicked(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == "http" || scheme == "https" || scheme == "mailto") {
        OpenUrl(url);
        return;
    }
    if (scheme != kScheme)
        return;
    QString topic = url.path();
    while (topic.startsWith('/'))
        topic.remove(0, 1);
    if (url.hasFragment())
        topic += '#' + url.fragment();
    if (!Browser->OpenTopic(Browser->HelpFileName(), topic))
        ShowHelpFileError(this, Browser->HelpFileName(), texts_);
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

bool ShowHelpTopic(const QString& url, const TWideStrings& strings, QWidget* owner)
{
    const int at = url.indexOf("::");
    const QString file = at < 0 ? url : url.left(at);
    QString topic = at < 0 ? QString("1.htm") : url.mid(at + 2);
    while (topic.startsWith('/'))
        topic.remove(0, 1);
    owner = HelpOwner(owner);
    const bool fresh = !g_window;
    if (fresh)
        g_window = new THelpWindow(owner);
    g_window->SetInterfaceTexts(strings);
    if (!g_window->Browser->OpenTopic(file, topic)) {
        if (fresh)
            delete g_window;
        ShowHelpFileError(owner, file, strings);
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
