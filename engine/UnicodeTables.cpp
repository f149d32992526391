#include "engine/UnicodeTables.h"

#include "engine/UnicodeResources.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::uint16_t Swap16(std::uint16_t v)
{
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
}

std::uint32_t Swap32(std::uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

// Reads fields in the table's byte order, which its leading mark U+FEFF tells; never past the end.
class TTableReader {
public:
    TTableReader(std::span<const std::uint8_t> data, const char* name)
        : data_(data),
          name_(name)
    {
        const std::uint16_t mark = Read16Raw();
        if (mark == 0xFFFE)
            swap_ = true;
        else if (mark != 0xFEFF)
            Damaged();
    }

    std::uint16_t Read16()
    {
        const std::uint16_t v = Read16Raw();
        return swap_ ? Swap16(v) : v;
    }

    std::uint32_t Read32()
    {
        std::uint32_t v;
        Take(&v, sizeof v);
        return swap_ ? Swap32(v) : v;
    }

    void Skip(size_t n)
    {
        Need(n);
        pos_ += n;
    }

    void Need(size_t n) const
    {
        if (n > data_.size() - pos_)
            Damaged();
    }

    [[noreturn]] void Damaged() const { throw EUnicodeResourceError(std::string("Resource ") + name_ + " is damaged"); }

private:
    std::uint16_t Read16Raw()
    {
        std::uint16_t v;
        Take(&v, sizeof v);
        return v;
    }

    void Take(void* out, size_t n)
    {
        Need(n);
        std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
    }

    std::span<const std::uint8_t> data_;
    const char* name_;
    size_t pos_ = 0;
    bool swap_ = false;
};

std::span<const std::uint8_t> Resource(const char* name)
{
    std::span<const std::uint8_t> data = FindUnicodeResource(name);
    if (data.empty())
        throw EUnicodeResourceError(std::string("Resource ") + name + " not found");
    return data;
}

// The module's lock around the one-time loading, created at its first use.
std::mutex& TableLock()
{
    static std::mutex lock;
    return lock;
}

template <typename T> class TLazyTable {
public:
    constexpr explicit TLazyTable(const char* name)
        : name_(name)
    {
    }

    const T& Get()
    {
        const T* table = loaded_.load(std::memory_order_acquire);
        if (!table) {
            std::lock_guard guard(TableLock());
            table = loaded_.load(std::memory_order_relaxed);
            if (!table) {
                // A failure leaves the table unloaded; the next use tries again.
                owner_ = std::make_unique<T>(T::Load(Resource(name_), name_));
                table = owner_.get();
                loaded_.store(table, std::memory_order_release);
            }
        }
        return *table;
    }

private:
    const char* name_;
    std::unique_ptr<T> owner_;
    std::atomic<const T*> loaded_{nullptr};
};

constinit TLazyTable<TCharTypeTable> gTypeTable("TYPE");
constinit TLazyTable<TCaseTable> gCaseTable("CASE");

}  // namespace

// ---- category table -------------------------------------------------------------------------

TCharTypeTable TCharTypeTable::Load(std::span<const std::uint8_t> data, const char* name)
{
    TTableReader in(data, name);
    const std::uint16_t n = in.Read16();
    in.Read32();  // size of the rest, not needed
    TCharTypeTable table;
    const size_t offsetCount = size_t{n} + 1;
    in.Need((offsetCount * 2 + 3) / 4 * 4);
    table.offsets_.resize(offsetCount);
    for (auto& o : table.offsets_)
        o = in.Read16();
    if (offsetCount % 2)
        in.Skip(2);
    // Every category must lie within the range array, in order, on whole pairs.
    const std::uint16_t length = table.offsets_[n];
    if (length % 2)
        in.Damaged();
    std::uint16_t previous = 0;
    for (size_t k = 0; k < n; ++k) {
        const std::uint16_t o = table.offsets_[k];
        if (o == 0xFFFF)
            continue;
        if (o % 2 || o < previous || o > length)
            in.Damaged();
        previous = o;
    }
    in.Need(size_t{length} * 4);
    table.ranges_.resize(length);
    for (auto& v : table.ranges_)
        v = in.Read32();
    return table;
}

