// String resources of the schedule data (DataStrings.rc).
#pragma once

#define IDS_TIME_FORMAT 6120      // "%H:%M" (times of the conflict list and of the mail's subject)
#define IDS_ALL_USERS 6402        // " < Alle Benutzer >" (the filter dialogs' choice of every user)
#define IDS_DB_SECTION_GENERAL 21014 // "Allgemein" (the side file's section of the collation)
#define IDS_DB_NO_FREE_AREA 40002   // "Keinen freie Area für Datenbank gefunden! ..."
#define IDS_DB_OPEN_ERROR 40003     // "Fehler beim Öffnen der Datenbank!"
#define IDS_DB_CREATE_ERROR 40005   // "Es ist ein Fehler aufgetreten!\nDie Datenbank konnte daher nicht korrekt erstellt werden!"
#define IDS_DB_INDEX_ERROR 40006    // "Es ist ein Fehler aufgetreten!\nDer Index konnten daher nicht korrekt erstellt werden!"
#define IDS_DB_WRONG_STRUCTURE 40007 // "Die Datenbank hat nicht die geforderte Struktur!"
#define IDS_DB_READ_ERROR 40008     // "Der Datensatz konnte nicht korrekt gelesen werden!"
#define IDS_DELETE_ERROR 40009      // "Fehler beim Löschen des Datensatzes!"
#define IDS_DB_RECORD_IN_USE 40011  // "Dieser Datensatz wird gegenwärtig von einem anderen Benutzer ..."
#define IDS_INTERNAL_ERROR 40014    // "Es ist ein interner Fehler\nin Modul %u in Zeile %u ..."
#define IDS_DB_FILE_MISSING 40030   // "Die Datei existiert nicht!"
#define IDS_DB_IN_USE 40044         // "Momentan haben andere Anwender die Datenbank "%s" ebenfalls in Benutzung! ..."
#define IDS_DB_TOO_MANY_FILES 40045 // "Es sind auf Ihrem System zu viele Dateien offen! ..."
#define IDS_DB_NO_JOB 40049         // "Kein freier Tabstor-Job verfügbar!"
#define IDS_SAVE_ERROR 40048        // "Fehler beim Speichern eines Datensatzes."
#define IDS_DB_ASK_UPGRADE 40054    // "Soll die Struktur der Datenbank\n%s\nautomatisch angepasst werden? ..."
#define IDS_DB_BACKUP_FAILED 40055  // "Es konnte keine Sicherungskopie der Datenbank angelegt werden!"
#define IDS_DB_UPGRADE_FAILED 40056 // "Es ist ein Fehler bei der automatischen Strukturanpassung aufgetreten!"
#define IDS_DB_BACKUP_MADE 40057    // "Es wurde eine Sicherungskopie der Datenbank unter dem Namen\n%s\nangelegt."
#define IDS_DELETE_OWN_ONLY 40065   // "Es dürfen momentan nur Datensätze des aktuellen Benutzers gelöscht werden. ..."
#define IDS_DELEGATE_OWN_ONLY 40066 // "Es dürfen momentan nur Datensätze des aktuellen Benutzers geändert werden. ..."
#define IDS_LINKED_JUMP_FAILED 40069 // "Die Funktion "Gehe zu Datensatz" konnte nicht aufgerufen werden. ..."
#define IDS_ENTRY_GONE 40074        // "Der Termin/Aufgabe existiert nicht mehr. ..."
#define IDS_ENTRY_CHANGED_MEANWHILE 40190 // "Der Termin/Aufgabe wurde inzwischen von einem anderen Benutzer geändert. ..."
#define IDS_EDIT_NOT_SAVED 40191    // "Ihre Änderungen konnten nicht gespeichert werden. ..."
#define IDS_PRIVATE_ENTRY 40075     // "Private Termine/Aufgaben anderer Benutzer dürfen nicht geöffnet oder verändert werden."
#define IDS_DB_ASK_CREATE 41001     // "Soll die Datenbank "%s" neu erstellt werden?"
#define IDS_ASK_DELETE 41003        // "Wollen Sie diesen Eintrag wirklich löschen?"
#define IDS_DB_REINDEXING 41015     // "Die Datenbank wird nun reindiziert."
#define IDS_DB_PACKING 41017        // "Die Datenbank wird nun gepackt."
#define IDS_DB_UPGRADING 41018      // "Die Struktur der Datenbank wird nun angepasst. ..."
#define IDS_DB_RECORD_NUMBER 41028  // "Datensatz Nummer %ld"
#define IDS_NO_USER_INFORMATION 41201 // "Die Benutzerinformationen konnten nicht gefunden werden. ..."
#define IDS_NOT_LINKED 41203        // "Dieser Termin/Aufgabe ist nicht mit einem Datensatz verknüpft."
#define IDS_DB_PLEASE_WAIT 50001    // "Bitte einen Augenblick Geduld..."
#define IDS_PROGRAM_NAME 21015    // the program's name (title of the bulk postponement's progress)
#define IDS_POSTPONE_FAILED 40062 // "Die Erinnerung(en) konnte nicht verschoben werden. ..."
#define IDS_FILTER_RUNNING 50010  // "Filter wird ausgeführt..."
#define IDS_POSTPONING_REMINDERS 50011 // "Erinnerungen werden verschoben..."
#define IDS_DB_ERROR_TITLE 50005    // "Fehler!"
// Maintenance of the schedule table.
#define IDS_DB_NOT_EXCLUSIVE 40019     // "Die Datenbank konnte nicht exklusiv geöffnet werden! ..."
#define IDS_DB_REINDEX_FAILED 40050    // "Fehler beim Reindizieren der Datenbank."
#define IDS_DB_REORGANIZE_FAILED 40068 // "Fehler beim Reorganisieren der Datenbank."
#define IDS_DB_ASK_REORGANIZE 41004    // "Wollen Sie wirklich die Datenbank reorganisieren ?"

#define IDS_ENTRY_PROGRESS 50008    // the progress text of the entry operations: not in the table (empty)


// Built-in actions and the notification mail.
#define IDS_MAIL_DATE_FORMAT 6112   // "%d.%m.%y %a" (the entry's day in the mail's subject)
#define IDS_OPEN_FILE_FILTER 6401   // "Alle Dateien (*.*) | *.*||"
#define IDS_OPEN_FILE_LABEL 7200    // "Datei:"
#define IDS_OPEN_FILE_TITLE 7201    // "Datei/Dokument ausführen bzw. öffnen."
#define IDS_MAIL_TITLE 7204         // "Senden einer eMail Benachrichtigung"
#define IDS_MAIL_LABEL 7205         // "An:"
#define IDS_MAIL_SUBJECT 42001      // "%s  um  %s - %s Uhr"
