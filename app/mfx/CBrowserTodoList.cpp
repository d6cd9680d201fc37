#include "CBrowserTodoList.h"

CBrowserTodoList::CBrowserTodoList(HWND hControl, BOOL bAttachEvents, HWND hOwner)
    : CBrowserViewList(hControl, bAttachEvents, hOwner)
{
}

LRESULT CBrowserTodoList::OnEvent46(LPARAM lParam) { return SendToOwner(WM_BROWSE_CHECKING, lParam); }
void CBrowserTodoList::OnEvent47(LPARAM lParam) { SendToOwner(WM_BROWSE_CHECKED, lParam); }
