#include "RtfToText.h"

#include "CRtfReader.h"

BOOL RtfToText(const CString& strRtf, CString& strText)
{
    CRtfReader reader;
    return reader.Convert(strRtf, strText) == CRtfReader::ecOK;
}
