// A growable, NUL-terminated text buffer (record images, keys, expressions, error and memo
// texts). The text is reached directly through m_data.
//
// The constructors set capacities exactly; growth by Reserve rounds up to a multiple of 64 and
// keeps every byte of the old capacity.
#pragma once

#include <cstdint>

class clsBuffer {
public:
    // Capacity 256, empty text.
    clsBuffer();
    // That capacity with empty text; 0 leaves the buffer without data.
    explicit clsBuffer(unsigned capacity);
    // A copy of the text with capacity length + 1; NULL gives no data.
    explicit clsBuffer(const char* text);
    // Same capacity, all capacity bytes copied.
    clsBuffer(const clsBuffer& other);
    ~clsBuffer();
    clsBuffer& operator=(const clsBuffer&) = delete;

    void Reserve(unsigned size);
    void Assign(const char* text);
    void Append(const char* text);
    clsBuffer& operator=(const char* text)
    {
        Assign(text);
        return *this;
    }
    clsBuffer& operator+=(const char* text)
    {
        Append(text);
        return *this;
    }

    char* m_data = nullptr;
    uint32_t m_capacity = 0;
};
