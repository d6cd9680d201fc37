// Encryption of tables: the cipher hooks of the record, memo and index code (Blowfish for tables
// protected when they were created, else the older scrambler while the area has its password),
// obtaining and verifying the password of a protected table, the password creation of a new one,
// and the registering of accepted passwords in the shared list (db_set_bfpw).
#pragma once

#include <windows.h>

#include <cstdint>

#include "Area.h"
#include "EngineHooks.h"
#include "clsBlowfish.h"

// The check block of a protected table: this text enciphered with the table's key, at offset 16
// of the DBF header.
extern const char kCheckBlockText[9];

// In place, by the area's state; position is the buffer's file offset (the scrambler uses it).
void EncryptBuffer(s_Area& area, int32_t position, void* buffer, unsigned length);
void DecryptBuffer(s_Area& area, int32_t position, void* buffer, unsigned length);

// Run when a protected table is opened: the password from the shared list, else from the password
// dialog; the check block decides. A wrong password shows "Das eingegebene Passwort ist falsch..."
// (Retry/Cancel; every third one after a pause of 10 seconds) and starts again with Retry. Answers
// false for Cancel in the dialog or the box (the open then fails with error 1). An accepted
// password is registered under the table's path and its short form.
bool VerifyTablePassword(s_Area& area);
// Run by db_define_end for a new protected table: the password creation dialog keys the cipher,
// the password is registered, and check receives the enciphered check block. False: cancelled.
bool CreateTablePassword(s_Area& area, uint8_t check[8]);

// The area's cipher (made without key on first use); NULL without memory.
clsBlowfish* _db_area_cipher(s_Area& area);
// Registers a password under the path as given and, when it differs, its short (8.3) form.
void _db_register_password(const char* path, const char* password);

// The pause before every third wrong-password box (Sleep; tests put a recorder in its place).
extern void (*g_PasswordRetryPause)(DWORD milliseconds);
const DWORD DB_PASSWORD_RETRY_PAUSE_MS = 10000;

void _db_crypt_hooks(s_EngineHooks& hooks);
