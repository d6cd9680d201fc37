// Lowers the data controller's busy counter when it goes: made right after
// CDataController::EnterBusy or CDataController::WaitIdleEnterBusy, so that every way out of the
// scope lowers the counter once. Release lowers it earlier.
#pragma once

class CDataController;

class CControllerBusyGuard {
public:
    explicit CControllerBusyGuard(CDataController& controller) : m_pController(&controller) {}
    ~CControllerBusyGuard() { Release(); }
    CControllerBusyGuard(const CControllerBusyGuard&) = delete;
    CControllerBusyGuard& operator=(const CControllerBusyGuard&) = delete;

    // Lowers the counter now (once).
    void Release();

private:
    CDataController* m_pController;
};
