#include "clsKeepError.h"

#include "Job.h"

clsKeepError::clsKeepError() : m_code(g_Job ? g_Job->currentError : 0) {}

clsKeepError::~clsKeepError()
{
    s_Job* job = g_Job;
    if (!job || m_code == 0 || job->currentError != 0)
        return;
    job->currentError = m_code;
    if (job->errorVariable)
        *job->errorVariable = m_code;
}
