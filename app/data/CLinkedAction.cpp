#include "CLinkedAction.h"

#include "CDataApplication.h"
#include "CDataAppointment.h"
#include "CDataEntryObjects.h"
#include "CLinkedApplication.h"

CLinkedAction::CLinkedAction()
    : m_nPictureId(0), m_bAskForData(0), m_bBinaryData(0), m_bSelectButton(0), m_pApplication(NULL)
{
}

CLinkedAction::CLinkedAction(LPCTSTR lpszId, UINT nTitleId, int nPictureId, UINT nLabelId, int bSelectButton,
                             UINT nFilterId, CLinkedApplication* pApplication)
    : m_strId(lpszId), m_nPictureId(nPictureId), m_bAskForData(0), m_bBinaryData(0), m_bSelectButton(bSelectButton),
      m_pApplication(pApplication)
{
    m_strTitle.LoadString(nTitleId);
    m_strParameterLabel.LoadString(nLabelId);
    if (nFilterId != 0)
        m_strSelectFilter.LoadString(nFilterId);
}

CLinkedAction::~CLinkedAction()
{
}

int CLinkedAction::Execute(HWND hOwner, CLinkedApplication* pApplication, const CDataAppointment& entry)
{
    CDataApplication* pApp = CDataApplication::Get();
    CDataEntryObjects* pObjects = pApp != NULL ? pApp->GetEntryObjects() : NULL;
    if (pApplication == NULL || pObjects == NULL)
        return 0;
    LPDISPATCH pEntry = pObjects->CreateEntryObject(entry);
    if (pEntry == NULL)
        return 0;
    VARIANT data;
    ::VariantInit(&data);
    pObjects->GetActionData(pEntry, &data);
    // Window handles are 32-bit values, so the handle travels as the 4-byte number.
    const long nOwner = (long)(ULONG)(ULONG_PTR)hOwner;
    const int nResult = pApplication->ExecuteAction(entry.m_action.m_strName, data, pEntry, nOwner);
    ::VariantClear(&data);
    pEntry->Release();
    return nResult;
}
