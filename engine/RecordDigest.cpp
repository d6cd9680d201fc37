// db_calc_md5: the MD5 fingerprint of the current record, memo texts included, so that a caller
// can tell whether a record's content changed.
#include <windows.h>

#include <cstring>

#include "CallFrame.h"
#include "FieldAccess.h"
#include "Md5.h"
#include "vlDB07.h"

// digest receives 33 bytes: 32 upper-case hexadecimal digits and a NUL (all NUL when the result
// is FALSE). The digest covers the record's bytes (deleted flag included) as the buffer holds
// them, then the text of each memo field in field order, up to its first NUL.
extern "C" BOOL DB_CALL db_calc_md5(char* digest)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_ASK, "@DbCalcMD5(pData)");
    if (digest)
        std::memset(digest, 0, 33);
    s_Area* area = _db_current_table(f.Job());
    if (!digest || !area || !area->fields || area->defining)
        return f(FALSE);
    if (!_db_read_current(*area))
        return f(FALSE);
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, area->record.get(), (unsigned)area->recordLength);
    // Each memo text comes in a block of its own (a failed read may or may not have freed a block
    // handed back for reuse, so none is handed back).
    for (int n = 1; n <= area->fieldCount; ++n) {
        if (area->fields[n - 1].type != 'M')
            continue;
        HGLOBAL memo = db_memo_read(DB_FIELDREF(n), nullptr);
        if (!memo)
            continue;
        if (const char* text = (const char*)GlobalLock(memo)) {
            MD5Update(&context, text, (unsigned)strnlen(text, GlobalSize(memo)));
            GlobalUnlock(memo);
        }
        GlobalFree(memo);
    }
    MD5Final(&context);
    char* hex = MD5HexDigest(&context);
    if (!hex)
        return f(FALSE);
    std::memcpy(digest, hex, 33);
    delete[] hex;
    return f(TRUE);
}
