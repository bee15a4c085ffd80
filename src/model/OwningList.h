#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace kalkora {

// Blocks of many megabytes are mapped in 2 MiB pages where the system allows it: filling
// a million records then takes a few dozen page faults instead of tens of thousands.
template <typename T> struct RecordBlockAllocator {
    using value_type = T;
    static constexpr std::size_t hugePage = std::size_t(2) << 20;

    RecordBlockAllocator() = default;
    template <typename U> RecordBlockAllocator(const RecordBlockAllocator<U>&) { }

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < 4 * hugePage)
            return std::allocator<T>().allocate(n);
        void* block = ::operator new(bytes, std::align_val_t(hugePage));
#ifdef MADV_HUGEPAGE
        madvise(block, bytes, MADV_HUGEPAGE);
#endif
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t n)
    {
        if (n * sizeof(T) < 4 * hugePage)
            std::allocator<T>().deallocate(block, n);
        else
            ::operator delete(block, std::align_val_t(hugePage));
    }
    template <typename U> bool operator==(const RecordBlockAllocator<U>&) const
    {
        return true;
    }
};

// An ordered list that owns its records: removing an entry or clearing the list destroys it.
// Indices and the count are int32, as in the files.
//
// The records live in a few large blocks rather than one heap allocation each, so that a list
// of a million operations is built and destroyed in one go; a record never moves while it is
// in the list. A removed record is reset and its place reused by the next one added.
template <typename T> class OwningList {
public:
    OwningList() = default;
    OwningList(OwningList&&) noexcept = default;
    OwningList& operator=(OwningList&&) noexcept = default;

    std::int32_t count() const { return static_cast<std::int32_t>(records.size()); }
    const T* at(std::int32_t i) const { return records.at(static_cast<std::size_t>(i)); }
    T* at(std::int32_t i) { return records.at(static_cast<std::size_t>(i)); }

    // Appends the record, takes ownership and returns its index (the old count).
    std::int32_t add(std::unique_ptr<T> record)
    {
        emplace() = std::move(*record);
        return count() - 1;
    }
    // Inserts the record before index i (count() appends) and takes ownership.
    void insertAt(std::int32_t i, std::unique_ptr<T> record)
    {
        add(std::move(record));
        std::rotate(records.begin() + i, records.end() - 1, records.end());
    }
    // Appends a new default record and returns it.
    T& emplace()
    {
        T* slot = nullptr;
        if (!freeSlots.empty()) {
            slot = freeSlots.back();
            freeSlots.pop_back();
        } else {
            if (blocks.empty() || blocks.back().size() == blocks.back().capacity())
                addBlock(std::clamp<std::size_t>(records.size(), minBlock, maxBlock));
            slot = &blocks.back().emplace_back();
        }
        records.push_back(slot);
        return *slot;
    }
    void removeAt(std::int32_t i)
    {
        T* record = records.at(static_cast<std::size_t>(i));
        *record = T();
        freeSlots.push_back(record);
        records.erase(records.begin() + i);
    }
    void clear()
    {
        records.clear();
        freeSlots.clear();
        blocks.clear();
    }
    void swap(std::int32_t i, std::int32_t j) { std::swap(records.at(i), records.at(j)); }
    // Room for n records in all, allocated at once.
    void reserve(std::int32_t n)
    {
        const auto wanted = static_cast<std::size_t>(std::max(0, n));
        records.reserve(wanted);
        const std::size_t room
            = freeSlots.size() + (blocks.empty() ? 0 : blocks.back().capacity() - blocks.back().size());
        if (wanted > records.size() + room)
            addBlock(wanted - records.size() - freeSlots.size());
    }

private:
    static constexpr std::size_t minBlock = 16;
    static constexpr std::size_t maxBlock = 4096;

    void addBlock(std::size_t capacity)
    {
        // A partly used block stays as it is; its records must not move.
        blocks.emplace_back().reserve(capacity);
    }

    std::vector<T*> records; // in list order
    std::vector<std::vector<T, RecordBlockAllocator<T>>> blocks; // never grow beyond their reserved capacity
    std::vector<T*> freeSlots;
};

} // namespace kalkora
