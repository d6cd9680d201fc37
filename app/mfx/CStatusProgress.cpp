#include "CStatusProgress.h"

#include <afxwin.h>

#include <atomic>

#include "CMfxString.h"
#include "CStatusProgressSink.h"
#include "MfxStrings.h"

namespace {

std::atomic<CStatusProgressSink*> s_pSink{nullptr};

// The status bar, when the application has a main window and the frame attached its bar.
CStatusProgressSink* ActiveSink()
{
    CStatusProgressSink* pSink = s_pSink.load();
    return pSink != NULL && AfxGetMainWnd() != NULL ? pSink : NULL;
}

} // namespace

CStatusProgress::CStatusProgress(BOOL bEndOnDestroy) : m_bEndOnDestroy(bEndOnDestroy) {}

CStatusProgress::~CStatusProgress()
{
    if (m_bEndOnDestroy)
        End();
}

BOOL CStatusProgress::Begin(LPCTSTR lpszText)
{
    CStatusProgressSink* pSink = ActiveSink();
    if (pSink == NULL)
        return TRUE;
    pSink->SetPaneText(lpszText);
    return pSink->StartProgress();
}

void CStatusProgress::SetPos(int nPos)
{
    if (CStatusProgressSink* pSink = ActiveSink())
        pSink->SetProgress(nPos);
}

void CStatusProgress::Step(int nStep)
{
    if (CStatusProgressSink* pSink = ActiveSink())
        pSink->StepProgress(nStep);
}

void CStatusProgress::End()
{
    CStatusProgressSink* pSink = ActiveSink();
    if (pSink == NULL)
        return;
    pSink->SetPaneText(CMfxString((UINT)(pSink->GetProgressPos() > 0 ? IDS_MFX_PLEASE_WAIT : IDS_MFX_READY)));
    pSink->StopProgress();
}

void CStatusProgress::AttachSink(CStatusProgressSink* pSink) { s_pSink.store(pSink); }

CStatusProgressSink* CStatusProgress::GetSink() { return s_pSink.load(); }
