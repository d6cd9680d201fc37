#include "CDataImage.h"

#include <stdlib.h>
#include <string.h>

#include "MfxHex.h"

IMPLEMENT_DYNAMIC(CDataImage, CObject)

namespace {

// Memory file growth and archive buffer of the images.
const UINT kImageGrowBytes = 1024;
const int kArchiveBufferSize = 4096;

} // namespace

CDataImage::CDataImage() {}

CDataImage::~CDataImage() {}

int CDataImage::Guarded(void (CDataImage::*pfnMembers)(CArchive&), CArchive& ar)
{
    try {
        (this->*pfnMembers)(ar);
    } catch (CException* e) {
        e->Delete();
        return -1;
    }
    return 0;
}

int CDataImage::WriteTo(CArchive& ar) { return Guarded(&CDataImage::Store, ar); }

int CDataImage::ReadFrom(CArchive& ar) { return Guarded(&CDataImage::Load, ar); }

int CDataImage::ToText(CString& rText, int /*nLimit*/)
{
    CMemFile file(kImageGrowBytes);
    int nResult;
    {
        CArchive ar(&file, CArchive::store, kArchiveBufferSize);
        nResult = WriteTo(ar);
        try {
            ar.Close();
        } catch (CException* e) {
            e->Delete();
            ar.Abort();
            nResult = -1;
        }
    }
    UINT nLength = (UINT)file.GetLength();
    BYTE* pBytes = file.Detach();
    MfxHexEncode(pBytes, (int)nLength, rText);
    free(pBytes);
    return nResult;
}

int CDataImage::FromText(LPCTSTR lpszText)
{
    size_t nTextLength = lpszText != NULL ? strlen(lpszText) : 0;
    if (nTextLength == 0)
        return 0;
    UINT nBytes = (UINT)(nTextLength / 2);
    if (nBytes == 0)
        return -1;
    BYTE* pBuffer = (BYTE*)malloc(nBytes);
    if (pBuffer == NULL)
        return -1;
    int nResult = -1;
    if (MfxHexDecode(pBuffer, (int)nBytes, lpszText)) {
        CMemFile file(pBuffer, nBytes);
        CArchive ar(&file, CArchive::load, kArchiveBufferSize);
        nResult = ReadFrom(ar);
        ar.Abort();
        file.Detach();
    }
    free(pBuffer);
    return nResult;
}
