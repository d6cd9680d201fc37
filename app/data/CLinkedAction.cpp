#include "CLinkedAction.h"

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

int CLinkedAction::Execute(HWND /*hOwner*/, CLinkedApplication* /*pApplication*/, const CDataAppointment& /*entry*/)
{
    return 0;
}
