#include "NtxFormat.h"

#include <cstring>

#include "vlDB07.h"

namespace ntx {

const char kPackedMarker[kPackedMarkerSize] = "-@!velmar/Qiv!@-";

unsigned MaxKeysFor(unsigned keySize)
{
    const unsigned perPage = (kPageSize - 2) / (keySize + kItemOverhead + 2);
    const unsigned keys = perPage > 0 ? perPage - 1 : 0;
    return keys & ~1u;
}

bool GeometryOf(const uint8_t* header, Geometry* geometry)
{
    Geometry g;
    g.keySize = dbf::Get16(header + kKeySizeAt);
    g.itemSize = dbf::Get16(header + kItemSizeAt);
    g.maxKeys = dbf::Get16(header + kMaxKeysAt);
    g.half = dbf::Get16(header + kHalfAt);
    if (g.keySize < 1 || g.keySize > kMaxKeySize || g.itemSize != g.keySize + kItemOverhead)
        return false;
    if (g.half < 1 || g.half > kMaxHalf || g.maxKeys != 2 * g.half)
        return false;
    if ((g.maxKeys + 1) * (g.itemSize + 2) > kPageSize - 2)
        return false;
    *geometry = g;
    return true;
}

void SetGeometry(uint8_t* header, unsigned keySize, unsigned decimals)
{
    const unsigned maxKeys = MaxKeysFor(keySize);
    dbf::Put16(header + kItemSizeAt, (uint16_t)(keySize + kItemOverhead));
    dbf::Put16(header + kKeySizeAt, (uint16_t)keySize);
    dbf::Put16(header + kDecimalsAt, (uint16_t)decimals);
    dbf::Put16(header + kMaxKeysAt, (uint16_t)maxKeys);
    dbf::Put16(header + kHalfAt, (uint16_t)(maxKeys / 2));
}

bool PageValid(const uint8_t* page, const Geometry& g)
{
    if (dbf::Get16(page) > g.maxKeys)
        return false;
    const unsigned last = kPageSize - g.itemSize;
    for (unsigned entry = 0; entry <= g.maxKeys; ++entry) {
        const unsigned offset = dbf::Get16(page + 2 + 2 * entry);
        if (offset < g.SlotsAt() || offset > last)
            return false;
    }
    return true;
}

void InitPage(uint8_t* page, const Geometry& g)
{
    std::memset(page, 0, kPageSize);
    for (unsigned entry = 0; entry <= g.maxKeys; ++entry)
        dbf::Put16(page + 2 + 2 * entry, (uint16_t)g.SlotOffset(entry));
}

} // namespace ntx

unsigned _ntx_check_header(const uint8_t* header)
{
    const uint16_t signature = ntx::Signature(header);
    ntx::Geometry geometry;
    if ((signature != ntx::kSignature && signature != ntx::kSignatureUnique) || !ntx::GeometryOf(header, &geometry))
        return DBE_INDEX_BAD;
    return 0;
}

unsigned _ntx_check_key(char type, int length, unsigned keySize)
{
    const unsigned maxLength = ntx::kMaxKeySize - 1;
    const unsigned effective = length > (int)maxLength ? ntx::kMaxKeySize : (length < 0 ? 0 : (unsigned)length);
    if (effective == 0 || type == 'L' || (type == 'C' && effective != keySize))
        return DBE_KEY_TYPE;
    return 0;
}

bool _ntx_is_packed(const uint8_t* header)
{
    return std::memcmp(header + ntx::kPackedMarkerAt, ntx::kPackedMarker, ntx::kPackedMarkerSize) == 0;
}
