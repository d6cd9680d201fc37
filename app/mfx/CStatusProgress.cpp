#include "CStatusProgress.h"

#include <afxwin.h>

#include <atomic>
#include <memory>

#include "CMfxString.h"
#include "CMfxUiQueue.h"
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
    // The bar's answer is known only when the task runs now; a queued start answers TRUE.
    std::shared_ptr<BOOL> pStarted = std::make_shared<BOOL>(TRUE);
    const CString strText = lpszText;
    CMfxUiQueue::Run([strText, pStarted]() {
        if (CStatusProgressSink* pSink = ActiveSink()) {
            pSink->SetPaneText(strText);
            *pStarted = pSink->StartProgress();
        }
    });
    return *pStarted;
}

void CStatusProgress::SetPos(int nPos)
{
    CMfxUiQueue::Run([nPos]() {
        if (CStatusProgressSink* pSink = ActiveSink())
            pSink->SetProgress(nPos);
    });
}

void CStatusProgress::Step(int nStep)
{
    CMfxUiQueue::Run([nStep]() {
        if (CStatusProgressSink* pSink = ActiveSink())
            pSink->StepProgress(nStep);
    });
}

void CStatusProgress::End()
{
    CMfxUiQueue::Run([]() {
        CStatusProgressSink* pSink = ActiveSink();
        if (pSink == NULL)
            return;
        pSink->SetPaneText(CMfxString((UINT)(pSink->GetProgressPos() > 0 ? IDS_MFX_PLEASE_WAIT : IDS_MFX_READY)));
        pSink->StopProgress();
    });
}

void CStatusProgress::AttachSink(CStatusProgressSink* pSink) { s_pSink.store(pSink); }

CStatusProgressSink* CStatusProgress::GetSink() { return s_pSink.load(); }
