// SPDX-License-Identifier: GPL-2.0-or-later
// gv_string: the heap string that crosses the plug-in boundary.
//
// A plug-in built on its own fills and frees these strings through their virtual operations,
// so the buffer is always allocated and released by the module that created the object. The
// virtual operations keep their slot order; do not add, remove or reorder them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

class gv_string {
public:
    gv_string() { m_buffer = duplicate("", 0); }
    gv_string(const char* text) : gv_string() { assign(text); }
    gv_string(const gv_string& other) : gv_string() { assign(other); }
    gv_string& operator=(const gv_string& other)
    {
        assign(other);
        return *this;
    }
    gv_string& operator=(const char* text)
    {
        assign(text);
        return *this;
    }

    // Slot 0. Self-assignment changes nothing.
    virtual void assign(const gv_string& other)
    {
        if (&other != this)
            assign(other.c_str());
    }
    // Slot 1. A null text, or a failed copy, leaves "".
    virtual void assign(const char* text)
    {
        if (text != nullptr && text == m_buffer)
            return;
        if (text == nullptr)
            text = "";
        char* copy = duplicate(text, std::strlen(text));
        if (copy == nullptr)
            copy = duplicate("", 0);
        std::free(m_buffer);
        m_buffer = copy;
    }
    // Slot 2. The buffer is reallocated to the exact new length; null appends nothing.
    virtual void append(const char* text)
    {
        if (text == nullptr)
            return;
        const std::size_t oldLength = length();
        const std::size_t extra = std::strlen(text);
        // The text may point into our own buffer, so copy it before reallocating.
        char* joined = static_cast<char*>(std::malloc(oldLength + extra + 1));
        if (joined == nullptr)
            return;
        std::memcpy(joined, c_str(), oldLength);
        std::memcpy(joined + oldLength, text, extra + 1);
        std::free(m_buffer);
        m_buffer = joined;
    }
    // Slot 3. Frees the buffer; the string reads as "" until it is assigned again.
    virtual void clear()
    {
        std::free(m_buffer);
        m_buffer = nullptr;
    }
    // Slot 4.
    virtual ~gv_string() { clear(); }

    int32_t length() const { return m_buffer ? static_cast<int32_t>(std::strlen(m_buffer)) : 0; }
    const char* c_str() const { return m_buffer ? m_buffer : ""; }
    bool empty() const { return length() == 0; }

    // First character at or after pos that belongs to set; -1 when none.
    int32_t find_first_of(const char* set, int32_t pos = 0) const
    {
        const int32_t n = length();
        for (int32_t i = pos < 0 ? 0 : pos; i < n; ++i)
            if (inSet(set, m_buffer[i]))
                return i;
        return -1;
    }
    // Last character at or before pos that belongs to set; pos -1 searches from the end.
    int32_t find_last_of(const char* set, int32_t pos = -1) const
    {
        const int32_t n = length();
        if (pos < 0 || pos >= n)
            pos = n - 1;
        for (int32_t i = pos; i >= 0; --i)
            if (inSet(set, m_buffer[i]))
                return i;
        return -1;
    }
    // Last occurrence of one character; -1 when none.
    int32_t reverse_find(char c) const
    {
        for (int32_t i = length() - 1; i >= 0; --i)
            if (m_buffer[i] == c)
                return i;
        return -1;
    }
    // First occurrence of one character at or after pos; -1 when none.
    int32_t find(char c, int32_t pos = 0) const
    {
        const int32_t n = length();
        for (int32_t i = pos < 0 ? 0 : pos; i < n; ++i)
            if (m_buffer[i] == c)
                return i;
        return -1;
    }
    // The text left of pos (pos characters at most).
    gv_string left(int32_t pos) const
    {
        gv_string result;
        const int32_t n = length();
        const int32_t count = pos < 0 ? 0 : (pos > n ? n : pos);
        char* part = duplicate(c_str(), static_cast<std::size_t>(count));
        if (part != nullptr) {
            std::free(result.m_buffer);
            result.m_buffer = part;
        }
        return result;
    }
    // The text from pos to the end.
    gv_string mid(int32_t pos) const
    {
        const int32_t n = length();
        if (pos < 0)
            pos = 0;
        return gv_string(pos >= n ? "" : c_str() + pos);
    }

    friend gv_string operator+(const gv_string& a, const char* b)
    {
        gv_string result(a);
        result.append(b);
        return result;
    }
    friend gv_string operator+(const gv_string& a, const gv_string& b) { return a + b.c_str(); }
    friend bool operator==(const gv_string& a, const char* b)
    {
        return std::strcmp(a.c_str(), b ? b : "") == 0;
    }
    friend bool operator==(const gv_string& a, const gv_string& b) { return a == b.c_str(); }

private:
    static char* duplicate(const char* text, std::size_t count)
    {
        char* copy = static_cast<char*>(std::malloc(count + 1));
        if (copy != nullptr) {
            std::memcpy(copy, text, count);
            copy[count] = '\0';
        }
        return copy;
    }
    static bool inSet(const char* set, char c) { return set && c && std::strchr(set, c); }

    char* m_buffer = nullptr;
};
