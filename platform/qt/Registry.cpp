#include "platform/qt/Registry.h"

#include "platform/FileSystem.h"
#include "platform/SafeFile.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// How the two kinds are told apart in the INI file: "dword:0000000a", "qword:...", "sz:text".
// A text without a prefix (written by hand) is a string.
const QString kDwordPrefix = QStringLiteral("dword:");
const QString kQwordPrefix = QStringLiteral("qword:");
const QString kStringPrefix = QStringLiteral("sz:");
// A group name no key can have: the result of a key name that cannot be stored.
const std::string kNoGroup = "\x01";
// The entry that keeps a key without values in the file.
const QString kKeyMarker = QStringLiteral(".");

enum class TKind { Missing, Dword, Qword, String, Other };

struct TStored {
    TKind Kind = TKind::Missing;
    QString Text;  // without its prefix
};

QString FromUtf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

TStored Classify(const QVariant& v)
{
    if (!v.isValid())
        return {};
    if (v.typeId() != QMetaType::QString)
        return {TKind::Other, {}};
    const QString s = v.toString();
    if (s.startsWith(kDwordPrefix))
        return {TKind::Dword, s.mid(kDwordPrefix.size())};
    if (s.startsWith(kQwordPrefix))
        return {TKind::Qword, s.mid(kQwordPrefix.size())};
    if (s.startsWith(kStringPrefix))
        return {TKind::String, s.mid(kStringPrefix.size())};
    return {TKind::String, s};
}

// Exactly Digits hex digits; nothing else is a stored number.
std::optional<std::uint64_t> ParseHex(const QString& text, int digits)
{
    if (text.size() != digits)
        return std::nullopt;
    bool ok = false;
    const std::uint64_t v = text.toULongLong(&ok, 16);
    if (!ok || text.startsWith(u'+') || text.startsWith(u'-'))
        return std::nullopt;
    return v;
}

QString Hex(std::uint64_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0'));
}

std::string Quoted(std::string_view name)
{
    return "'" + std::string(name) + "'";
}

void CheckName(std::string_view name)
{
    if (name.empty() || FromUtf8(name) == kKeyMarker || name.find('/') != std::string_view::npos
        || name.find('\\') != std::string_view::npos)
        throw ERegistryError("Invalid value name " + Quoted(name));
}

std::string ConfigHome()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* pw = getpwuid(getuid());
        home = pw != nullptr ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config";
}

// Whether the store would drop lines of Text when it rewrites it: lines that are neither a
// section, a comment nor name=value, or control characters.
bool LooksDamaged(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r')
                return true;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';' || line.front() == '#' || line.find('=') != std::string_view::npos)
            continue;
        if (line.front() != '[' || line.back() != ']')
            return true;
    }
    return false;
}

// Whether the INI file Written holds exactly the values of Store.
bool ReadsBack(const std::string& written, const QSettings& store)
{
    const QSettings check(QString::fromStdString(written), QSettings::IniFormat);
    const QStringList keys = store.allKeys();
    if (check.status() != QSettings::NoError || check.allKeys() != keys)
        return false;
    for (const QString& key : keys)
        if (check.value(key) != store.value(key))
            return false;
    return true;
}

}  // namespace

TRegistry::TRegistry(TRootKey root)
    : root_(root),
      file_(StoreFile(root))
{
}

TRegistry::~TRegistry()
{
    // Going out of scope closes the key, as the registry does: what was written is stored.
    // A failure here has no caller to tell; the file then stays as it was.
    try {
        CloseKey();
    } catch (const std::exception&) {
    }
    store_.reset();
    if (!scratch_.empty())
        ::unlink(scratch_.c_str());
}

std::string TRegistry::StoreFile(TRootKey root)
{
    if (root == TRootKey::LocalMachine)
        return Platform::ProgramFolder() + "LexoraXP-machine.conf";
    return ConfigHome() + "/Lexora/LexoraXP.conf";
}

QSettings& TRegistry::Store() const
{
    if (!store_)
        store_ = std::make_unique<QSettings>(QString::fromStdString(file_), QSettings::IniFormat);
    return *store_;
}

