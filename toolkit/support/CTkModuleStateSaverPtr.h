// An owning pointer to a module-state saver: destroying it deletes the saver, which writes the
// resource and instance handles it saved back into the module state when it is active.
#pragma once

#include <afxwin.h>

class CTkModuleStateSaver {
public:
    CTkModuleStateSaver();
    ~CTkModuleStateSaver();
    // Remembers the module state's handles and becomes active.
    void Save();

    BOOL m_bActive;
    HINSTANCE m_hResourceHandle;
    HINSTANCE m_hInstanceHandle;
};

class CTkModuleStateSaverPtr {
public:
    CTkModuleStateSaverPtr() : m_pSaver(NULL) {}
    ~CTkModuleStateSaverPtr() { delete m_pSaver; }

    CTkModuleStateSaverPtr& operator=(CTkModuleStateSaver* pSaver);
    CTkModuleStateSaver* operator->() const { return m_pSaver; }
    operator CTkModuleStateSaver*() const { return m_pSaver; }

    CTkModuleStateSaver* m_pSaver;

private:
    CTkModuleStateSaverPtr(const CTkModuleStateSaverPtr&) = delete;
    CTkModuleStateSaverPtr& operator=(const CTkModuleStateSaverPtr&) = delete;
};
