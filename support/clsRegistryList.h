// One registry key, opened or created at construction, with string and boolean values read from
// it. Failures never throw or report: the status and the defaults carry them.
#pragma once

#include <windows.h>

#include "String.h"

class clsRegistryList {
public:
    enum Status { Ok = 0, OpenFailed = -2, CreateFailed = -3, NoKey = -5, NoValue = -6 };

    // mode 0 creates or opens subkey with full access, mode 1 opens it for reading, other modes
    // open nothing. A NULL subkey uses root itself (it is not closed by this object).
    clsRegistryList(HKEY root, const char* subkey, int mode);
    ~clsRegistryList();
    clsRegistryList(const clsRegistryList&) = delete;
    clsRegistryList& operator=(const clsRegistryList&) = delete;

    void Close();

    // Reads a value as text into out, or copies def into out when it cannot be read. Answers the
    // status of this read.
    int GetString(const char* name, String& out, const String& def);
    // 1 exactly when the value's text starts with 'T', 0 otherwise; def when it cannot be read.
    int GetBool(const char* name, int def);

    int GetStatus() const { return m_status; }

private:
    HKEY m_key = nullptr;
    bool m_ownsKey = false;
    int m_status = Ok;
    int m_marker = 1;
};
