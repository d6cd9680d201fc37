// RTF written by the platform's rich edit control converts to the text the control itself
// returns (EM_GETTEXTEX): umlauts, bold runs, bullet lists, tables, and text that must be escaped
// in RTF. The RTF is handed over as the program stores notes: a text up to its first NUL (the
// control writes one after the closing brace). Where the two differ in form only:
// - the control ends a paragraph with a carriage return and a table row with CR LF, where the
//   converter writes a line feed;
// - the control puts a mark of CR LF before each table row as well, which is no character of the
//   document (the RTF has no paragraph there), so it has no counterpart in the converted text;
// - the control writes its last paragraph mark as "\par" but leaves it out of its text, so the
//   converted text has one line feed more at its end.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>

#include "RtfToText.h"

namespace {

class RichEdit {
public:
    RichEdit()
    {
        m_hLibrary = LoadLibraryA("riched20.dll");
        m_hWnd = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
    }
    ~RichEdit()
    {
        if (m_hWnd != NULL)
            DestroyWindow(m_hWnd);
        if (m_hLibrary != NULL)
            FreeLibrary(m_hLibrary);
    }
    HWND Window() const { return m_hWnd; }

    void Type(const char* pszText)
    {
        SendMessageA(m_hWnd, EM_SETSEL, (WPARAM)-1, (LPARAM)-1);
        SendMessageA(m_hWnd, EM_REPLACESEL, FALSE, (LPARAM)pszText);
    }
    void Select(int nStart, int nEnd) { SendMessageA(m_hWnd, EM_SETSEL, nStart, nEnd); }
    void Bold(int nStart, int nEnd)
    {
        Select(nStart, nEnd);
        CHARFORMAT2A format = {};
        format.cbSize = sizeof format;
        format.dwMask = CFM_BOLD;
        format.dwEffects = CFE_BOLD;
        SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
    }
    void Bullets(int nStart, int nEnd)
    {
        Select(nStart, nEnd);
        PARAFORMAT2 format = {};
        format.cbSize = sizeof format;
        format.dwMask = PFM_NUMBERING | PFM_OFFSET;
        format.wNumbering = PFN_BULLET;
        format.dxOffset = 200;
        SendMessageA(m_hWnd, EM_SETPARAFORMAT, 0, (LPARAM)&format);
    }
    // Reads RTF in at the end (the control keeps what it understands and writes it its own way).
    void StreamIn(const std::string& rtf)
    {
        Select(-1, -1);
        Source source{rtf.data(), rtf.size()};
        EDITSTREAM stream = {(DWORD_PTR)&source, 0, &ReadSource};
        SendMessageA(m_hWnd, EM_STREAMIN, SF_RTF | SFF_SELECTION, (LPARAM)&stream);
    }
    std::string StreamOut() const
    {
        std::string rtf;
        EDITSTREAM stream = {(DWORD_PTR)&rtf, 0, &WriteSink};
        SendMessageA(m_hWnd, EM_STREAMOUT, SF_RTF, (LPARAM)&stream);
        return rtf;
    }
    std::string Text() const
    {
        char buffer[8192];
        GETTEXTEX request = {sizeof buffer, GT_DEFAULT, CP_ACP, NULL, NULL};
        LRESULT n = SendMessageA(m_hWnd, EM_GETTEXTEX, (WPARAM)&request, (LPARAM)buffer);
        return std::string(buffer, n > 0 ? (size_t)n : 0);
    }

private:
    struct Source {
        const char* p;
        size_t n;
    };
    static DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
    {
        Source* source = (Source*)cookie;
        LONG n = (LONG)(source->n < (size_t)size ? source->n : (size_t)size);
        memcpy(buffer, source->p, n);
        source->p += n;
        source->n -= n;
        *done = n;
        return 0;
    }
    static DWORD CALLBACK WriteSink(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
    {
        ((std::string*)cookie)->append((const char*)buffer, size);
        *done = size;
        return 0;
    }

    HMODULE m_hLibrary;
    HWND m_hWnd;
};

// The control's text with its paragraph and row ends as line feeds, without its row-start marks
// (a CR LF that does not follow a cell's closing tab), and the last mark it does not return.
std::string AsConverted(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            result += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '\n') {
            if (!result.empty() && result.back() == '\t')
                result += '\n';
            ++i;
        } else {
            result += '\n';
        }
    }
    return result + "\n";
}

const char kTable[] =
    "{\\rtf1\\ansi\\trowd\\cellx1500\\cellx3000\\cellx4500\\intbl Name\\cell Ort\\cell Zeit\\cell\\row"
    "\\trowd\\cellx1500\\cellx3000\\cellx4500\\intbl J\\'fcrgen\\cell K\\'f6ln\\cell 10:00\\cell\\row}";

struct EditCase {
    const char* name;
    std::function<void(RichEdit&)> fill;
};

const EditCase kCases[] = {
    {"umlauts", [](RichEdit& e) { e.Type("Gr\xFC\xDF" "e aus M\xFCnchen\r\xC4rger \xFC" "ber \xD6l und \xDF"); }},
    {"bold run", [](RichEdit& e) {
         e.Type("Termin ist wichtig und fest");
         e.Bold(10, 18);
     }},
    {"bullet list", [](RichEdit& e) {
         e.Type("Einleitung\rPunkt eins\rPunkt zwei\rSchluss");
         e.Bullets(11, 31);
     }},
    {"table", [](RichEdit& e) {
         e.Type("Vorher\r");
         e.StreamIn(kTable);
         e.Type("Nachher");
     }},
    {"characters RTF escapes", [](RichEdit& e) { e.Type("Klammern {a} und \\b0 Backslash\tTab \"zitiert\""); }},
    {"all together", [](RichEdit& e) {
         e.Type("\xDC" "bersicht f\xFCr M\xE4rz\rErster Punkt\rZweiter Punkt\r");
         e.Bold(0, 9);
         e.Bullets(20, 45);
         e.StreamIn(kTable);
         e.Type("Gru\xDF");
     }},
};

TEST(RtfToText, ReadsWhatTheRichEditControlWrites)
{
    for (const EditCase& c : kCases) {
        SCOPED_TRACE(c.name);
        RichEdit edit;
        ASSERT_NE((HWND)NULL, edit.Window()) << "no rich edit control";
        c.fill(edit);
        const std::string rtf = edit.StreamOut();
        const std::string text = edit.Text();
        ASSERT_FALSE(text.empty());
        CString strText;
        ASSERT_TRUE(RtfToText(CString(rtf.c_str()), strText)) << rtf;
        EXPECT_EQ(AsConverted(text), std::string(strText, strText.GetLength())) << "RTF:\n" << rtf;
    }
}

} // namespace
