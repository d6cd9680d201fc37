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
};

} // namespace

LPCTSTR AFXAPI AfxGetLibraryText(int nText)
{
    if (nText < 0 || nText >= AFX_TEXT_COUNT)
        nText = AFX_TEXT_NO_ERROR_MESSAGE;
    return kTexts[nText];
}

void AFXAPI AfxFormatLibraryText(LPTSTR lpszError, UINT nMaxError, LPCTSTR lpszText, LPCTSTR lpszArg)
{
    if (lpszError == NULL || nMaxError == 0)
        return;
    CString text(lpszText);
    text.Replace("%1", lpszArg != NULL ? lpszArg : "");
    lstrcpynA(lpszError, text, (int)nMaxError);
}
