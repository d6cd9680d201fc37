#include "CTkDragContext.h"

CTkDragContext::CTkDragContext()
    : m_hcurSaved(NULL), m_pSource(NULL), m_pCurTarget(NULL), m_pDesc(NULL), m_ptLast(0, 0), m_bMove(0), m_bCopyOk(1)
{
}

void CTkDragContext::AddDropTarget(CTkDropTarget* pTarget) { m_arrTargets.Add(pTarget); }
