#include "clsLengthyOpCond.h"

#include <new>

#include "clsDBGHELP.h"
#include "clsLengthyOp.h"

clsLengthyOpCond::clsLengthyOpCond(clsDBGHELP& owner, const DBGProgressInfo& info) : m_owner(&owner)
{
    owner.m_progress = this;
    if (!info.bShow)
        return;
    bool german = (GetUserDefaultLangID() & 0x3FF) == LANG_GERMAN;
    m_prefix = info.pszMessage ? info.pszMessage
                               : (german ? "Modul-Information wird eingelesen:" : "Retrieving module information:");
    const char* caption = info.pszCaption ? info.pszCaption : (german ? "Bitte warten Sie..." : "Please wait...");
    m_dialog = new (std::nothrow) clsLengthyOp(caption, m_prefix, info.dwOwner, info.lStartValue);
}

clsLengthyOpCond::~clsLengthyOpCond()
{
    if (m_owner && m_owner->m_progress == this)
        m_owner->m_progress = nullptr;
    delete m_dialog;
}

int clsLengthyOpCond::Position(int p) const
{
    int steps = m_steps > 0 ? m_steps : 1;
    return (m_step - 1) * (100 / steps) + p / steps;
}

void clsLengthyOpCond::ReportPosition(int p)
{
    if (!m_dialog || !m_dialog->HasInterface() || p < 0)
        return;
    m_dialog->Update(nullptr, Position(p));
}

void clsLengthyOpCond::ShowText(const char* text)
{
    if (!m_dialog)
        return;
    String message = m_prefix + "\n" + (text ? text : "");
    m_dialog->m_message = message;
    if (m_dialog->HasInterface())
        m_dialog->Update(message, -1);
}
