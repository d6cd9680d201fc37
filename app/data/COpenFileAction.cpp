#include "COpenFileAction.h"

#include <shellapi.h>

#include "CDataAppointment.h"
#include "DataStrings.h"

COpenFileAction::COpenFileAction(CLinkedApplication* pApplication)
{
    m_strId = "OXSHEX";
    m_strTitle.LoadString(IDS_OPEN_FILE_TITLE);
    m_nPictureId = 408;
    m_strParameterLabel.LoadString(IDS_OPEN_FILE_LABEL);
    m_bSelectButton = 1;
    m_strSelectFilter.LoadString(IDS_OPEN_FILE_FILTER);
    m_pApplication = pApplication;
}

int COpenFileAction::Execute(HWND hOwner, CLinkedApplication* /*pApplication*/, const CDataAppointment& entry)
{
    const CString& strFile = entry.m_action.m_strParameter;
    if (strFile.IsEmpty())
        return 0;
    HINSTANCE hResult = ShellExecuteA(hOwner, NULL, strFile, NULL, ".", SW_SHOWNORMAL);
    return (INT_PTR)hResult > 32 ? 1 : 0;
}
