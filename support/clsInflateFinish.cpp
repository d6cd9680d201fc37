#include "clsInflateFinish.h"

clsInflateFinish::~clsInflateFinish()
{
    if (m_stream)
        inflateEnd(m_stream);
}
