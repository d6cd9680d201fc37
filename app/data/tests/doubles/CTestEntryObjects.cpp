#include "CTestEntryObjects.h"

namespace {

LONG g_nAlive = 0;

} // namespace

CTestEntryObject::CTestEntryObject(const CDataAppointment& entry)
    : m_record(entry), m_strKind(entry.m_bTodo ? "Aufgabe" : "Termin"), m_strSubject(entry.m_strSubject)
{
    EnableAutomation();
    InterlockedIncrement(&g_nAlive);
}

CTestEntryObject::~CTestEntryObject() { InterlockedDecrement(&g_nAlive); }

LONG CTestEntryObject::Alive() { return g_nAlive; }

BEGIN_DISPATCH_MAP(CTestEntryObject, CCmdTarget)
DISP_PROPERTY(CTestEntryObject, "Kind", m_strKind, VT_BSTR)
DISP_PROPERTY(CTestEntryObject, "Subject", m_strSubject, VT_BSTR)
END_DISPATCH_MAP()

LPDISPATCH CTestEntryObjects::CreateEntryObject(const CDataAppointment& entry)
{
    ++m_nCreated;
    // The creation reference goes to the caller.
    return (new CTestEntryObject(entry))->GetIDispatch(FALSE);
}

BOOL CTestEntryObjects::GetActionData(LPDISPATCH pEntryObject, VARIANT* pData)
{
    CTestEntryObject* pObject = dynamic_cast<CTestEntryObject*>(CCmdTarget::FromIDispatch(pEntryObject));
    if (pObject == NULL)
        return FALSE;
    const CDataAction& action = pObject->m_record.m_action;
    if (action.m_bBinary) {
        COleVariant bytes(action.m_binParameter);
        return SUCCEEDED(VariantCopy(pData, &bytes));
    }
    pData->vt = VT_BSTR;
    pData->bstrVal = action.m_strParameter.AllocSysString();
    return TRUE;
}
