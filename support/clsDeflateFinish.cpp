#include "clsDeflateFinish.h"

clsDeflateFinish::~clsDeflateFinish()
{
    if (m_stream)
        deflateEnd(m_stream);
}
