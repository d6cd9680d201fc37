#include "SharedDialogHandlers.h"

#include "CDataApplication.h"
#include "CDataDocument.h"

namespace {

volatile LONG* DocumentDialogCounter()
{
    CDataApplication* pApp = CDataApplication::Get();
    CDataDocument* pDocument = pApp != NULL ? pApp->GetDocument() : NULL;
    return pDocument != NULL ? pDocument->GetOpenDialogCounter() : NULL;
}

} // namespace

void OnHelpButton(DWORD dwHelpId)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp(dwHelpId, HELP_CONTEXT);
}

void CountDialogOpened()
{
    if (volatile LONG* pCounter = DocumentDialogCounter())
        ::InterlockedIncrement(pCounter);
}

void CountDialogClosed()
{
    if (volatile LONG* pCounter = DocumentDialogCounter())
        ::InterlockedDecrement(pCounter);
}
