#include "CTimerApp.h"

#include "CTimerJob.h"

#include <limits.h>

CTimerApp theApp;

CTimerApp::CTimerApp()
    : CWinApp("VL32T1"), m_bProcessEnding(FALSE), m_pJobs(new CLockedMap<long, long, CTimerJob*, CTimerJob*>(10)),
      m_lLastHandle(0)
{
}

CTimerApp::~CTimerApp()
{
    // ExitInstance has run, or the library never finished loading.
    if (!m_bProcessEnding)
        delete m_pJobs;
}

int CTimerApp::ExitInstance()
{
    if (m_bProcessEnding)
        return CWinApp::ExitInstance();
    CSingleLock lock(&m_csApi, TRUE);
    CArray<long, long> handles;
    CArray<CTimerJob*, CTimerJob*> jobs;
    m_pJobs->GetSnapshot(handles, jobs);
    m_pJobs->RemoveAll();
    for (int i = 0; i < jobs.GetSize(); i++) {
        // The loader lock is held: the job's threads cannot end, so the job waits until they
        // have left the library's code.
        jobs[i]->Close(TRUE);
        delete jobs[i];
    }
    return CWinApp::ExitInstance();
}

long CTimerApp::OpenJob()
{
    CTimerJob* pJob = new CTimerJob;
    long lHandle = m_lLastHandle;
    CTimerJob* pOther;
    do {
        lHandle = lHandle == LONG_MAX ? 1 : lHandle + 1;
    } while (m_pJobs->Lookup(lHandle, pOther));
    try {
        m_pJobs->SetAt(lHandle, pJob);
    } catch (...) {
        delete pJob;
        throw;
    }
    m_lLastHandle = lHandle;
    return lHandle;
}

CTimerJob* CTimerApp::GetJob(long lJob) const
{
    CTimerJob* pJob = NULL;
    if (lJob <= 0 || !m_pJobs->Lookup(lJob, pJob))
        return NULL;
    return pJob;
}

int CTimerApp::CloseJob(long lJob)
{
    CTimerJob* pJob = GetJob(lJob);
    if (pJob == NULL)
        return -1;
    m_pJobs->RemoveKey(lJob);
    delete pJob;
    return 0;
}
