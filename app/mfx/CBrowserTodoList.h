// The list of the to-do list view: the done check cell is decided by the owner.
#pragma once

#include "CBrowserViewList.h"

class CBrowserTodoList : public CBrowserViewList {
public:
    CBrowserTodoList(HWND hControl, BOOL bAttachEvents, HWND hOwner);

    LRESULT OnEvent46(LPARAM lParam) override;
    void OnEvent47(LPARAM lParam) override;
};
