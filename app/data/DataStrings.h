// String resources of the schedule data (DataStrings.rc).
#pragma once

#define IDS_DB_NO_FREE_AREA 40002   // "Keinen freie Area für Datenbank gefunden! ..."
#define IDS_DB_RECORD_IN_USE 40011  // "Dieser Datensatz wird gegenwärtig von einem anderen Benutzer ..."
#define IDS_INTERNAL_ERROR 40014    // "Es ist ein interner Fehler\nin Modul %u in Zeile %u ..."
#define IDS_DB_NO_JOB 40049         // "Kein freier Tabstor-Job verfügbar!"
#define IDS_DB_REINDEXING 41015     // "Die Datenbank wird nun reindiziert."
#define IDS_DB_PACKING 41017        // "Die Datenbank wird nun gepackt."
#define IDS_DB_RECORD_NUMBER 41028  // "Datensatz Nummer %ld"
#define IDS_DB_PLEASE_WAIT 50001    // "Bitte einen Augenblick Geduld..."
