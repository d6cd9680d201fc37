#include "clsBuffer.h"

#include <cstring>

clsBuffer::clsBuffer() : clsBuffer(256u) {}

clsBuffer::clsBuffer(unsigned capacity)
{
    if (!capacity)
        return;
    m_data = new char[capacity];
    m_data[0] = 0;
    m_capacity = capacity;
}

clsBuffer::clsBuffer(const char* text)
{
    if (!text)
        return;
    size_t n = std::strlen(text) + 1;
    m_data = new char[n];
    std::memcpy(m_data, text, n);
    m_capacity = (uint32_t)n;
}

clsBuffer::clsBuffer(const clsBuffer& other)
{
    if (!other.m_data || !other.m_capacity)
        return;
    m_data = new char[other.m_capacity];
    std::memcpy(m_data, other.m_data, other.m_capacity);
    m_capacity = other.m_capacity;
}

clsBuffer::~clsBuffer() { delete[] m_data; }

void clsBuffer::Reserve(unsigned size)
{
    if (size <= m_capacity)
        return;
    uint32_t capacity = (size + 63u) & ~63u;
    if (capacity < size)
        capacity = size; // no rounding past the largest size
    char* data = new char[capacity];
    if (m_data) {
        std::memcpy(data, m_data, m_capacity);
        delete[] m_data;
    } else {
        data[0] = 0;
    }
    m_data = data;
    m_capacity = capacity;
}

void clsBuffer::Assign(const char* text)
{
    if (!text)
        return;
    size_t n = std::strlen(text) + 1;
    if (m_capacity < n)
        Reserve((unsigned)n);
    std::memmove(m_data, text, n);
}

void clsBuffer::Append(const char* text)
{
    if (!m_data) {
        Assign(text);
        return;
    }
    if (!text)
        return;
    // The text may lie in this buffer: Reserve keeps every byte, so its offset stays valid.
    bool inside = text >= m_data && text < m_data + m_capacity;
    size_t offset = inside ? (size_t)(text - m_data) : 0;
    size_t present = strnlen(m_data, m_capacity);
    size_t added = std::strlen(text);
    Reserve((unsigned)(present + added + 1));
    if (inside)
        text = m_data + offset;
    std::memmove(m_data + present, text, added);
    m_data[present + added] = 0;
}
