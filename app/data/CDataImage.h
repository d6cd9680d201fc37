// The base of the record classes that travel as archive images: an object writes itself into a
// CArchive (Store) and reads itself back (Load); ToText and FromText turn that archive image into
// upper-case hexadecimal text (two digits per byte) and back. The schedule table keeps such texts
// in its fields (the recurrence pattern in TERMIN, the action in APP_DAT1), and automation callers
// exchange whole appointments this way, so the bytes of every image are fixed.
#pragma once

#include <afx.h>

class CDataImage : public CObject {
    DECLARE_DYNAMIC(CDataImage)
public:
    virtual ~CDataImage();

    // The object's image as hexadecimal text; nLimit (the length of the field the text goes to)
    // is not applied. Returns WriteTo's result.
    virtual int ToText(CString& rText, int nLimit);
    // Writes the object into the archive: 0, or -1 when the archive failed.
    virtual int WriteTo(CArchive& ar);
    // Reads the object from a hexadecimal image: an empty text changes nothing and answers 0;
    // otherwise ReadFrom's result, or -1 when the text holds a character that is no hexadecimal
    // digit. A damaged image answers -1 and may leave the object partly filled.
    virtual int FromText(LPCTSTR lpszText);
    // Reads the object from the archive: 0, or -1 when the archive failed (too short, damaged).
    virtual int ReadFrom(CArchive& ar);

    // The members in archive order; both throw the archive's exceptions. An object embedded in
    // another's image is stored through these, so a failure ends the whole image.
    virtual void Store(CArchive& ar) = 0;
    virtual void Load(CArchive& ar) = 0;

protected:
    CDataImage();

private:
    // Runs Store or Load: 0, or -1 when they threw (the exception is deleted).
    int Guarded(void (CDataImage::*pfnMembers)(CArchive&), CArchive& ar);
};
