// Event sink maps: the events of the OLE controls that a window contains, connected to member
// functions of the window's class.
//
//   DECLARE_EVENTSINK_MAP()                       in the class
//   BEGIN_EVENTSINK_MAP(theClass, baseClass)
//       ON_EVENT(theClass, id, dispid, OnHandler, VTS_... parameters)
//   END_EVENTSINK_MAP()
//
// The control's site receives the event (IDispatch::Invoke with the event's DISPID) and routes
// it through the container window's OnCmdMsg (code CN_EVENT), so that windows that route
// commands elsewhere route events too. The entry for the control id and DISPID is looked up in
// the class's map, then in its base classes' maps. Arguments are converted as for dispatch
// maps (AfxDispatchMap.h); by-reference parameters (VTS_PI2 short*, ...) point into the
// control's own variables, so what the handler writes there is what the control reads after
// the event. A handler answers void, or BOOL (FALSE: not handled, the routing goes on). An event
// that no entry handles is no error for the control (S_OK). An exception that a handler lets
// through is reported like one of a message handler and the control receives DISP_E_EXCEPTION.
#pragma once

#include "AfxDispatchMap.h"

// The event as the site passes it to OnCmdMsg.
struct AFX_EVENT {
    enum { event, propRequest, propChanged };
    AFX_EVENT(int eventKind, DISPID dispid, DISPPARAMS* pDispParams = NULL, EXCEPINFO* pExcepInfo = NULL,
              UINT* puArgError = NULL)
        : m_eventKind(eventKind), m_dispid(dispid), m_pDispParams(pDispParams), m_pExcepInfo(pExcepInfo),
          m_puArgError(puArgError), m_hResult(S_OK)
    {
    }
    int m_eventKind;
    DISPID m_dispid;
    DISPPARAMS* m_pDispParams;
    EXCEPINFO* m_pExcepInfo;
    UINT* m_puArgError;
    HRESULT m_hResult; // what the control's Invoke answers
};

typedef BOOL (*AFX_EVENTTHUNK)(CCmdTarget* pTarget, AFX_DISPARG* pArgs);

struct AFX_EVENTSINKMAP_ENTRY {
    UINT nCtlID;        // 0 ends the map
    DISPID dispid;
    LPCSTR lpszParams;  // VTS_...
    AFX_EVENTTHUNK pfn;
};

struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

namespace AfxDisp {

template <auto pfn> consteval AFX_EVENTTHUNK EventThunk(const char* vts)
{
    Require(Method<pfn>::EventMatches(vts), "the handler's signature does not match its VTS_ types");
    return &Method<pfn>::Event;
}

} // namespace AfxDisp

#define DECLARE_EVENTSINK_MAP()                                                                   \
protected:                                                                                       \
    static const AFX_EVENTSINKMAP* PASCAL GetThisEventSinkMap();                                 \
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                                  \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); }  \
    const AFX_EVENTSINKMAP* PASCAL theClass::GetThisEventSinkMap()                                \
    {                                                                                             \
        typedef baseClass TheBaseClass;                                                          \
        static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {

#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                                     \
    {(UINT)(id), (DISPID)(dispid), vtsParams, AfxDisp::EventThunk<&theClass::pfnHandler>(vtsParams)},

#define END_EVENTSINK_MAP()                                                                       \
    {0, 0, NULL, NULL}                                                                            \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_EVENTSINKMAP eventsinkMap = {&TheBaseClass::GetThisEventSinkMap, &_eventsinkEntries[0]}; \
    return &eventsinkMap;                                                                         \
    }
