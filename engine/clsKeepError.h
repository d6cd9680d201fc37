// Scoped guard for an engine export called from inside another one: the inner export's job lookup
// clears the job's current error and the caller's error variable, so an error raised earlier in
// the outer call is put back when the inner call raised none. (The error stays queued for the
// error callback either way.)
#pragma once

class clsKeepError {
public:
    clsKeepError();
    ~clsKeepError();
    clsKeepError(const clsKeepError&) = delete;
    clsKeepError& operator=(const clsKeepError&) = delete;

private:
    unsigned m_code;
};