std::string TRegistry::CurrentPath() const
{
    std::string path = "\\" + current_;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// The group of Key, each part spelt as it is already stored (keys ignore case); kNoGroup for
// a name that cannot be a key.
std::string TRegistry::Resolve(std::string_view key) const
{
    std::string group = (!key.empty() && key.front() == '\\') || !open_ ? std::string() : current_;
    size_t pos = 0;
    while (pos <= key.size()) {
        size_t end = key.find('\\', pos);
        if (end == std::string_view::npos)
            end = key.size();
        const std::string_view part = key.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        if (part.find('/') != std::string_view::npos || part == "." || part == "..")
            return kNoGroup;
        QString name = FromUtf8(part);
        QSettings& s = Store();
        s.beginGroup(QString::fromStdString(group));
        for (const QString& g : s.childGroups())
            if (g.compare(name, Qt::CaseInsensitive) == 0) {
                name = g;
                break;
            }
        s.endGroup();
        group += (group.empty() ? "" : "/") + name.toStdString();
    }
    return group;
}

bool TRegistry::GroupExists(const std::string& group) const
{
    if (group.empty())
        return true;
    if (group == kNoGroup)
        return false;
    QSettings& s = Store();
    s.beginGroup(QString::fromStdString(group));
    const bool exists = !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
    s.endGroup();
    return exists;
}

bool TRegistry::KeyExists(std::string_view key) const
{
    return GroupExists(Resolve(key));
}

void TRegistry::MarkKey(const std::string& group)
{
    PrepareWrite();
    Store().setValue(QString::fromStdString(group) + u'/' + kKeyMarker, QString());
    changed_ = true;
}

bool TRegistry::CreateKey(std::string_view key)
{
    const std::string group = Resolve(key);
    if (group == kNoGroup || root_ == TRootKey::LocalMachine)
        return GroupExists(group);
    if (!group.empty() && !GroupExists(group))
        MarkKey(group);
    return true;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate)
{
    if (!changed_ && store_)
        store_->sync();  // what other writers stored since
    const std::string group = Resolve(key);
    if (!GroupExists(group)) {
        if (!canCreate || group == kNoGroup || root_ == TRootKey::LocalMachine)
            return false;
        MarkKey(group);
    }
    current_ = group;
    open_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    open_ = false;
    current_.clear();
    if (!changed_ || !store_)
        return;
    // The store writes its scratch copy (a format error only means that damaged lines were
    // dropped; PrepareWrite kept a copy of them). The copy must read back as the store holds
    // it, since the store's rewrite drops without a word what a short write cut off; only
    // then does it replace the file, whole. Under a new name the copy is parsed from the
    // disk, not from what the process remembers of the old name.
    store_->sync();
    const std::string written = scratch_ + ".check";
    bool done = false;
    std::string why;
    try {
        if (store_->status() != QSettings::AccessError && ::rename(scratch_.c_str(), written.c_str()) == 0
            && ReadsBack(written, *store_)) {
            Platform::TSafeFile out(file_);
            out.SetMode(0600);  // it holds a password
            out.Write(Platform::ReadWholeFile(written));
            out.Commit();
            done = true;
        }
    } catch (const std::exception& e) {
        why = std::string(": ") + e.what();
    }
    // Back to the file itself, which other writers may change next.
    changed_ = false;
    store_.reset();
    ::unlink(written.c_str());
    ::unlink(scratch_.c_str());
    scratch_.clear();
    if (!done)
        throw ERegistryError("Cannot write the settings file \"" + file_ + "\"" + why);
}

// Before the first write of a batch: creates the user-only folder, keeps a damaged file aside
// and moves the store to a private scratch copy of the file (mode 0600, as the file itself).
void TRegistry::PrepareWrite()
{
    if (root_ == TRootKey::LocalMachine)
        throw ERegistryError("The local machine settings are read-only");
    if (changed_)
        return;
    std::error_code ec;
    const fs::path folder = fs::path(file_).parent_path();
    if (!fs::exists(folder, ec)) {
        fs::create_directories(folder, ec);
        ::chmod(folder.c_str(), 0700);
    }
    // Missing, or unreadable: the store cannot read it either, and the copy starts empty.
    std::string old;
    try {
        old = Platform::ReadWholeFile(file_);
    } catch (const std::system_error&) {
    }
    // The rewrite keeps only the lines the store understands: a damaged file is kept aside.
    if (LooksDamaged(old)) {
        const std::string copy = file_ + ".damaged";
        fs::remove(copy, ec);
        const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (out < 0 || ::write(out, old.data(), old.size()) != static_cast<ssize_t>(old.size())) {
            if (out >= 0)
                ::close(out);
            throw ERegistryError("Cannot keep a copy of the damaged settings file \"" + file_ + "\"");
        }
        ::close(out);
    }
    if (scratch_.empty()) {
        // The store moves to a private copy of the file: what it writes reaches the file only
        // through CloseKey.
        std::string pattern = (folder / ("." + fs::path(file_).filename().string() + ".XXXXXX")).string();
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0)
            throw ERegistryError("Cannot write the settings file \"" + file_ + "\"");
        const bool copied = ::write(fd, old.data(), old.size()) == static_cast<ssize_t>(old.size());
        ::close(fd);
        if (!copied) {
            ::unlink(pattern.c_str());
            throw ERegistryError("Cannot write the settings file \"" + file_ + "\"");
        }
        scratch_ = pattern;
        store_ = std::make_unique<QSettings>(QString::fromStdString(scratch_), QSettings::IniFormat);
    }
}

