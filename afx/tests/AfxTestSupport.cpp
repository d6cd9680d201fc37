#include "AfxTestSupport.h"

#include <stdexcept>
#include <vector>

namespace afxtest {

namespace {
std::vector<BYTE> FromHex(const std::string& hex)
{
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back((BYTE)std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}
} // namespace

std::string ToHex(const void* p, size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        BYTE b = ((const BYTE*)p)[i];
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string Repeat(const std::string& s, size_t n)
{
    std::string out;
    out.reserve(s.size() * n);
    for (size_t i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string StoreImage(const std::function<void(CArchive&)>& fn)
{
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        fn(ar);
        ar.Close();
    }
    UINT nLength = (UINT)file.GetLength();
    BYTE* p = file.Detach();
    std::string hex = ToHex(p, nLength);
    free(p);
    return hex;
}

size_t LoadImage(const std::string& hex, const std::function<void(CArchive&)>& fn)
{
    std::vector<BYTE> bytes = FromHex(hex);
    bytes.push_back(0); // a buffer even for an empty image
    CMemFile file(bytes.data(), (UINT)bytes.size() - 1);
    CArchive ar(&file, CArchive::load, 4096);
    fn(ar);
    ar.Close();
    return file.GetLength() - file.GetPosition();
}

} // namespace afxtest
