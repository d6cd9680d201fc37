#include "afx.h"
#include "AfxLibraryText.h"

#include <string.h>

namespace {

const char* const kTexts[AFX_TEXT_COUNT] = {
    "Keine Fehlermeldung verfügbar.",
    "Nicht genügend Arbeitsspeicher.",
    "Der Vorgang wird nicht unterstützt.",
    "Eine benötigte Ressource ist nicht verfügbar.",
    "Ungültiges Argument.",
    "(unbenannt)",
    "Ungültiger Zeitpunkt",
    "Ungültige Zeitspanne",
    // CFileException causes
    "Beim Zugriff auf %1 ist kein Fehler aufgetreten.",
    "Beim Zugriff auf %1 ist ein unerwarteter Fehler aufgetreten.",
    "%1 wurde nicht gefunden.",
    "%1 enthält einen ungültigen Pfad.",
    "%1 konnte nicht geöffnet werden, weil zu viele Dateien geöffnet sind.",
    "Der Zugriff auf %1 wurde verweigert.",
    "Für %1 wurde ein ungültiges Dateihandle verwendet.",
    "%1 konnte nicht entfernt werden, weil es das aktuelle Verzeichnis ist.",
    "%1 konnte nicht erstellt werden, weil das Verzeichnis voll ist.",
    "Die Positionierung in %1 ist fehlgeschlagen.",
    "Beim Zugriff auf %1 ist ein E/A-Fehler der Hardware aufgetreten.",
    "Beim Zugriff auf %1 ist eine Freigabeverletzung aufgetreten.",
    "Beim Zugriff auf %1 ist eine Sperrverletzung aufgetreten.",
    "Beim Schreiben von %1 ist der Datenträger voll.",
    "Es wurde versucht, über das Ende von %1 hinaus zu lesen.",
    // CArchiveException causes
    "Beim Lesen oder Schreiben von %1 ist kein Fehler aufgetreten.",
    "Beim Lesen oder Schreiben von %1 ist ein unerwarteter Fehler aufgetreten.",
    "Es wurde versucht, in %1 zu schreiben, während es gelesen wird.",
    "Es wurde versucht, über das Ende von %1 hinaus zu lesen.",
    "Es wurde versucht, aus %1 zu lesen, während es geschrieben wird.",
    "%1 hat ein ungültiges Format.",
    "%1 enthält ein unerwartetes Objekt.",
    "%1 enthält eine falsche Schemaversion.",
    // prompts of the window layer
    "Ein interner Anwendungsfehler ist aufgetreten.",
    "Geben Sie bitte eine ganze Zahl ein.",
    "Geben Sie bitte eine Zahl ein.",
    "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.",
    "Geben Sie bitte eine Zahl zwischen %1 und %2 ein.",
    "Geben Sie bitte nicht mehr als %1 Zeichen ein.",
    "Wählen Sie bitte eine Schaltfläche aus.",
    "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.",
    "Geben Sie bitte eine positive ganze Zahl ein.",
    // texts of the frame layer
    "Bereit",
    "Klicken Sie auf das Element, zu dem Sie Hilfe wünschen.",
    "Öffnen",
    "Speichern unter",
    "Alle Dateien (*.*)",
    "Unbenannt",
    "Das Dokument konnte nicht geöffnet werden.",
    "Das Dokument konnte nicht gespeichert werden.",
    "Änderungen in %1 speichern?",
    "Es konnte kein neues Dokument angelegt werden.",
    "Die Hilfe konnte nicht gestartet werden.",
    // the document's mail command
    "Die E-Mail-Unterstützung konnte nicht geladen werden.",
    "Die E-Mail-Bibliothek ist ungültig.",
    "Die Nachricht konnte nicht gesendet werden.",
    // boxes of the OLE message filter
    "Die andere Anwendung ist beschäftigt, der Vorgang kann nicht abgeschlossen werden.\n"
    "Wählen Sie \"Wiederholen\", um es erneut zu versuchen, oder \"Abbrechen\", um den Vorgang abzubrechen.",
    "Die andere Anwendung antwortet nicht.\n"
    "Wählen Sie \"Wiederholen\", um weiter zu warten, oder \"Abbrechen\", um den Vorgang abzubrechen.",
};

// Prompt ids of the library and their texts.
const struct {
    UINT nID;
    int nText;
} kPrompts[] = {
    {0xF108, AFX_TEXT_INTERNAL_FAILURE},   {0xF110, AFX_TEXT_PARSE_INT},          {0xF111, AFX_TEXT_PARSE_REAL},
    {0xF112, AFX_TEXT_PARSE_INT_RANGE},    {0xF113, AFX_TEXT_PARSE_REAL_RANGE},   {0xF114, AFX_TEXT_PARSE_STRING_SIZE},
    {0xF115, AFX_TEXT_PARSE_RADIO_BUTTON}, {0xF116, AFX_TEXT_PARSE_BYTE},         {0xF117, AFX_TEXT_PARSE_UINT},
    {0xE001, AFX_TEXT_IDLE_MESSAGE},       {0xE002, AFX_TEXT_HELP_MODE_MESSAGE},  {0xF000, AFX_TEXT_OPEN_FILE},
    {0xF001, AFX_TEXT_SAVE_FILE},          {0xF002, AFX_TEXT_ALL_FILTER},         {0xF003, AFX_TEXT_UNTITLED},
    {0xF101, AFX_TEXT_FAILED_TO_OPEN_DOC}, {0xF102, AFX_TEXT_FAILED_TO_SAVE_DOC}, {0xF103, AFX_TEXT_ASK_TO_SAVE},
    {0xF104, AFX_TEXT_FAILED_TO_CREATE_DOC}, {0xF107, AFX_TEXT_FAILED_TO_LAUNCH_HELP},
    {0xF180, AFX_TEXT_FAILED_MAPI_LOAD},     {0xF181, AFX_TEXT_INVALID_MAPI_DLL},   {0xF182, AFX_TEXT_FAILED_MAPI_SEND},
};

} // namespace

LPCTSTR AFXAPI AfxGetLibraryText(int nText)
{
    if (nText < 0 || nText >= AFX_TEXT_COUNT)
        nText = AFX_TEXT_NO_ERROR_MESSAGE;
    return kTexts[nText];
}

LPCTSTR AFXAPI AfxGetLibraryPrompt(UINT nIDPrompt)
{
    for (const auto& prompt : kPrompts) {
        if (prompt.nID == nIDPrompt)
            return kTexts[prompt.nText];
    }
    return NULL;
}

void AFXAPI AfxFormatLibraryText(LPTSTR lpszError, UINT nMaxError, LPCTSTR lpszText, LPCTSTR lpszArg)
{
    if (lpszError == NULL || nMaxError == 0)
        return;
    CString text(lpszText);
    text.Replace("%1", lpszArg != NULL ? lpszArg : "");
    lstrcpynA(lpszError, text, (int)nMaxError);
}
