#include "CLinkedAction.h"

CLinkedAction::CLinkedAction()
    : m_nPictureId(0), m_bAskForData(0), m_bBinaryData(0), m_bSelectButton(0), m_pApplication(NULL)
{
}

CLinkedAction::~CLinkedAction()
{
}

int CLinkedAction::Execute(HWND /*hOwner*/, CLinkedApplication* /*pApplication*/, const CDataAppointment& /*entry*/)
{
    return 0;
}
