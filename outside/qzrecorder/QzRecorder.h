// A qz control for tests: it answers the class ids of all four qz controls, draws a plain
// field, and records every automation call it gets (DISPID, kind, each argument's VARTYPE and
// value) instead of doing anything. Tests script the answers of single DISPIDs (a value or an
// error) through the library's exports (QzRecorderApi.h). Test members (DISPID 1000 up) work as
// on every qz control.
#pragma once

#include "QzControl.h"

class CQzRecorder : public qz::CQzControl {
public:
    CQzRecorder(REFCLSID clsid, REFIID iidEvents, const char* pszWindowClass, DWORD dwStateMark);

    static IUnknown* CreateDEdit();
    static IUnknown* CreateMultiDay();
    static IUnknown* CreateMonth();
    static IUnknown* CreateCalendar();

    STDMETHOD(Invoke)(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult,
                      EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

protected:
    const qz::Member* Members(int* pnCount) const override;
    const qz::EventInfo* Events(int* pnCount) const override;
    HRESULT GetValue(const qz::Member&, const VARIANT*, VARIANT*) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT PutValue(const qz::Member&, const VARIANT*, const VARIANT&) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT CallMethod(const qz::Member&, const VARIANT*, VARIANT*) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT LoadWord(WORD) override { return S_OK; }
    WORD SavedWord() const override { return 0; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