bool TCharTypeTable::IsCharProperty(std::uint32_t code, int category) const
{
    const int n = CategoryCount();
    if (category < 0 || category >= n || offsets_[static_cast<size_t>(category)] == 0xFFFF)
        return false;
    size_t j = static_cast<size_t>(category) + 1;
    while (j < static_cast<size_t>(n) && offsets_[j] == 0xFFFF)
        ++j;
    long lo = offsets_[static_cast<size_t>(category)];
    long hi = long{offsets_[j]} - 1;
    while (lo <= hi) {
        long mid = (lo + hi) / 2;
        mid -= mid % 2;
        if (code > ranges_[static_cast<size_t>(mid) + 1])
            lo = mid + 2;
        else if (code < ranges_[static_cast<size_t>(mid)])
            hi = mid - 2;
        else
            return true;
    }
    return false;
}

bool TCharTypeTable::IsCharInCategories(std::uint32_t code, std::uint32_t mask1, std::uint32_t mask2) const
{
    for (int k = 0; k < 32; ++k)
        if ((mask1 >> k) & 1u && IsCharProperty(code, k))
            return true;
    for (int b = 0; b < 32 && 32 + b < CategoryCount(); ++b)
        if ((mask2 >> b) & 1u && IsCharProperty(code, 32 + b))
            return true;
    return false;
}

// ---- case table -----------------------------------------------------------------------------

TCaseTable TCaseTable::Load(std::span<const std::uint8_t> data, const char* name)
{
    TTableReader in(data, name);
    const std::uint16_t total = in.Read16();
    const std::uint16_t upper = in.Read16();
    const std::uint16_t lower = in.Read16();
    if (size_t{upper} + lower > total)
        in.Damaged();
    TCaseTable table;
    table.totalValues_ = long{total} * 3;
    table.upperValues_ = long{upper} * 3;
    table.lowerValues_ = long{lower} * 3;
    in.Need(size_t{total} * 12);
    table.values_.resize(size_t{total} * 3);
    for (auto& v : table.values_)
        v = in.Read32();
    return table;
}

std::uint32_t TCaseTable::Lookup(std::uint32_t code, long lo, long hi, int field) const
{
    while (lo <= hi) {
        long mid = (lo + hi) / 2;
        mid -= mid % 3;
        const std::uint32_t key = values_[static_cast<size_t>(mid)];
        if (code > key)
            lo = mid + 3;
        else if (code < key)
            hi = mid - 3;
        else
            return values_[static_cast<size_t>(mid + field)];
    }
    return code;
}

std::uint32_t TCaseTable::ToUpper(std::uint32_t code, const TCharTypeTable& types) const
{
    if (types.IsCharProperty(code, ccUpperCaseLetter))
        return code;
    if (types.IsCharProperty(code, ccLowerCaseLetter))
        return Lookup(code, upperValues_, upperValues_ + lowerValues_ - 3, 1);
    return Lookup(code, upperValues_ + lowerValues_, totalValues_ - 3, 1);
}

std::uint32_t TCaseTable::ToLower(std::uint32_t code, const TCharTypeTable& types) const
{
    if (types.IsCharProperty(code, ccLowerCaseLetter))
        return code;
    if (types.IsCharProperty(code, ccUpperCaseLetter))
        return Lookup(code, 0, upperValues_ - 3, 1);
    return Lookup(code, upperValues_ + lowerValues_, totalValues_ - 3, 2);
}

// ---- the program's tables ---------------------------------------------------------------------

const TCharTypeTable& UnicodeTypeTable()
{
    return gTypeTable.Get();
}

const TCaseTable& UnicodeCaseTable()
{
    return gCaseTable.Get();
}

bool IsCharProperty(std::uint32_t code, int category)
{
    return UnicodeTypeTable().IsCharProperty(code, category);
}

bool IsCharInCategories(std::uint32_t code, std::uint32_t mask1, std::uint32_t mask2)
{
    return UnicodeTypeTable().IsCharInCategories(code, mask1, mask2);
}

bool IsControlChar(std::uint32_t code)
{
    return IsCharInCategories(code, 0x600, 0);
}

bool IsSpaceChar(std::uint32_t code)
{
    return IsCharInCategories(code, 0x2040, 0x30);
}

bool IsUpperChar(std::uint32_t code)
{
    return IsCharInCategories(code, 0x4000, 0);
}

bool IsLowerChar(std::uint32_t code)
{
    return IsCharInCategories(code, 0x8000, 0);
}

std::uint32_t CodeToUpper(std::uint32_t code)
{
    return UnicodeCaseTable().ToUpper(code, UnicodeTypeTable());
}

std::uint32_t CodeToLower(std::uint32_t code)
{
    return UnicodeCaseTable().ToLower(code, UnicodeTypeTable());
}