namespace {

// The stored spelling of Name in Group (names ignore case); Name itself when it is new.
QString ActualName(QSettings& s, const std::string& group, std::string_view name)
{
    const QString wanted = FromUtf8(name);
    s.beginGroup(QString::fromStdString(group));
    const QStringList keys = s.childKeys();
    s.endGroup();
    for (const QString& k : keys)
        if (k != kKeyMarker && k.compare(wanted, Qt::CaseInsensitive) == 0)
            return k;
    return wanted;
}

QString FullName(const std::string& group, const QString& name)
{
    return group.empty() ? name : QString::fromStdString(group) + u'/' + name;
}

TStored Lookup(QSettings& s, const std::string& group, std::string_view name)
{
    CheckName(name);
    return Classify(s.value(FullName(group, ActualName(s, group, name))));
}

}  // namespace

bool TRegistry::ValueExists(std::string_view name) const
{
    try {
        CheckName(name);
    } catch (const ERegistryError&) {
        return false;
    }
    return Lookup(Store(), current_, name).Kind != TKind::Missing;
}

std::int32_t TRegistry::ReadInteger(std::string_view name) const
{
    const TStored v = Lookup(Store(), current_, name);
    if (v.Kind == TKind::Missing)
        throw ERegistryError("Failed to get data for " + Quoted(name));
    const auto n = v.Kind == TKind::Dword ? ParseHex(v.Text, 8) : std::nullopt;
    if (!n)
        throw ERegistryError("Invalid data type for " + Quoted(name));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*n));
}

std::int64_t TRegistry::ReadInt64(std::string_view name) const
{
    const TStored v = Lookup(Store(), current_, name);
    if (v.Kind == TKind::Qword) {
        if (const auto n = ParseHex(v.Text, 16))
            return static_cast<std::int64_t>(*n);
        throw ERegistryError("Invalid data type for " + Quoted(name));
    }
    return ReadInteger(name);
}

std::u16string TRegistry::ReadString(std::string_view name) const
{
    const TStored v = Lookup(Store(), current_, name);
    if (v.Kind == TKind::Missing)
        return {};
    if (v.Kind != TKind::String)
        throw ERegistryError("Invalid data type for " + Quoted(name));
    return std::u16string(reinterpret_cast<const char16_t*>(v.Text.utf16()), static_cast<size_t>(v.Text.size()));
}

void TRegistry::WriteInteger(std::string_view name, std::int32_t value)
{
    CheckName(name);
    PrepareWrite();
    QSettings& s = Store();
    s.setValue(FullName(current_, ActualName(s, current_, name)),
               kDwordPrefix + Hex(static_cast<std::uint32_t>(value), 8));
    changed_ = true;
}

void TRegistry::WriteInt64(std::string_view name, std::int64_t value)
{
    if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteInteger(name, static_cast<std::int32_t>(value));
        return;
    }
    CheckName(name);
    PrepareWrite();
    QSettings& s = Store();
    s.setValue(FullName(current_, ActualName(s, current_, name)),
               kQwordPrefix + Hex(static_cast<std::uint64_t>(value), 16));
    changed_ = true;
}

void TRegistry::WriteString(std::string_view name, std::u16string_view value)
{
    CheckName(name);
    PrepareWrite();
    QSettings& s = Store();
    s.setValue(FullName(current_, ActualName(s, current_, name)),
               kStringPrefix + QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size())));
    changed_ = true;
}

bool TRegistry::DeleteValue(std::string_view name)
{
    CheckName(name);
    QSettings& s = Store();
    const QString full = FullName(current_, ActualName(s, current_, name));
    if (!s.contains(full))
        return false;
    PrepareWrite();  // may move the store to its scratch copy
    Store().remove(full);
    changed_ = true;
    if (!current_.empty() && !GroupExists(current_))
        MarkKey(current_);  // the key outlives its last value
    return true;
}
