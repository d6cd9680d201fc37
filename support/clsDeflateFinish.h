// Scope guards that end a zlib stream when they are destroyed. The library carries zlib's
// deflate and inflate code; none of its operations creates a stream today.
#pragma once

#include <zlib.h>

class clsDeflateFinish {
public:
    explicit clsDeflateFinish(z_stream* stream) : m_stream(stream) {}
    ~clsDeflateFinish();
    clsDeflateFinish(const clsDeflateFinish&) = delete;
    clsDeflateFinish& operator=(const clsDeflateFinish&) = delete;

private:
    z_stream* m_stream;
};
