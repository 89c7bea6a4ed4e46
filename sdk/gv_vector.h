// SPDX-License-Identifier: GPL-2.0-or-later
// gv_vector: the growable array that crosses the plug-in boundary.
//
// Like gv_string, its storage is managed through virtual operations so that the module that
// made a list also frees it. Growth follows a fixed rule (at least 16 more elements each time)
// that plug-ins may rely on. Element access by index is unchecked.
#pragma once

#include <cstdint>
#include <cstddef>
#include <new>
#include <utility>

template <typename T>
class gv_vector {
public:
    gv_vector() = default;
    gv_vector(const gv_vector& other) { copyFrom(other); }
    gv_vector& operator=(const gv_vector& other)
    {
        if (&other != this) {
            clear();
            copyFrom(other);
        }
        return *this;
    }

    // Slot 0. Destroys every element and frees the storage.
    virtual void clear()
    {
        destroyAll(m_data, m_count);
        ::operator delete(static_cast<void*>(m_data));
        m_data = nullptr;
        m_count = 0;
        m_capacity = 0;
    }
    // Slot 1. Up to the capacity nothing happens; beyond it the storage grows to
    // max(n, capacity + 16) elements and the old elements are copied over.
    virtual void reserve(int32_t n)
    {
        if (n <= m_capacity)
            return;
        const int32_t capacity = n > m_capacity + 16 ? n : m_capacity + 16;
        T* block = static_cast<T*>(::operator new(sizeof(T) * static_cast<std::size_t>(capacity)));
        for (int32_t i = 0; i < m_count; ++i)
            new (block + i) T(m_data[i]);
        destroyAll(m_data, m_count);
        ::operator delete(static_cast<void*>(m_data));
        m_data = block;
        m_capacity = capacity;
    }
    // Slot 2.
    virtual ~gv_vector() { clear(); }

    void push_back(const T& value)
    {
        // Copy first: value may live inside the block that reserve replaces.
        T copy(value);
        reserve(m_count + 1);
        new (m_data + m_count) T(std::move(copy));
        ++m_count;
    }

    int32_t size() const { return m_count; }
    int32_t capacity() const { return m_capacity; }
    bool empty() const { return m_count == 0; }
    T& operator[](int32_t i) { return m_data[i]; }
    const T& operator[](int32_t i) const { return m_data[i]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_count; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_count; }

private:
    static void destroyAll(T* data, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
            data[i].~T();
    }
    void copyFrom(const gv_vector& other)
    {
        if (other.m_count == 0)
            return;
        reserve(other.m_count);
        for (int32_t i = 0; i < other.m_count; ++i)
            new (m_data + i) T(other.m_data[i]);
        m_count = other.m_count;
    }

    T* m_data = nullptr;
    int32_t m_count = 0;
    int32_t m_capacity = 0;
};
