// The record classes and their hexadecimal archive images: the default pattern and the empty
// action against their stored texts, the pattern's byte offsets, images written by the record
// classes read back member by member with the class library's archive reader and images made
// with its archive writer read by the record classes, binary action parameters, damaged texts,
// copying, the active-reminder rule and the user of a new entry.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdlib.h>
#include <string>
#include <vector>

#include "CDataAppointment.h"
#include "CTestDataApp.h"

namespace {

const char kDefaultPatternImage[] = "0100FFFFFFFF00000000000000000000000001000000000000000000000000000000000000000000"
                                    "00000000000000000000000000000000000000000000010000000000000000000000010000000000";
const char kEmptyActionImage[] = "010000000000000000000000";

std::string Hex(const std::vector<BYTE>& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (BYTE b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

std::vector<BYTE> Bytes(const std::string& hex)
{
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back((BYTE)strtoul(hex.substr(i, 2).c_str(), NULL, 16));
    return bytes;
}

// The image the class library's archive writer makes with the given writes, as hexadecimal text.
std::string ArchiveImage(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    UINT n = (UINT)file.GetLength();
    BYTE* p = file.Detach();
    std::vector<BYTE> bytes(p, p + n);
    free(p);
    return Hex(bytes);
}

// Reads the image with the class library's archive reader; false when the reads did not use up
// the image exactly.
bool ReadArchiveImage(const std::string& hex, const std::function<void(CArchive&)>& read)
{
    std::vector<BYTE> bytes = Bytes(hex);
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    read(ar);
    BYTE extra;
    bool bAtEnd = ar.Read(&extra, 1) == 0;
    ar.Close();
    file.Detach();
    return bAtEnd;
}

std::string TextOf(CDataImage& object)
{
    CString text;
    EXPECT_EQ(0, object.ToText(text, 64000));
    return (LPCTSTR)text;
}

COleDateTime Date(int y, int m, int d, int h = 0, int min = 0, int s = 0) { return COleDateTime(y, m, d, h, min, s); }

COleDateTime DateWithStatus(COleDateTime::DateTimeStatus status)
{
    COleDateTime dt;
    dt.SetStatus(status);
    return dt;
}

// An appointment with every member away from its default (texts with umlauts, a text longer than
// 255 characters, a binary action, one valid and one null date and one invalid date).
CDataAppointment FullAppointment()
{
    CDataAppointment a;
    a.m_strRecordId = "1234567890";
    a.m_strSubject = "Besprechung \xFC" "ber M\xE4rz";
    a.m_strParticipants = "Frau M\xFCller, Herr Gro\xDF";
    a.m_strPlace = "Raum 1";
    a.m_strNotes = CString('n', 300);
    a.m_bPrivate = TRUE;
    a.m_bRemind = TRUE;
    a.m_nRemindSpan = -45;
    a.m_bSeries = TRUE;
    CDataSerienTermin& p = a.m_pattern;
    p.m_nStartTime = 510;
    p.m_nEndTime = 1439;
    p.m_nPatternStart = 38352;
    p.m_nPatternEnd = 42004;
    p.m_bNoEnd = TRUE;
    p.m_bDefaultEnd = FALSE;
    p.m_nType = CDataSerienTermin::monthly;
    p.m_nDailyInterval = 3;
    p.m_bEveryWorkday = TRUE;
    p.m_nWeeklyInterval = 2;
    p.m_bWeekdays[1] = TRUE;
    p.m_bWeekdays[6] = TRUE;
    p.m_bMonthlyByDay = FALSE;
    p.m_nMonthlyInterval = 6;
    p.m_nDayOfMonth = 31;
    p.m_nInstance = 5;
    p.m_nWeekday = 2;
    p.m_bYearlyByDate = FALSE;
    p.m_nMonth = 12;
    a.m_strAppId = "OXAPP";
    a.m_strDbPath = "\\\\server\\daten\\kunden.dbf";
    a.m_nDbRecId = 2147483647;
    a.m_bTodo = TRUE;
    a.m_strPriority = "A";
    a.m_nPercentDone = 75;
    a.m_strTodoState = "E";
    a.m_action.m_strName = "OXSHEX";
    a.m_action.m_bBinary = TRUE;
    a.m_action.m_binParameter.Add(0x00);
    a.m_action.m_binParameter.Add(0xFF);
    a.m_action.m_binParameter.Add(0x7F);
    a.m_action.m_nActionType = 1;
    a.m_strUser = "J\xFCrgen";
    a.m_strCreatedBy = "Anna";
    a.m_strChangedBy = "Bernd";
    a.m_dtCreated = Date(2005, 12, 31, 23, 59, 58);
    a.m_dtChanged = DateWithStatus(COleDateTime::invalid);
    a.m_dtNextOccurrence = Date(1899, 12, 30);
    a.m_strStatus = "D";
    a.m_strMovedRecordId = "0000000042";
    return a;
}

} // namespace

TEST(RecordImageTest, DefaultPatternHasTheStoredImage)
{
    CDataSerienTermin pattern;
    EXPECT_EQ(160u, strlen(kDefaultPatternImage));
    EXPECT_EQ(kDefaultPatternImage, TextOf(pattern));

    CDataSerienTermin changed;
    changed.m_nStartTime = 600;
    changed.m_nType = CDataSerienTermin::yearly;
    changed.m_bWeekdays[3] = TRUE;
    ASSERT_EQ(0, changed.FromText(kDefaultPatternImage));
    EXPECT_TRUE(changed == CDataSerienTermin());
}

TEST(RecordImageTest, PatternMembersLieAtTheirOffsets)
{
    CDataSerienTermin p = FullAppointment().m_pattern;
    p.m_nVersion = 7; // written as 1 whatever the member holds
    std::vector<BYTE> image = Bytes(TextOf(p));
    ASSERT_EQ((size_t)CDataSerienTermin::kImageSize, image.size());
    EXPECT_EQ(1, p.m_nVersion);

    struct Field {
        int nOffset;
        int nWidth;
        long nValue;
        const char* name;
    };
    const Field fields[] = {
        {0, 2, 1, "version"},        {2, 2, 510, "start"},           {4, 2, 1439, "end"},
        {6, 4, 38352, "first day"},  {10, 4, 42004, "last day"},     {14, 4, 1, "no end"},
        {18, 4, 0, "default end"},   {22, 4, 2, "type"},             {26, 2, 3, "daily interval"},
        {28, 4, 1, "every workday"}, {32, 2, 2, "weekly interval"},  {34, 4, 0, "Sunday"},
        {38, 4, 1, "Monday"},        {42, 4, 0, "Tuesday"},          {58, 4, 1, "Saturday"},
        {62, 4, 0, "monthly by day"}, {66, 2, 6, "monthly interval"}, {68, 2, 31, "day of month"},
        {70, 2, 5, "instance"},      {72, 2, 2, "weekday"},          {74, 4, 0, "yearly by date"},
        {78, 2, 12, "month"},
    };
    for (const Field& f : fields) {
        long nValue = 0;
        for (int i = f.nWidth - 1; i >= 0; --i)
            nValue = nValue * 256 + image[f.nOffset + i];
        EXPECT_EQ(f.nValue, nValue) << f.name << " at offset " << f.nOffset;
    }

    // Negative times are two's complement words.
    CDataSerienTermin none;
    std::vector<BYTE> defaults = Bytes(TextOf(none));
    EXPECT_EQ(0xFF, defaults[2]);
    EXPECT_EQ(0xFF, defaults[5]);

    CDataSerienTermin back;
    ASSERT_EQ(0, back.FromText(Hex(image).c_str()));
    EXPECT_TRUE(back == p);
}

TEST(RecordImageTest, ActionImages)
{
    CDataAction empty;
    EXPECT_EQ(kEmptyActionImage, TextOf(empty));

    // A text action, against the class library's archive writer.
    CDataAction mail;
    mail.m_strName = "OXMAIL";
    mail.m_strParameter = "info@example.org";
    mail.m_nActionType = -2;
    std::string expected = ArchiveImage([](CArchive& ar) {
        ar << (WORD)1 << CString("OXMAIL") << (LONG)0 << CString("info@example.org") << (LONG)-2;
    });
    EXPECT_EQ(expected, TextOf(mail));
    CDataAction back;
    ASSERT_EQ(0, back.FromText(expected.c_str()));
    EXPECT_TRUE(back == mail);

    // A binary action: the parameter as a byte-array variant (type 0x2011, a count, the bytes),
    // read back in the same form.
    CDataAction binary;
    binary.m_strName = "APP1";
    binary.m_bBinary = TRUE;
    const BYTE data[] = {0x00, 0x01, 0xFE, 0xFF};
    for (BYTE b : data)
        binary.m_binParameter.Add(b);
    binary.m_strParameter = "not stored";
    binary.m_nActionType = 1;
    std::string image = TextOf(binary);
    EXPECT_EQ("0100" "0441505031" "01000000" "1120" "0400" "0001FEFF" "01000000", image);
    std::string viaVariant = ArchiveImage([&](CArchive& ar) {
        CByteArray bytes;
        for (BYTE b : data)
            bytes.Add(b);
        ar << (WORD)1 << CString("APP1") << (LONG)1 << COleVariant(bytes) << (LONG)1;
    });
    EXPECT_EQ(viaVariant, image);
    CDataAction binaryBack;
    ASSERT_EQ(0, binaryBack.FromText(image.c_str()));
    EXPECT_TRUE(binaryBack.m_bBinary);
    ASSERT_EQ(4, binaryBack.m_binParameter.GetSize());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(data[i], binaryBack.m_binParameter[i]) << "byte " << i;
    EXPECT_STREQ("", binaryBack.m_strParameter);
    EXPECT_EQ(1, binaryBack.m_nActionType);

    // Counts from 0xFFFF on take the long form; an empty array stays an empty binary parameter.
    for (int nBytes : {0, 0xFFFF, 70000}) {
        CDataAction big;
        big.m_bBinary = TRUE;
        big.m_binParameter.SetSize(nBytes);
        for (int i = 0; i < nBytes; ++i)
            big.m_binParameter[i] = (BYTE)(i * 7);
        std::string text = TextOf(big);
        std::string count = text.substr(18, nBytes < 0xFFFF ? 4 : 12);
        char szCount[16];
        if (nBytes < 0xFFFF)
            snprintf(szCount, sizeof szCount, "%02X%02X", nBytes & 0xFF, nBytes >> 8);
        else
            snprintf(szCount, sizeof szCount, "FFFF%02X%02X%02X%02X", nBytes & 0xFF, (nBytes >> 8) & 0xFF,
                     (nBytes >> 16) & 0xFF, nBytes >> 24);
        EXPECT_EQ(szCount, count) << nBytes << " bytes";
        CDataAction bigBack;
        ASSERT_EQ(0, bigBack.FromText(text.c_str())) << nBytes << " bytes";
        EXPECT_TRUE(bigBack == big) << nBytes << " bytes";
    }

    // A binary flag over something that is no byte array is a damaged image.
    std::string notBytes = ArchiveImage([](CArchive& ar) {
        ar << (WORD)1 << CString("APP1") << (LONG)1 << COleVariant(42L) << (LONG)0;
    });
    CDataAction damaged;
    EXPECT_EQ(-1, damaged.FromText(notBytes.c_str()));
}

TEST(RecordImageTest, FullAppointmentReadsBackEqual)
{
    CDataAppointment full = FullAppointment();
    std::string image = TextOf(full);

    CDataAppointment back;
    ASSERT_EQ(0, back.FromText(image.c_str()));
    EXPECT_TRUE(back == full);
    EXPECT_EQ(COleDateTime::invalid, back.m_dtChanged.GetStatus());
    EXPECT_EQ(COleDateTime::valid, back.m_dtNextOccurrence.GetStatus());
    EXPECT_EQ(image, TextOf(back));

    // Every member where the archive order puts it, read with the class library's reader.
    bool bExact = ReadArchiveImage(image, [&](CArchive& ar) {
        WORD nVersion;
        CString s[5];
        LONG n[4];
        ar >> nVersion >> s[0] >> s[1] >> s[2] >> s[3] >> s[4] >> n[0] >> n[1] >> n[2] >> n[3];
        EXPECT_EQ(1, nVersion);
        EXPECT_STREQ(full.m_strRecordId, s[0]);
        EXPECT_STREQ(full.m_strSubject, s[1]);
        EXPECT_STREQ(full.m_strParticipants, s[2]);
        EXPECT_STREQ(full.m_strPlace, s[3]);
        EXPECT_STREQ(full.m_strNotes, s[4]);
        EXPECT_EQ(1, n[0]);
        EXPECT_EQ(1, n[1]);
        EXPECT_EQ(-45, n[2]);
        EXPECT_EQ(1, n[3]);
        BYTE pattern[CDataSerienTermin::kImageSize];
        EXPECT_EQ((UINT)sizeof pattern, ar.Read(pattern, sizeof pattern));
        EXPECT_EQ(Hex(std::vector<BYTE>(pattern, pattern + sizeof pattern)), TextOf(full.m_pattern));
        CString strAppId, strDbPath, strUser;
        LONG nDbRecId;
        ar >> strAppId >> strDbPath >> nDbRecId >> strUser;
        EXPECT_STREQ("OXAPP", strAppId);
        EXPECT_STREQ(full.m_strDbPath, strDbPath);
        EXPECT_EQ(2147483647, nDbRecId);
        EXPECT_STREQ(full.m_strUser, strUser);
        WORD nActionVersion;
        CString strName;
        LONG bBinary, nType;
        COleVariant bytes;
        ar >> nActionVersion >> strName >> bBinary >> bytes >> nType;
        EXPECT_EQ(1, nActionVersion);
        EXPECT_STREQ("OXSHEX", strName);
        EXPECT_EQ(1, bBinary);
        EXPECT_EQ(VT_ARRAY | VT_UI1, bytes.vt);
        EXPECT_EQ(1, nType);
        LONG bTodo, nPercent;
        CString strPrio, strState, strCreatedBy, strChangedBy, strMoved, strStatus;
        COleDateTime dtCreated, dtChanged, dtNext;
        ar >> bTodo >> strPrio >> nPercent >> strState >> strCreatedBy >> strChangedBy >> dtCreated >> dtChanged >>
            strMoved >> strStatus >> dtNext;
        EXPECT_EQ(1, bTodo);
        EXPECT_STREQ("A", strPrio);
        EXPECT_EQ(75, nPercent);
        EXPECT_STREQ("E", strState);
        EXPECT_STREQ("Anna", strCreatedBy);
        EXPECT_STREQ("Bernd", strChangedBy);
        EXPECT_TRUE(dtCreated == full.m_dtCreated);
        EXPECT_EQ(COleDateTime::invalid, dtChanged.GetStatus());
        EXPECT_STREQ("0000000042", strMoved);
        EXPECT_STREQ("D", strStatus);
        EXPECT_TRUE(dtNext == full.m_dtNextOccurrence);
    });
    EXPECT_TRUE(bExact) << "the image holds more than the members";
}

TEST(RecordImageTest, ArchiveWriterImageReadsIntoMembers)
{
    // An appointment image made value by value with the class library's archive writer (the form
    // automation callers and older rows hand over).
    CDataSerienTermin pattern;
    pattern.m_nStartTime = 0;
    pattern.m_nType = CDataSerienTermin::weekly;
    pattern.m_bWeekdays[0] = TRUE;
    COleDateTime created = Date(2004, 2, 29, 12, 0, 0);
    std::string image = ArchiveImage([&](CArchive& ar) {
        ar << (WORD)1 << CString("0000000001") << CString("Zahnarzt") << CString("") << CString("Praxis")
           << CString("") << (LONG)0 << (LONG)1 << (LONG)15 << (LONG)1;
        pattern.Store(ar);
        ar << CString("") << CString("") << (LONG)0 << CString("Anna");
        ar << (WORD)1 << CString("OXMAIL") << (LONG)0 << CString("anna@example.org") << (LONG)0;
        ar << (LONG)0 << CString("") << (LONG)0 << CString("");
        ar << CString("Anna") << CString("");
        ar << created << DateWithStatus(COleDateTime::null);
        ar << CString("") << CString("C") << DateWithStatus(COleDateTime::null);
    });

    CDataAppointment a;
    ASSERT_EQ(0, a.FromText(image.c_str()));
    EXPECT_STREQ("0000000001", a.m_strRecordId);
    EXPECT_STREQ("Zahnarzt", a.m_strSubject);
    EXPECT_STREQ("Praxis", a.m_strPlace);
    EXPECT_TRUE(a.m_bRemind);
    EXPECT_EQ(15, a.m_nRemindSpan);
    EXPECT_TRUE(a.m_bSeries);
    EXPECT_TRUE(a.m_pattern == pattern);
    EXPECT_STREQ("Anna", a.m_strUser);
    EXPECT_STREQ("OXMAIL", a.m_action.m_strName);
    EXPECT_STREQ("anna@example.org", a.m_action.m_strParameter);
    EXPECT_TRUE(a.m_dtCreated == created);
    EXPECT_EQ(COleDateTime::null, a.m_dtChanged.GetStatus());
    EXPECT_STREQ("C", a.m_strStatus);
    EXPECT_EQ(image, TextOf(a));
}

TEST(RecordImageTest, DamagedAndOddTexts)
{
    CDataAppointment full = FullAppointment();
    std::string image = TextOf(full);

    // An empty text changes nothing.
    CDataAppointment a = full;
    EXPECT_EQ(0, a.FromText(""));
    EXPECT_EQ(0, a.FromText(NULL));
    EXPECT_TRUE(a == full);

    // Lower-case digits read the same bytes; the text written again is upper case.
    std::string lower = image;
    for (char& c : lower)
        c = (char)tolower((unsigned char)c);
    CDataAppointment fromLower;
    ASSERT_EQ(0, fromLower.FromText(lower.c_str()));
    EXPECT_TRUE(fromLower == full);
    EXPECT_NE(lower, TextOf(fromLower));
    EXPECT_EQ(image, TextOf(fromLower));

    struct Case {
        const char* name;
        std::string text;
    };
    std::string notHex = image;
    notHex[40] = 'G';
    const Case cases[] = {
        {"cut in the middle", image.substr(0, image.size() / 2)},
        {"cut by one byte", image.substr(0, image.size() - 2)},
        {"one digit", "0"},
        {"a character that is no digit", notHex},
        {"a string length beyond the image", "0100" "FF" "FFFF" "FFFFFF7F"},
        {"a pattern only", kDefaultPatternImage},
    };
    for (const Case& c : cases) {
        CDataAppointment damaged;
        EXPECT_EQ(-1, damaged.FromText(c.text.c_str())) << c.name;
    }

    CDataSerienTermin shortPattern;
    EXPECT_EQ(-1, shortPattern.FromText(std::string(kDefaultPatternImage).substr(0, 158).c_str()));
}

TEST(RecordImageTest, CopyAndAssignment)
{
    CDataAppointment full = FullAppointment();
    full.m_nVersion = 3;
    full.m_pattern.m_nVersion = 4;
    full.m_action.m_nVersion = 5;

    CDataAppointment copy(full);
    EXPECT_TRUE(copy == full);

    CDataAppointment assigned;
    assigned = full;
    EXPECT_EQ(1, assigned.m_nVersion);
    EXPECT_EQ(1, assigned.m_pattern.m_nVersion);
    EXPECT_EQ(1, assigned.m_action.m_nVersion);
    assigned.m_nVersion = 3;
    assigned.m_pattern.m_nVersion = 4;
    assigned.m_action.m_nVersion = 5;
    EXPECT_TRUE(assigned == full);

    // The bytes of an action travel only with the binary flag.
    CDataAction textAction;
    textAction.m_strParameter = "datei.txt";
    textAction.m_binParameter.Add(9);
    CDataAction target;
    target.m_bBinary = TRUE;
    target.m_binParameter.Add(1);
    target = textAction;
    EXPECT_EQ(0, target.m_binParameter.GetSize());
    EXPECT_STREQ("datei.txt", target.m_strParameter);
    CDataAction copied(textAction);
    EXPECT_EQ(0, copied.m_binParameter.GetSize());
    textAction.m_bBinary = TRUE;
    CDataAction binaryCopy(textAction);
    ASSERT_EQ(1, binaryCopy.m_binParameter.GetSize());
    EXPECT_EQ(9, binaryCopy.m_binParameter[0]);
}

TEST(RecordImageTest, ActiveReminder)
{
    struct Case {
        BOOL bRemind;
        const char* action;
        BOOL bSeries;
        const char* status;
        BOOL bActive;
    };
    const Case cases[] = {
        {TRUE, "", FALSE, "", TRUE},        {FALSE, "OXMAIL", FALSE, "", TRUE}, {FALSE, "", FALSE, "", FALSE},
        {TRUE, "", FALSE, "C", TRUE},       {TRUE, "", FALSE, "D", FALSE},      {TRUE, "", TRUE, "D", TRUE},
        {TRUE, "", TRUE, "N", FALSE},       {FALSE, "", TRUE, "C", FALSE},
    };
    for (const Case& c : cases) {
        CDataAppointment a;
        a.m_bRemind = c.bRemind;
        a.m_action.m_strName = c.action;
        a.m_bSeries = c.bSeries;
        a.m_strStatus = c.status;
        EXPECT_EQ(c.bActive, a.HasActiveReminder())
            << "remind " << c.bRemind << ", action '" << c.action << "', series " << c.bSeries << ", status '"
            << c.status << "'";
    }
}

TEST(RecordImageTest, UserOfANewEntry)
{
    // Without an application object of the program the user stays empty.
    EXPECT_STREQ("", CDataAppointment().m_strUser);

    CTestDataApp app;
    app.m_users.m_strCurrentUser = "Anna";
    app.m_users.m_strFilterUser = "Bernd";
    // No settings object yet: the current user.
    EXPECT_STREQ("Anna", CDataAppointment().m_strUser);

    CAppSettings& settings = app.CreateSettings();
    struct Case {
        BOOL bMark;
        const char* filterUser;
        const char* expected;
    };
    const Case cases[] = {{FALSE, "Bernd", "Anna"}, {TRUE, "Bernd", "Bernd"}, {TRUE, "", "Anna"}};
    for (const Case& c : cases) {
        settings.m_bMarkFilterUser = c.bMark;
        app.m_users.m_strFilterUser = c.filterUser;
        EXPECT_STREQ(c.expected, CDataAppointment().m_strUser) << "mark " << c.bMark << ", filter '" << c.filterUser
                                                               << "'";
    }

    // Without a data controller the user stays empty.
    app.m_bWithUsers = FALSE;
    EXPECT_STREQ("", CDataAppointment().m_strUser);
}

TEST(RecordImageTest, DatesAreStatusThenDay)
{
    // The next occurrence closes the image: a 4-byte status, then the OLE day number as an IEEE
    // double (1 January 2000 12:00 is day 36526.5).
    struct Case {
        COleDateTime dt;
        const char* tail;
    };
    const Case cases[] = {
        {Date(2000, 1, 1, 12, 0, 0), "00000000" "00000000D0D5E140"},
        {Date(1899, 12, 30), "00000000" "0000000000000000"},
        {DateWithStatus(COleDateTime::null), "02000000" "0000000000000000"},
    };
    for (const Case& c : cases) {
        CDataAppointment a;
        a.m_dtNextOccurrence = c.dt;
        std::string image = TextOf(a);
        EXPECT_EQ(c.tail, image.substr(image.size() - 24)) << (LPCTSTR)c.dt.Format("%d.%m.%Y %H:%M");
        CDataAppointment back;
        ASSERT_EQ(0, back.FromText(image.c_str()));
        EXPECT_TRUE(back.m_dtNextOccurrence == c.dt);
    }
}

TEST(RecordImageTest, TextsOfEveryLengthForm)
{
    // The length prefix of a text: one byte below 0xFF, 0xFF + WORD below 0xFFFE, else
    // 0xFF 0xFFFF + DWORD. The record id is the first text of an appointment image (digit 4 on).
    struct Case {
        int nLength;
        const char* prefix;
    };
    const Case cases[] = {{0, "00"},          {254, "FE"},          {255, "FFFF00"},
                          {65533, "FFFDFF"},  {65534, "FFFFFFFEFF0000"}, {70000, "FFFFFF70110100"}};
    for (const Case& c : cases) {
        CDataAppointment a;
        a.m_strRecordId = CString('7', c.nLength);
        std::string image = TextOf(a);
        EXPECT_EQ(c.prefix, image.substr(4, strlen(c.prefix))) << c.nLength << " characters";
        std::string viaArchive = ArchiveImage([&](CArchive& ar) {
            ar << (WORD)1 << a.m_strRecordId;
        });
        EXPECT_EQ(viaArchive, image.substr(0, viaArchive.size())) << c.nLength << " characters";
        CDataAppointment back;
        ASSERT_EQ(0, back.FromText(image.c_str())) << c.nLength << " characters";
        EXPECT_TRUE(back == a) << c.nLength << " characters";
    }
}
