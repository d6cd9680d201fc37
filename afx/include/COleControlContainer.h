// The OLE controls of one window (CWnd::m_pCtrlCont): their sites, and the container's side of
// in-place activation (IOleInPlaceFrame with the container window as the frame, IOleContainer).
// Made by CWnd::InitControlContainer; the window's destruction takes its controls with it.
#pragma once

#include "afxwin.h"
#include "CPtrList.h"

#include <ole2.h>

class COleControlSite;
class CFile;

class COleControlContainer : public CCmdTarget {
public:
    explicit COleControlContainer(CWnd* pWnd);
    // Destroys every control.
    virtual ~COleControlContainer();

    // Creates a control in a new site (see COleControlSite::CreateControl); FALSE when it could
    // not be made (the site is gone again). *ppNewSite receives the site.
    BOOL CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT* pRect,
                       UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE, BSTR bstrLicKey = NULL,
                       COleControlSite** ppNewSite = NULL);
    BOOL CreateControlFromData(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                               const RECT* pRect, UINT nID, const void* lpPersist, DWORD cbPersist, BOOL bStorage,
                               COleControlSite** ppNewSite);
    // The site of a control window, or NULL.
    COleControlSite* FindSite(HWND hWnd) const;
    // The site of a control id, or NULL.
    COleControlSite* FindItem(UINT nID) const;
    // Removes and deletes a site (its control is released).
    void DestroySite(COleControlSite* pSite);
    // Every site, every control.
    void DestroyAllSites();
    // The value of an ambient property (the container's defaults; see COleControlSite).
    virtual BOOL GetAmbientProp(COleControlSite* pSite, DISPID dispid, VARIANT* pvarResult);

    CWnd* m_pWnd;
    CPtrList m_listSites;
    COleControlSite* m_pSiteUIActive;

protected:
    virtual void OnFinalRelease(); // the window owns its container
    virtual LPUNKNOWN GetInterfaceHook(const void* piid);

#define AFX_CONT_IUNKNOWN                                                                          \
    COleControlContainer* m_pThis;                                                               \
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;                           \
    STDMETHOD_(ULONG, AddRef)() override;                                                        \
    STDMETHOD_(ULONG, Release)() override;

    class XOleIPFrame : public IOleInPlaceFrame {
    public:
        AFX_CONT_IUNKNOWN
        STDMETHOD(GetWindow)(HWND* phwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
        STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
        STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
        STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
        STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;
        STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
        STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
        STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
        STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
        STDMETHOD(EnableModeless)(BOOL fEnable) override;
        STDMETHOD(TranslateAccelerator)(LPMSG lpmsg, WORD wID) override;
    } m_xOleIPFrame;

    class XOleContainer : public IOleContainer {
    public:
        AFX_CONT_IUNKNOWN
        STDMETHOD(ParseDisplayName)(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten, IMoniker** ppmkOut) override;
        STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
        STDMETHOD(LockContainer)(BOOL fLock) override;
    } m_xOleContainer;
#undef AFX_CONT_IUNKNOWN
};
