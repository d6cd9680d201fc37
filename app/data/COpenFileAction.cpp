#include "COpenFileAction.h"

#include <shellapi.h>

#include "CDataAppointment.h"
#include "DataStrings.h"

COpenFileAction::COpenFileAction(CLinkedApplication* pApplication)
    : CLinkedAction("OXSHEX", IDS_OPEN_FILE_TITLE, 408, IDS_OPEN_FILE_LABEL, 1, IDS_OPEN_FILE_FILTER, pApplication)
{
}

int COpenFileAction::Execute(HWND hOwner, CLinkedApplication* /*pApplication*/, const CDataAppointment& entry)
{
    const CString& strFile = entry.m_action.m_strParameter;
    if (strFile.IsEmpty())
        return 0;
    HINSTANCE hResult = ShellExecuteA(hOwner, NULL, strFile, NULL, ".", SW_SHOWNORMAL);
    return (INT_PTR)hResult > 32 ? 1 : 0;
}
