// Opening the appointment dialog: a new entry, and an entry with 20 KB of RTF notes (creation of
// the dialog with its controls from the template, its set-up, first paint), and filling the font
// list of the notes alone. Goals: under 300 ms to open, under 500 ms for the font list.
#include <afxwin.h>
#include <afxdisp.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "BenchClock.h"
#include "CAppSettings.h"
#include "CAppointmentDialog.h"
#include "CTestDataApp.h"
#include "qzcontrols.h"
#include "vlCT11.h"

namespace {

const int kRuns = 9;

// The font combo of the notes, for timing its filling alone.
class CBenchAppointmentDialog : public CAppointmentDialog {
public:
    using CAppointmentDialog::CAppointmentDialog;
    int FontCount() { return m_fontCombo.GetCount(); }
};

bool Serve(const char* pszDll, REFCLSID clsid)
{
    HMODULE hModule = LoadLibraryA(pszDll);
    auto pfnGet = hModule != NULL ? (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(hModule, "DllGetClassObject")
                                  : NULL;
    IUnknown* pFactory = NULL;
    if (pfnGet == NULL || FAILED(pfnGet(clsid, IID_IClassFactory, (void**)&pFactory)))
        return false;
    DWORD dwCookie = 0;
    HRESULT hr = CoRegisterClassObject(clsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &dwCookie);
    pFactory->Release();
    return SUCCEEDED(hr);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// About 20 KB of notes in RTF: lines of text with bold and coloured words.
CString TwentyKilobytesOfRtf()
{
    CString strRtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs20 ";
    for (int nLine = 1; strRtf.GetLength() < 20 * 1024; ++nLine) {
        CString strLine;
        strLine.Format("Zeile %d: Besprechung mit \\b Herrn M\\'fcller\\b0  zu \\cf1 Angebot %d\\cf0  und Termin.\\par ", nLine,
                       nLine * 7);
        strRtf += strLine;
    }
    return strRtf + "}";
}

// Median and slowest of the runs, in milliseconds; each run answers its own time (below 0: failed).
struct Figures {
    double dMedian, dSlowest;
};

template <class Run> Figures Time(Run run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const double dMs = run();
        if (dMs < 0)
            return {-1, -1};
        times.push_back(dMs);
        Pump();
    }
    std::sort(times.begin(), times.end());
    return {times[kRuns / 2], times.back()};
}

// Made from the template, set up, shown and painted; closed again outside the timing.
double OpenOnce(CDataAppointment* pRecord, BOOL bNew)
{
    const double t0 = BenchNow();
    CBenchAppointmentDialog dlg(pRecord, NULL, bNew);
    if (!dlg.Create(153))
        return -1;
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    dlg.RedrawWindow(NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double dMs = (BenchNow() - t0) * 1000;
    dlg.DestroyWindow();
    return dMs;
}

} // namespace

int main()
{
    CTestDataApp app;
    if (!AfxOleInit())
        return 1;
    AfxEnableControlContainer();
    if (!Serve(QZ_DEDIT_DLL, CLSID_QzDEdit) || !Serve(QZ_MONTH_DLL, CLSID_QzMonth)) {
        printf("the control libraries are missing\n");
        return 1;
    }
    CtlJobOpen();
    app.m_users.m_strCurrentUser = "Anna";
    app.CreateSettings();

    CDataAppointment withNotes;
    withNotes.m_strSubject = "Besprechung Vertrieb";
    withNotes.m_strUser = "Anna";
    withNotes.m_pattern.m_nStartTime = 600;
    withNotes.m_pattern.m_nEndTime = 660;
    withNotes.m_strNotes = TwentyKilobytesOfRtf();
    const int nRtfBytes = withNotes.m_strNotes.GetLength();

    const Figures fresh = Time([] { return OpenOnce(NULL, TRUE); });
    const Figures notes = Time([&] { return OpenOnce(&withNotes, FALSE); });
    CDataAppointment withoutNotes = withNotes;
    withoutNotes.m_strNotes.Empty();
    const Figures existing = Time([&] { return OpenOnce(&withoutNotes, FALSE); });
    if (fresh.dMedian < 0 || notes.dMedian < 0) {
        printf("the dialog could not be made\n");
        return 1;
    }

    int nFonts = 0;
    CBenchAppointmentDialog dlg(NULL, NULL, TRUE);
    if (!dlg.Create(153))
        return 1;
    const Figures fonts = Time([&] {
        const double t0 = BenchNow();
        dlg.FillFontNames();
        const double dMs = (BenchNow() - t0) * 1000;
        nFonts = dlg.FontCount();
        return dMs;
    });
    // the notes streamed into the open dialog's editor, the part of the opening they add
    const Figures streamIn = Time([&] {
        const double t0 = BenchNow();
        dlg.SetNotesRtf(withNotes.m_strNotes);
        dlg.UpdateWindow();
        return (BenchNow() - t0) * 1000;
    });
    dlg.DestroyWindow();

    printf("appointment dialog, new entry: open %.1f ms (median of %d, slowest %.1f ms, goal < 300 ms)\n",
           fresh.dMedian, kRuns, fresh.dSlowest);
    printf("appointment dialog with %d bytes of RTF notes: open %.1f ms (median of %d, slowest %.1f ms, "
           "goal < 300 ms)\n",
           nRtfBytes, notes.dMedian, kRuns, notes.dSlowest);
    printf("appointment dialog, the same entry without notes: open %.1f ms (median of %d, slowest %.1f ms)\n",
           existing.dMedian, kRuns, existing.dSlowest);
    printf("the notes alone streamed in (SetNotesRtf) and painted: %.1f ms (median of %d, slowest %.1f ms)\n",
           streamIn.dMedian, kRuns, streamIn.dSlowest);
    printf("font list of the notes (FillFontNames): %.1f ms for %d fonts (median of %d, slowest %.1f ms, goal < 500 ms)\n",
           fonts.dMedian, nFonts, kRuns, fonts.dSlowest);
    CtlJobClose();
    AfxOleTerm(FALSE);
    return fresh.dMedian < 300 && notes.dMedian < 300 && fonts.dMedian < 500 ? 0 : 2;
}
