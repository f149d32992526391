// Settings store in the manner of a registry: keys ("\Software\TavorSoft\LexoraXP") holding
// named values of two kinds, 32-bit integers and strings (and 64-bit integers for values that
// outgrow 32 bits). The current user's store is $XDG_CONFIG_HOME/Lexora/LexoraXP.conf (mode
// 0600: it holds a proxy password); the local machine's is LexoraXP-machine.conf in the
// program folder, read-only. Both are INI files written whole and renamed into place.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class QSettings;

// A failed read or write: a missing value, a value of another kind, a store that cannot be
// written.
class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TRootKey { CurrentUser, LocalMachine };

class TRegistry {
public:
    explicit TRegistry(TRootKey root = TRootKey::CurrentUser);
    // Closes the key: what was written is stored when it can be (errors are not reported).
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // The file that holds the values of Root.
    static std::string StoreFile(TRootKey root);

    // Opens Key: absolute when it starts with "\", else below the current key. A missing key
    // is created when CanCreate (never in the read-only local machine store). False when the
    // key is missing or cannot be created; the current key is then unchanged.
    bool OpenKey(std::string_view key, bool canCreate);
    bool KeyExists(std::string_view key) const;
    // Creates Key (absolute or below the current key) without opening it.
    bool CreateKey(std::string_view key);
    // Writes what was changed to the store; throws ERegistryError when it cannot be written
    // (the file on disk then stays as it was).
    void CloseKey();

    bool HasCurrentKey() const { return open_; }
    std::string CurrentPath() const;

    // Names are compared without regard to case, as the registry does.
    bool ValueExists(std::string_view name) const;
    // A missing value or one of another kind throws ERegistryError.
    std::int32_t ReadInteger(std::string_view name) const;
    bool ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }
    // A 32-bit value sign-extended, or a 64-bit value.
    std::int64_t ReadInt64(std::string_view name) const;
    // A missing value reads as empty; one of another kind throws ERegistryError.
    std::u16string ReadString(std::string_view name) const;

    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }
    // Stored as a 32-bit value when it fits, else as a 64-bit value.
    void WriteInt64(std::string_view name, std::int64_t value);
    void WriteString(std::string_view name, std::u16string_view value);
    bool DeleteValue(std::string_view name);

private:
    QSettings& Store() const;
    void PrepareWrite();
    std::string Resolve(std::string_view key) const;
    bool GroupExists(const std::string& group) const;
    void MarkKey(const std::string& group);

    TRootKey root_;
    std::string file_;
    mutable std::unique_ptr<QSettings> store_;
    std::string current_;  // group path of the open key, "/"-separated, no leading "/"
    bool open_ = false;
    bool changed_ = false;
    std::string scratch_;  // the private copy the store writes, once a write began
};
