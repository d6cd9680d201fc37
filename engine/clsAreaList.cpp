#include "clsAreaList.h"

#include "Job.h"
#include "LibMessageBox.h"
#include "clsCritObj.h"

clsAreaList g_AreaList;

namespace {

void ShowGuardBox()
{
    LibMessageBox(GetActiveWindow(), "Bitte QIV anrufen!!!", "Wichtig", MB_ICONWARNING);
}

} // namespace

clsAreaList::clsAreaState& clsAreaList::StateOf(int areaIndex)
{
    if ((size_t)areaIndex >= m_areas.size())
        m_areas.resize((size_t)areaIndex + 1);
    return m_areas[(size_t)areaIndex];
}

void clsAreaList::Enter(int areaIndex)
{
    if (areaIndex < 0)
        return;
    const DWORD self = GetCurrentThreadId();
    bool warn = false;
    {
        clsCritObj lock(m_lock);
        clsAreaState& state = StateOf(areaIndex);
        if (!state.threads.empty() && state.threads.back() != self) {
            _db_warn("******* WARN - Add(): threadlist contains another thread (was: %08x, is now: %08x. Nesting "
                     "level is %d",
                     state.threads.back(), self, (int)state.threads.size());
            warn = true;
        }
        state.threads.push_back(self);
    }
    // The box is shown after the lock was left, so other threads are not held up by it.
    if (warn)
        ShowGuardBox();
}

void clsAreaList::Leave(int areaIndex)
{
    if (areaIndex < 0)
        return;
    const DWORD self = GetCurrentThreadId();
    bool warn = false;
    {
        clsCritObj lock(m_lock);
        clsAreaState& state = StateOf(areaIndex);
        if (state.threads.empty())
            _db_warn("******* WARN - threadlist does not contain and area at all!");
        else if (state.threads.back() == self)
            state.threads.pop_back();
        else {
            _db_warn("******* WARN - Remove(): threadlist contains another thread (was: %08x, is now: %08x. Nesting "
                     "level is %d",
                     state.threads.back(), self, (int)state.threads.size());
            warn = true;
        }
    }
    if (warn)
        ShowGuardBox();
}

int clsAreaList::Depth(int areaIndex)
{
    clsCritObj lock(m_lock);
    return areaIndex >= 0 && (size_t)areaIndex < m_areas.size() ? (int)m_areas[(size_t)areaIndex].threads.size() : 0;
}
