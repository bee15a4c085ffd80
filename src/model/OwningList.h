#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace kalkora {

// An ordered list that owns its records: removing an entry or clearing the list destroys it.
// Indices and the count are int32, as in the files.
template <typename T> class OwningList {
public:
    OwningList() = default;
    OwningList(OwningList&&) noexcept = default;
    OwningList& operator=(OwningList&&) noexcept = default;

    std::int32_t count() const { return static_cast<std::int32_t>(records.size()); }
    const T* at(std::int32_t i) const { return records.at(static_cast<std::size_t>(i)).get(); }
    T* at(std::int32_t i) { return records.at(static_cast<std::size_t>(i)).get(); }

    // Appends the record, takes ownership and returns its index (the old count).
    std::int32_t add(std::unique_ptr<T> record)
    {
        records.push_back(std::move(record));
        return count() - 1;
    }
    void removeAt(std::int32_t i) { records.erase(records.begin() + i); }
    void clear() { records.clear(); }
    void swap(std::int32_t i, std::int32_t j) { std::swap(records.at(i), records.at(j)); }
    void reserve(std::int32_t n) { records.reserve(static_cast<std::size_t>(n)); }

private:
    std::vector<std::unique_ptr<T>> records;
};

} // namespace kalkora
