#include "CRtfReader.h"

#include "MfxHex.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <new>

namespace {

enum KeywordKind { kwdChar, kwdDest, kwdProp, kwdSpec };

// Special keywords.
enum { ipfnBin, ipfnHex, ipfnSkipDest };

// Properties, the indexes into kProperties.
enum {
    ipropBold, ipropItalic, ipropUnderline, ipropLeftInd, ipropRightInd, ipropFirstInd, ipropCols,
    ipropPgnX, ipropPgnY, ipropXaPage, ipropYaPage, ipropXaLeft, ipropXaRight, ipropYaTop,
    ipropYaBottom, ipropPgnStart, ipropSbk, ipropPgnFormat, ipropFacingp, ipropLandscape, ipropJust,
    ipropPard, ipropPlain, ipropSectd, ipropMax
};

// Values of the keywords that pass their default.
enum { justL, justR, justC, justF };
enum { sbkNon, sbkCol, sbkEvn, sbkOdd, sbkPg };
enum { pgDec, pgURom, pgLRom, pgULtr, pgLLtr };

struct Keyword {
    const char* pszKeyword;
    int32_t nDefault;
    bool bPassDefault;
    KeywordKind kind;
    int nIndex;  // kwdChar: the character; kwdProp: the property; kwdSpec: the function
};

// The two keywords that are empty stand where the reader's table spells a line feed and a
// carriage return after a NUL: the only keyword that matches them is a "\" followed by a NUL.
const Keyword kKeywords[] = {
    {"b", 1, false, kwdProp, ipropBold},
    {"u", 1, false, kwdProp, ipropUnderline},
    {"i", 1, false, kwdProp, ipropItalic},
    {"li", 0, false, kwdProp, ipropLeftInd},
    {"ri", 0, false, kwdProp, ipropRightInd},
    {"fi", 0, false, kwdProp, ipropFirstInd},
    {"cols", 1, false, kwdProp, ipropCols},
    {"sbknone", sbkNon, true, kwdProp, ipropSbk},
    {"sbkcol", sbkCol, true, kwdProp, ipropSbk},
    {"sbkeven", sbkEvn, true, kwdProp, ipropSbk},
    {"sbkodd", sbkOdd, true, kwdProp, ipropSbk},
    {"sbkpage", sbkPg, true, kwdProp, ipropSbk},
    {"pgnx", 0, false, kwdProp, ipropPgnX},
    {"pgny", 0, false, kwdProp, ipropPgnY},
    {"pgndec", pgDec, true, kwdProp, ipropPgnFormat},
    {"pgnucrm", pgURom, true, kwdProp, ipropPgnFormat},
    {"pgnlcrm", pgLRom, true, kwdProp, ipropPgnFormat},
    {"pgnucltr", pgULtr, true, kwdProp, ipropPgnFormat},
    {"pgnlcltr", pgLLtr, true, kwdProp, ipropPgnFormat},
    {"qc", justC, true, kwdProp, ipropJust},
    {"ql", justL, true, kwdProp, ipropJust},
    {"qr", justR, true, kwdProp, ipropJust},
    {"qj", justF, true, kwdProp, ipropJust},
    {"paperw", 12240, false, kwdProp, ipropXaPage},
    {"paperh", 15480, false, kwdProp, ipropYaPage},
    {"margl", 1800, false, kwdProp, ipropXaLeft},
    {"margr", 1800, false, kwdProp, ipropXaRight},
    {"margt", 1440, false, kwdProp, ipropYaTop},
    {"margb", 1440, false, kwdProp, ipropYaBottom},
    {"pgnstart", 1, true, kwdProp, ipropPgnStart},
    {"facingp", 1, true, kwdProp, ipropFacingp},
    {"landscape", 1, true, kwdProp, ipropLandscape},
    {"par", 0, false, kwdChar, 0x0a},
    {"", 0, false, kwdChar, 0x0a},
    {"", 0, false, kwdChar, 0x0a},
    {"tab", 0, false, kwdChar, 0x09},
    {"ldblquote", 0, false, kwdChar, '"'},
    {"rdblquote", 0, false, kwdChar, '"'},
    {"bin", 0, false, kwdSpec, ipfnBin},
    {"*", 0, false, kwdSpec, ipfnSkipDest},
    {"'", 0, false, kwdSpec, ipfnHex},
    {"author", 0, false, kwdDest, 0},
    {"buptim", 0, false, kwdDest, 0},
    {"colortbl", 0, false, kwdDest, 0},
    {"comment", 0, false, kwdDest, 0},
    {"creatim", 0, false, kwdDest, 0},
    {"doccomm", 0, false, kwdDest, 0},
    {"fonttbl", 0, false, kwdDest, 0},
    {"footer", 0, false, kwdDest, 0},
    {"footerf", 0, false, kwdDest, 0},
    {"footerl", 0, false, kwdDest, 0},
    {"footerr", 0, false, kwdDest, 0},
    {"footnote", 0, false, kwdDest, 0},
    {"ftncn", 0, false, kwdDest, 0},
    {"ftnsep", 0, false, kwdDest, 0},
    {"ftnsepc", 0, false, kwdDest, 0},
    {"header", 0, false, kwdDest, 0},
    {"headerf", 0, false, kwdDest, 0},
    {"headerl", 0, false, kwdDest, 0},
    {"headerr", 0, false, kwdDest, 0},
    {"info", 0, false, kwdDest, 0},
    {"keywords", 0, false, kwdDest, 0},
    {"operator", 0, false, kwdDest, 0},
    {"pict", 0, false, kwdDest, 0},
    {"printim", 0, false, kwdDest, 0},
    {"private1", 0, false, kwdDest, 0},
    {"revtim", 0, false, kwdDest, 0},
    {"rxe", 0, false, kwdDest, 0},
    {"stylesheet", 0, false, kwdDest, 0},
    {"subject", 0, false, kwdDest, 0},
    {"tc", 0, false, kwdDest, 0},
    {"title", 0, false, kwdDest, 0},
    {"txe", 0, false, kwdDest, 0},
    {"xe", 0, false, kwdDest, 0},
    {"{", 0, false, kwdChar, '{'},
    {"}", 0, false, kwdChar, '}'},
    {"\\", 0, false, kwdChar, '\\'},
    // Beyond the classic table, so that text written by rich edit controls reads as the control
    // shows it: table cells end in a tab and rows in a line feed (instead of running together),
    // and the list numbers and bullets kept for readers without lists are skipped.
    {"cell", 0, false, kwdChar, 0x09},
    {"row", 0, false, kwdChar, 0x0a},
    {"pntext", 0, false, kwdDest, 0},
};
static_assert(sizeof kKeywords / sizeof kKeywords[0] == 80, "the classic 77 keywords and the three of rich edit text");

enum Action { actnSpec, actnByte, actnWord };
enum PropertyRecord { propChp, propPap, propSep, propDop };

struct Property {
    Action action;
    PropertyRecord record;
    size_t nOffset;
};

using CharProps = CRtfReader::CharProps;
using ParaProps = CRtfReader::ParaProps;
using SectProps = CRtfReader::SectProps;
using DocProps = CRtfReader::DocProps;

const Property kProperties[ipropMax] = {
    {actnByte, propChp, offsetof(CharProps, bBold)},       // ipropBold
    {actnByte, propChp, offsetof(CharProps, bItalic)},     // ipropItalic
    {actnByte, propChp, offsetof(CharProps, bUnderline)},  // ipropUnderline
    {actnWord, propPap, offsetof(ParaProps, nLeft)},       // ipropLeftInd
    {actnWord, propPap, offsetof(ParaProps, nRight)},      // ipropRightInd
    {actnWord, propPap, offsetof(ParaProps, nFirst)},      // ipropFirstInd
    {actnWord, propSep, offsetof(SectProps, nCols)},       // ipropCols
    {actnWord, propSep, offsetof(SectProps, nPgnX)},       // ipropPgnX
    {actnWord, propSep, offsetof(SectProps, nPgnY)},       // ipropPgnY
    {actnWord, propDop, offsetof(DocProps, nPageWidth)},   // ipropXaPage
    {actnWord, propDop, offsetof(DocProps, nPageHeight)},  // ipropYaPage
    {actnWord, propDop, offsetof(DocProps, nLeft)},        // ipropXaLeft
    {actnWord, propDop, offsetof(DocProps, nRight)},       // ipropXaRight
    {actnWord, propDop, offsetof(DocProps, nTop)},         // ipropYaTop
    {actnWord, propDop, offsetof(DocProps, nBottom)},      // ipropYaBottom
    {actnWord, propDop, offsetof(DocProps, nPgnStart)},    // ipropPgnStart
    {actnByte, propSep, offsetof(SectProps, nBreak)},      // ipropSbk
    {actnByte, propSep, offsetof(SectProps, nPgnFormat)},  // ipropPgnFormat
    {actnByte, propDop, offsetof(DocProps, bFacing)},      // ipropFacingp
    {actnByte, propDop, offsetof(DocProps, bLandscape)},   // ipropLandscape
    {actnByte, propPap, offsetof(ParaProps, nJust)},       // ipropJust
    {actnSpec, propPap, 0},                                // ipropPard
    {actnSpec, propChp, 0},                                // ipropPlain
    {actnSpec, propSep, 0},                                // ipropSectd
};

bool IsLetter(int ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsDigit(int ch) { return ch >= '0' && ch <= '9'; }

} // namespace

CRtfReader::CRtfReader()
{
    Reset(CString());
}

void CRtfReader::Reset(const CString& strRtf)
{
    m_nLength = strRtf.GetLength();
    m_pInput = m_nLength > 0 ? (LPCTSTR)strRtf : "";
    m_nPos = 0;
    m_text.clear();
    m_nGroup = 0;
    m_rds = rdsNorm;
    m_ris = risNorm;
    m_bSkipDestIfUnknown = false;
    m_nBinBytes = 0;
    m_nHexDigits = 2;
    m_nHexValue = 0;
    std::memset(&m_chp, 0, sizeof m_chp);
    std::memset(&m_pap, 0, sizeof m_pap);
    std::memset(&m_sep, 0, sizeof m_sep);
    std::memset(&m_dop, 0, sizeof m_dop);
    m_stack.clear();
    m_stack.shrink_to_fit();
}

int CRtfReader::Convert(const CString& strRtf, CString& strText)
{
    Reset(strRtf);
    int ec = Parse();
    if (ec == ecOK)
        strText = CString(m_text.data(), (int)m_text.size());
    // Nothing of this text stays with the reader.
    Reset(CString());
    return ec;
}

int CRtfReader::GetByte()
{
    if (m_nPos >= m_nLength)
        return -1;
    int ch = (unsigned char)m_pInput[m_nPos++];
    if (ch == 0xFF) {
        // The end, for good: the byte is not read again.
        m_nPos = m_nLength;
        return -1;
    }
    return ch;
}

void CRtfReader::UngetByte(int ch)
{
    if (ch >= 0 && m_nPos > 0)
        --m_nPos;
}

int CRtfReader::Parse()
{
    int ec;
    int ch;
    while ((ch = GetByte()) >= 0) {
        if (m_nGroup < 0)
            return ecStackUnderflow;
        if (m_ris == risBin) {
            if ((ec = ParseChar(ch)) != ecOK)
                return ec;
            continue;
        }
        switch (ch) {
        case '{':
            if ((ec = PushState()) != ecOK)
                return ec;
            break;
        case '}':
            if ((ec = PopState()) != ecOK)
                return ec;
            break;
        case '\\':
            if ((ec = ParseKeyword()) != ecOK)
                return ec;
            break;
        case 0x0d:
        case 0x0a:
            break;
        default:
            if (m_ris == risNorm) {
                if ((ec = ParseChar(ch)) != ecOK)
                    return ec;
            } else if (m_ris == risHex) {
                int nDigit = MfxHexDigitValue(ch);
                if (nDigit < 0)
                    return ecInvalidHex;
                m_nHexValue = (m_nHexValue << 4) + nDigit;
                if (--m_nHexDigits == 0) {
                    if ((ec = ParseChar(m_nHexValue)) != ecOK)
                        return ec;
                    m_nHexDigits = 2;
                    m_nHexValue = 0;
                    m_ris = risNorm;
                }
            } else {
                return ecAssertion;
            }
            break;
        }
    }
    if (m_nGroup < 0)
        return ecStackUnderflow;
    if (m_nGroup > 0)
        return ecUnmatchedBrace;
    return ecOK;
}

int CRtfReader::PushState()
{
    try {
        m_stack.push_back(SavedState{m_chp, m_pap, m_sep, m_dop, m_rds, m_ris});
    } catch (const std::bad_alloc&) {
        return ecStackOverflow;
    }
    m_ris = risNorm;
    ++m_nGroup;
    return ecOK;
}

int CRtfReader::PopState()
{
    if (m_stack.empty())
        return ecStackUnderflow;
    const SavedState& saved = m_stack.back();
    m_chp = saved.chp;
    m_pap = saved.pap;
    m_sep = saved.sep;
    m_dop = saved.dop;
    m_rds = saved.rds;
    m_ris = saved.ris;
    m_stack.pop_back();
    --m_nGroup;
    return ecOK;
}

int CRtfReader::ParseKeyword()
{
    char szKeyword[kMaxKeyword + 1];
    char szParameter[kMaxParameter + 1];
    bool bParam = false;
    bool bNegative = false;
    int32_t nParam = 0;

    int ch = GetByte();
    if (ch < 0)
        return ecEndOfFile;
    if (!IsLetter(ch)) {
        // A control symbol: one character, no delimiter.
        szKeyword[0] = (char)ch;
        szKeyword[1] = '\0';
        return TranslateKeyword(szKeyword, 0, false);
    }
    int n = 0;
    for (; IsLetter(ch); ch = GetByte())
        if (n < kMaxKeyword)
            szKeyword[n++] = (char)ch;
    szKeyword[n] = '\0';
    if (ch == '-') {
        bNegative = true;
        if ((ch = GetByte()) < 0)
            return ecEndOfFile;
    }
    if (IsDigit(ch)) {
        bParam = true;
        n = 0;
        for (; IsDigit(ch); ch = GetByte())
            if (n < kMaxParameter)
                szParameter[n++] = (char)ch;
        szParameter[n] = '\0';
        long long nValue = 0;
        for (const char* p = szParameter; *p; ++p)
            nValue = nValue * 10 + (*p - '0');
        if (bNegative)
            nValue = -nValue;
        if (nValue > INT32_MAX)
            nValue = INT32_MAX;
        if (nValue < INT32_MIN)
            nValue = INT32_MIN;
        nParam = (int32_t)nValue;
    }
    if (ch != ' ')
        UngetByte(ch);
    return TranslateKeyword(szKeyword, nParam, bParam);
}

int CRtfReader::TranslateKeyword(const char* pszKeyword, int32_t nParam, bool bParam)
{
    const Keyword* pFound = nullptr;
    for (const Keyword& keyword : kKeywords)
        if (std::strcmp(pszKeyword, keyword.pszKeyword) == 0) {
            pFound = &keyword;
            break;
        }
    if (pFound == nullptr) {
        // An unknown keyword right after "\*" starts a destination to skip; any other is dropped.
        if (m_bSkipDestIfUnknown)
            m_rds = rdsSkip;
        m_bSkipDestIfUnknown = false;
        return ecOK;
    }
    m_bSkipDestIfUnknown = false;
    switch (pFound->kind) {
    case kwdProp:
        if (pFound->bPassDefault || !bParam)
            nParam = pFound->nDefault;
        return ApplyPropertyChange(pFound->nIndex, nParam);
    case kwdChar:
        return ParseChar(pFound->nIndex);
    case kwdDest:
        return ChangeDestination();
    case kwdSpec:
        return ParseSpecialKeyword(pFound->nIndex, nParam);
    default:
        return ecBadTable;
    }
}

int CRtfReader::ParseChar(int ch)
{
    if (m_ris == risBin && --m_nBinBytes <= 0)
        m_ris = risNorm;
    if (m_rds == rdsNorm)
        m_text += (char)ch;
    return ecOK;
}

int CRtfReader::ChangeDestination()
{
    m_rds = rdsSkip;
    return ecOK;
}

int CRtfReader::ApplyPropertyChange(int nProperty, int32_t nValue)
{
    if (m_rds == rdsSkip)
        return ecOK;
    if (nProperty < 0 || nProperty >= ipropMax)
        return ecBadTable;
    const Property& property = kProperties[nProperty];
    unsigned char* pRecord;
    switch (property.record) {
    case propChp: pRecord = (unsigned char*)&m_chp; break;
    case propPap: pRecord = (unsigned char*)&m_pap; break;
    case propSep: pRecord = (unsigned char*)&m_sep; break;
    case propDop: pRecord = (unsigned char*)&m_dop; break;
    default: return ecBadTable;
    }
    switch (property.action) {
    case actnByte:
        pRecord[property.nOffset] = (unsigned char)nValue;
        return ecOK;
    case actnWord:
        std::memcpy(pRecord + property.nOffset, &nValue, sizeof nValue);
        return ecOK;
    case actnSpec:
        return ParseSpecialProperty(nProperty);
    default:
        return ecBadTable;
    }
}

int CRtfReader::ParseSpecialProperty(int nProperty)
{
    switch (nProperty) {
    case ipropPard: std::memset(&m_pap, 0, sizeof m_pap); return ecOK;
    case ipropPlain: std::memset(&m_chp, 0, sizeof m_chp); return ecOK;
    case ipropSectd: std::memset(&m_sep, 0, sizeof m_sep); return ecOK;
    default: return ecBadTable;
    }
}

int CRtfReader::ParseSpecialKeyword(int nFunction, int32_t nParam)
{
    // While skipping only "\bin" counts: its bytes must not be read as RTF.
    if (m_rds == rdsSkip && nFunction != ipfnBin)
        return ecOK;
    switch (nFunction) {
    case ipfnBin:
        // "\bin0" (or a negative count) announces no bytes: the input stays as it is.
        if (nParam > 0) {
            m_ris = risBin;
            m_nBinBytes = nParam;
        }
        return ecOK;
    case ipfnSkipDest:
        m_bSkipDestIfUnknown = true;
        return ecOK;
    case ipfnHex:
        m_ris = risHex;
        m_nHexDigits = 2;
        m_nHexValue = 0;
        return ecOK;
    default:
        return ecBadTable;
    }
}
