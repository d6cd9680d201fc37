// The library's narrow text type.
//
// The text lives in a reference-counted block shared between copies and cloned only when a
// copy is written (copy on write). Each String carries the code page of its text (the
// library's code page at construction), treats a double-byte character as one character where
// it counts or steps through characters, formats with the library's printf layer, loads string
// resources in a chosen language and turns system error codes into text.
//
// Block layout: {capacity (bytes for text and NUL), reference count, text bytes}; for a text of
// n bytes the capacity is (n + 8) with the low three bits cleared, so a multiple of 8 that holds
// n + 1 bytes. A block whose count is above 1 is never written. Counts change with interlocked
// increments and decrements, so copies of one String may live on several threads; one String
// object itself must not be used by several threads at once.
#pragma once

// windows.h maps LoadString to LoadStringA in this ANSI build; it is included here so that
// String::LoadString gets the same name in every file that sees this header.
#include <windows.h>

#include <cstdarg>
#include <cstdint>

struct StringTextBlock {
    uint32_t capacity;
    volatile LONG refs;
    char text[8];
};

class String {
public:
    String();
    String(const char* text);
    // Part of a text: start and count in bytes or, with inChars, in characters.
    String(const char* text, int start, int count, bool inChars);
    // UTF-16 text converted with the String's code page; units < 0 converts up to the NUL.
    String(const wchar_t* text, int units = -1);
    String(const String& other);
    virtual ~String();

    String& operator=(const char* text);
    String& operator=(const String& other);
    String& operator+=(const char* text);
    String& operator+=(const String& other);

    // Keeps an unshared block with its first byte cleared; releases a shared one.
    void Empty();

    // A writable byte of the text; outside the text the process-wide dummy character.
    char& operator[](unsigned index);
    char& operator[](int index) { return (*this)[(unsigned)index]; }
    operator const char*() const { return m_block ? m_block->text : ""; }
    unsigned GetLength() const { return m_length; }

    // A writable buffer of at least size bytes holding the text; ReleaseBuffer sets the length
    // afterwards (negative: up to the NUL).
    char* GetBuffer(unsigned size);
    void ReleaseBuffer(int length = -1);

    // A UTF-16 copy owned by the String, valid until the next call or the String's end.
    const wchar_t* ToWide();

    // Negative, 0 or positive; texts the locale treats as equal are ordered by their bytes.
    virtual int Compare(const char* text) const;
    virtual int CompareNoCase(const char* text) const;

    String Left(int count, bool inChars = false) const;
    String Right(int count, bool inChars = false) const;
    void Delete(unsigned start, unsigned count, bool inChars = false);
    void MakeUpper();
    void MakeLower();
    String Upper() const;
    String Lower() const;

    // Formatting in the run-time printf dialect of PrintfFormat.h. FormatV answers the number of
    // characters written, or 0 with the text "<printf format error>" after a bad pointer argument.
    static String Printf(const char* format, ...);
    int Format(const char* format, ...);
    int FormatV(const char* format, va_list args);

    // The system's text for an error code, with " (%08lx)" appended; "(error code %#08lx)" when
    // the system has none.
    static String SystemErrorText(DWORD code, WORD language);
    // A string resource in the given language (see FindResourceForLanguage).
    static String LoadString(HMODULE module, UINT id, WORD language);
    // A string resource in the thread locale's language used as a FormatMessage template
    // ("%1", "%2" ...) with the further arguments; empty with a debug line when it is missing.
    static String Message(HMODULE module, UINT id, ...);

private:
    void Unshare(bool keep);
    void Grow(uint32_t capacity, bool keep);
    void Append(const char* text, uint32_t count);
    static void Release(StringTextBlock* block);
    static StringTextBlock* NewBlock(uint32_t capacity);

    uint32_t m_length = 0;
    StringTextBlock* m_block = nullptr;
    wchar_t* m_wide = nullptr;
    uint16_t m_codePage = 0;
};

String operator+(const String& left, const char* right);
String operator+(const String& left, const String& right);

// A resource handle by language: the given language, the thread locale's language, the primary
// language of the user default, English, German (each once, zero skipped), then the loader's
// own choice.
HRSRC FindResourceForLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
