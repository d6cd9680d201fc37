// The text of a reminder's information panel (the controls library's markup): the private and
// series pictures, the date line, the "with" and "place" lines and the subject of the entry. The
// single and the collective reminder window show the same panel.
#pragma once

#include <afx.h>

class CDataAppointment;

// The panel of the entry. For a series the date is its next occurrence: D_NEXT_OC plus the lead
// time when D_NEXT_OC is valid, else the first occurrence of the series up to two years from
// today (the series' own start day when it has none in that time).
CString BuildReminderPanelText(const CDataAppointment& entry);
// The day the panel's date line shows (a day serial).
long GetReminderPanelDay(const CDataAppointment& entry);
