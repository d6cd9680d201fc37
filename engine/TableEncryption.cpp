#include "TableEncryption.h"

#include <cstring>
#include <new>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "LibMessageBox.h"
#include "Scrambler.h"
#include "TableFile.h"
#include "clsDlgGetPWCreation.h"
#include "clsDlgGetPWOpen.h"
#include "clsPasswordList.h"

const char kCheckBlockText[9] = "$QiVQiV$";
void (*g_PasswordRetryPause)(DWORD milliseconds) = Sleep;

namespace {

const UINT IDS_PW_WRONG = 110; // "Das eingegebene Passwort ist falsch. ..."
const UINT IDS_PW_ERROR = 111; // "Fehler"
const UINT kWrongPasswordStyle = MB_RETRYCANCEL | MB_ICONHAND | MB_TASKMODAL;
const unsigned kPauseEvery = 3;

void WipeText(String& text)
{
    if (unsigned length = text.GetLength())
        SecureZeroMemory(text.GetBuffer(length), length);
    text.Empty();
}

// The password of the table into its cipher: from the list, else from the dialog (false: Cancel).
bool ObtainPassword(s_Area& area, clsBlowfish& cipher)
{
    String stored;
    if (g_PasswordList.Find(area.databaseName, stored)) {
        cipher.SetKey(stored);
        WipeText(stored);
        return true;
    }
    clsDlgGetPWOpen dialog(area.databaseName, &cipher);
    return dialog.DoModal() == IDOK;
}

bool CheckBlockAccepted(s_Area& area, const clsBlowfish& cipher)
{
    uint8_t block[dbf::kCheckBlockSize];
    if (_db_read_at(area, block, dbf::kCheckBlock, sizeof block) != sizeof block)
        return false;
    cipher.Decode(block, sizeof block);
    return std::memcmp(block, kCheckBlockText, sizeof block) == 0;
}

bool VerifyHook(s_Area& area) { return VerifyTablePassword(area); }
bool CreateHook(s_Area& area, uint8_t check[8]) { return CreateTablePassword(area, check); }

void ReleaseCipher(s_Area& area)
{
    delete area.cipher;
    area.cipher = nullptr;
}

} // namespace

clsBlowfish* _db_area_cipher(s_Area& area)
{
    if (!area.cipher)
        area.cipher = new (std::nothrow) clsBlowfish;
    return area.cipher;
}

void EncryptBuffer(s_Area& area, int32_t position, void* buffer, unsigned length)
{
    if (area.protectedTable) {
        if (clsBlowfish* cipher = _db_area_cipher(area))
            cipher->Encode(buffer, length);
    } else if (area.scramblerKey[0])
        _scr_encode(area, position, buffer, length);
}

void DecryptBuffer(s_Area& area, int32_t position, void* buffer, unsigned length)
{
    if (area.protectedTable) {
        if (clsBlowfish* cipher = _db_area_cipher(area))
            cipher->Decode(buffer, length);
    } else if (area.scramblerKey[0])
        _scr_decode(area, position, buffer, length);
}

void _db_register_password(const char* path, const char* password)
{
    if (!path)
        return;
    g_PasswordList.Add(path, password);
    char shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameA(path, shortPath, sizeof shortPath);
    shortPath[sizeof shortPath - 1] = 0;
    if (n > 0 && n < sizeof shortPath && String(shortPath).Compare(path) != 0)
        g_PasswordList.Add(shortPath, password);
}

bool VerifyTablePassword(s_Area& area)
{
    clsBlowfish* cipher = _db_area_cipher(area);
    if (!cipher)
        return false;
    for (unsigned failures = 0;;) {
        if (!ObtainPassword(area, *cipher))
            return false;
        if (CheckBlockAccepted(area, *cipher)) {
            _db_register_password(area.databaseName, cipher->Key());
            return true;
        }
        if (++failures % kPauseEvery == 0)
            g_PasswordRetryPause(DB_PASSWORD_RETRY_PAUSE_MS);
        const int answer = LibMessageBox(nullptr, String::Message(_db_resource_module(), IDS_PW_WRONG),
                                         String::Message(_db_resource_module(), IDS_PW_ERROR), kWrongPasswordStyle);
        if (answer == IDCANCEL)
            return false;
    }
}

bool CreateTablePassword(s_Area& area, uint8_t check[8])
{
    clsBlowfish* cipher = _db_area_cipher(area);
    if (!cipher)
        return false;
    {
        clsDlgGetPWCreation dialog(area.databaseName, cipher);
        if (dialog.DoModal() != IDOK)
            return false;
    }
    std::memcpy(check, kCheckBlockText, dbf::kCheckBlockSize);
    cipher->Encode(check, dbf::kCheckBlockSize);
    _db_register_password(area.databaseName, cipher->Key());
    return true;
}

void _db_crypt_hooks(s_EngineHooks& hooks)
{
    hooks.verifyTablePassword = VerifyHook;
    hooks.createTablePassword = CreateHook;
    hooks.encryptBuffer = EncryptBuffer;
    hooks.decryptBuffer = DecryptBuffer;
    hooks.releaseCipher = ReleaseCipher;
}

// Puts a password into the shared list before its table is opened, so that no dialog asks for
// it. Neither argument is traced; the result is always FALSE.
extern "C" BOOL DB_CALL db_set_bfpw(const char* path, const char* password)
{
    _db_call_enter();
    _db_register_password(path, password ? password : "");
    _db_call_leave();
    if (_db_tracing())
        _db_trace_result(RF_INT, FALSE);
    return FALSE;
}
