#pragma once
// Owners of what Extended MAPI hands out (interfaces, buffers, row sets) and the property reads
// the readers share. MAPI strings are read as PT_STRING8 in the ANSI code page and kept as UTF-8.
#include <windows.h>

#include <mapix.h>
#include <mapiutil.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pagelark {

template <typename Interface>
class MapiRef {
public:
    MapiRef() = default;
    explicit MapiRef(Interface* object) : object_(object) {}
    ~MapiRef() { Reset(); }
    MapiRef(MapiRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    MapiRef& operator=(MapiRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    MapiRef(const MapiRef&) = delete;
    MapiRef& operator=(const MapiRef&) = delete;

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    Interface** receive() {
        Reset();
        return &object_;
    }
    // For OpenEntry, which hands out an IUnknown of the type it reports.
    LPUNKNOWN* receiveUnknown() { return reinterpret_cast<LPUNKNOWN*>(receive()); }
    void Reset() {
        if (object_) object_->Release();
        object_ = nullptr;
    }

private:
    Interface* object_ = nullptr;
};

// One block from MAPIAllocateBuffer (or handed out by MAPI), freed with MAPIFreeBuffer.
template <typename T>
class MapiBuffer {
public:
    MapiBuffer() = default;
    ~MapiBuffer() { Reset(); }
    MapiBuffer(const MapiBuffer&) = delete;
    MapiBuffer& operator=(const MapiBuffer&) = delete;
    T* get() const { return block_; }
    T* operator->() const { return block_; }
    T** receive() {
        Reset();
        return &block_;
    }
    void Reset() {
        if (block_) MAPIFreeBuffer(block_);
        block_ = nullptr;
    }

private:
    T* block_ = nullptr;
};

// A row set from QueryRows, HrQueryAllRows or GetSearchPath, freed with FreeProws.
class RowSet {
public:
    RowSet() = default;
    ~RowSet() { Reset(); }
    RowSet(const RowSet&) = delete;
    RowSet& operator=(const RowSet&) = delete;
    LPSRowSet get() const { return rows_; }
    LPSRowSet* receive() {
        Reset();
        return &rows_;
    }
    ULONG size() const { return rows_ ? rows_->cRows : 0; }
    const SRow& operator[](ULONG i) const { return rows_->aRow[i]; }
    void Reset() {
        if (rows_) FreeProws(rows_);
        rows_ = nullptr;
    }

private:
    LPSRowSet rows_ = nullptr;
};

// The value of `tag` in a row, when the row holds it with that exact tag (not as an error value).
const SPropValue* FindColumn(const SRow& row, ULONG tag);
// A string column (PT_STRING8) as UTF-8.
std::optional<std::string> StringColumn(const SRow& row, ULONG tag);
// A binary column (an entry identifier) as bytes.
std::optional<std::string> BinaryColumn(const SRow& row, ULONG tag);
// One string property of an object read with HrGetOneProp; none when missing or not a string.
std::optional<std::string> ReadStringProp(IMAPIProp* object, ULONG tag);


// An entry identifier handed to OpenEntry.
inline LPENTRYID EntryIdOf(const std::string& bytes) {
    return reinterpret_cast<LPENTRYID>(const_cast<char*>(bytes.data()));
}
inline ULONG SizeOf(const std::string& bytes) { return static_cast<ULONG>(bytes.size()); }

}  // namespace pagelark
