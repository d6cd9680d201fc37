// Resource ids of the appointment dialog: its template, controls and texts (AppointmentDialog.rc).
#pragma once

#define IDD_APPOINTMENT 153

// "Termin" page
#define IDC_APPT_SUBJECT_LABEL 1052
#define IDC_APPT_SUBJECT 1039
#define IDC_APPT_PARTNER_LABEL 1057
#define IDC_APPT_PARTNER 1043
#define IDC_APPT_PLACE_LABEL 1053
#define IDC_APPT_PLACE 1040
#define IDC_APPT_PRIVATE 1064
#define IDC_APPT_DATE_LABEL 1054
#define IDC_APPT_DATE 1015
#define IDC_APPT_DUE_DATE 1016
#define IDC_APPT_ALL_DAY 1048
#define IDC_APPT_START_LABEL 1055
#define IDC_APPT_START 1013
#define IDC_APPT_TO_LABEL 1056
#define IDC_APPT_END 1014
#define IDC_APPT_CONFLICTS 1044
#define IDC_APPT_SERIES 1046
#define IDC_APPT_SERIES_TYPE 1042
#define IDC_APPT_REMIND 1070
#define IDC_APPT_LEAD 1041
#define IDC_APPT_LEAD_UNIT 1068
#define IDC_APPT_LEAD_LABEL 1059
// "Benutzer" page
#define IDC_APPT_USERS 1080
#define IDC_APPT_CHECK_ALL 2190
#define IDC_APPT_UNCHECK_ALL 2189
#define IDC_APPT_USERS_HINT 1071
#define IDC_APPT_INFO 1090
// "Aktionen" page
#define IDC_APPT_RUN_LABEL 1084
#define IDC_APPT_RUN_AUTO 1082
#define IDC_APPT_RUN_MANUAL 1083
#define IDC_APPT_ACTION_LABEL 1060
#define IDC_APPT_ACTION 1051
#define IDC_APPT_PARAM_LABEL 1077
#define IDC_APPT_PARAM 1078
#define IDC_APPT_BROWSE 41
// tabs, notes and their format bar
#define IDC_APPT_TABS 1079
#define IDC_APPT_FONT_NAME 20
#define IDC_APPT_FONT_SIZE 26
#define IDC_APPT_COLOR 1072
#define IDC_APPT_NOTES 1047
// buttons along the bottom
#define IDC_APPT_GO_TO_RECORD 98
#define IDC_APPT_DELETE 161
#define IDC_APPT_PRINT 10
#define IDC_APPT_HELP 18

// the bitmap in front of the users page's texts
#define IDB_INFO_NAME "IDB_INFO"

// texts
#define IDS_LEAD_UNIT_MINUTES 6100     // "Minute(n);1"
#define IDS_LEAD_UNIT_HOURS 6101       // "Stunde(n);60"
#define IDS_LEAD_UNIT_DAYS 6102        // "Tage(n);1440"
#define IDS_INFO_DATE_FORMAT 6110      // "%a %d.%m.%y"
#define IDS_NO_ACTION 6300             // "< keine Aktion ausgewählt >"
#define IDS_TAB_USERS 6351             // "Benutzer"
#define IDS_TAB_ACTIONS 6352           // "Aktionen"
#define IDS_TAB_APPOINTMENT 6353       // "Termin"
#define IDS_CHOOSE_FILE_TITLE 6400     // "Datei/Dokument auswählen"
#define IDS_SERIES_END_BEFORE_START 40058 // "Das Endedatum des Serientermins sollte grösser sein ..."
#define IDS_END_BEFORE_START 40059     // "Die Endezeit des Termins muss grösser sein als die Startzeit."
#define IDS_NO_RIGHT_FOR_ACTIONS 40067 // "Sie versuchen anderen Benutzern Aktionen zu setzen. ..."
#define IDS_REMINDER_OFF_WARNING 40076 // "Bei diesem Termin/Aufgabe ist die Erinnerungsfunktion nicht aktiviert, ..."
#define IDS_INVALID_DATE 40078         // "Ein ungültiges Datum wurde ausgewäht."
#define IDS_NO_USER_CHOSEN 41202       // "Es wurde noch kein Benutzer ausgewählt. ..."
#define IDS_ENTRY_INFO 42004           // the users page's text of an existing entry (markup)
#define IDS_ENTRY_LINK 42008           // "¶Veknüpft mit Datensatz Nr. %d  in  %s"
#define IDS_NO_CONFLICTS 42066         // "Es wurden keine Terminüberschneidungen gefunden"
#define IDS_CONFLICT_FOUND 42067       // "Es wurde mindestens folgende Terminüberschneidung gefunden:\n\n%s"
#define IDS_CONFLICT_FILTER_USER 42068 // "Um diese Funktion nutzen zu können, ..."
