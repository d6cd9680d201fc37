// Reads RTF text and keeps its visible characters: the classic minimal RTF reader with its
// keyword table (77 entries, and three more, below) and property table (24 entries), its parser
// states and error codes, reading from a string and writing into a string.
//
// What reaches the text: characters of the normal destination, "\par" and the two keywords that
// are empty (a line feed each), "\tab" (a tab), "\ldblquote" and "\rdblquote" (a double quote),
// the control symbols "\{", "\}" and "\\", and "\'hh" (the byte hh); "\cell" gives a tab and
// "\row" a line feed, as a rich edit control returns its table rows. Carriage returns and line
// feeds of the input are noise. Every destination of the table ("fonttbl", "colortbl",
// "stylesheet", "info", "pict", ..., and "pntext", the list number or bullet written for readers
// that do not know lists) and every group that starts with "\*" and a keyword the
// table does not know is skipped. Properties are kept (and saved and restored with the groups)
// but never change the text. A byte 0xFF ends the input.
//
// States (each transition with the function behind it):
//   destination: normal -> skip        ChangeDestination (a destination keyword), TranslateKeyword
//                                      (an unknown keyword after "\*"); back with PopState
//   input:       normal -> hex         ParseSpecialKeyword ("\'"); -> normal after two digits
//                normal -> binary      ParseSpecialKeyword ("\binN", N > 0); -> normal in
//                                      ParseChar after N bytes
//                any    -> normal      PushState ("{"); PopState restores the saved state ("}")
//
// A reader starts every conversion from its initial state: a bad text never leaves open groups,
// a skipping destination or half a hexadecimal escape behind for the next one. Keywords are
// collected up to 29 letters and parameters up to 19 digits; further letters or digits are read
// and dropped, so an overlong keyword is an unknown one and an overlong parameter keeps its
// first digits (its value is limited to the range of a 32-bit number).
#pragma once

#include <afx.h>

#include <cstdint>
#include <string>
#include <vector>

class CRtfReader {
public:
    enum Error {
        ecOK = 0,
        ecStackUnderflow = 1,  // a "}" without its "{"
        ecStackOverflow = 2,   // no memory for a group's saved state
        ecUnmatchedBrace = 3,  // groups still open at the end of the input
        ecInvalidHex = 4,      // "\'" followed by something other than two hexadecimal digits
        ecBadTable = 5,        // a table entry of an unknown kind
        ecAssertion = 6,       // the input state is none of the known ones
        ecEndOfFile = 7,       // the input ends inside a keyword
    };

    CRtfReader();

    // Converts strRtf; on success (ecOK) strText is the text, on an error it is left as it was.
    int Convert(const CString& strRtf, CString& strText);

    // The longest keyword and parameter kept, in characters.
    enum { kMaxKeyword = 29, kMaxParameter = 19 };

    // Property records: set by keywords, saved and restored with the groups.
    struct CharProps {
        uint8_t bBold, bUnderline, bItalic, reserved;
    };
    struct ParaProps {
        int32_t nLeft, nRight, nFirst, nJust;
    };
    struct SectProps {
        int32_t nCols, nBreak, nPgnX, nPgnY, nPgnFormat;
    };
    struct DocProps {
        int32_t nPageWidth, nPageHeight, nLeft, nRight, nTop, nBottom, nPgnStart;
        uint8_t bFacing, bLandscape, reserved[2];
    };

private:
    enum Destination { rdsNorm, rdsSkip };
    enum InputState { risNorm, risBin, risHex };

    struct SavedState {
        CharProps chp;
        ParaProps pap;
        SectProps sep;
        DocProps dop;
        Destination rds;
        InputState ris;
    };

    void Reset(const CString& strRtf);
    int Parse();
    // The next byte, or -1 at the end of the input (its length or a byte 0xFF).
    int GetByte();
    void UngetByte(int ch);

    int PushState();
    int PopState();
    int ParseKeyword();
    int TranslateKeyword(const char* pszKeyword, int32_t nParam, bool bParam);
    int ParseChar(int ch);
    int ChangeDestination();
    int ApplyPropertyChange(int nProperty, int32_t nValue);
    int ParseSpecialProperty(int nProperty);
    int ParseSpecialKeyword(int nFunction, int32_t nParam);

    // Input.
    const char* m_pInput;
    int m_nLength;
    int m_nPos;
    // Output.
    std::string m_text;
    // Parser state.
    int m_nGroup;
    Destination m_rds;
    InputState m_ris;
    bool m_bSkipDestIfUnknown;
    int32_t m_nBinBytes;
    int m_nHexDigits;  // digits of the current "\'" still to come
    int m_nHexValue;
    CharProps m_chp;
    ParaProps m_pap;
    SectProps m_sep;
    DocProps m_dop;
    std::vector<SavedState> m_stack;
};
