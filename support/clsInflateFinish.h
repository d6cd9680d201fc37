// Scope guard that ends a zlib inflate stream when it is destroyed (see clsDeflateFinish).
#pragma once

#include <zlib.h>

class clsInflateFinish {
public:
    explicit clsInflateFinish(z_stream* stream) : m_stream(stream) {}
    ~clsInflateFinish();
    clsInflateFinish(const clsInflateFinish&) = delete;
    clsInflateFinish& operator=(const clsInflateFinish&) = delete;

private:
    z_stream* m_stream;
};
