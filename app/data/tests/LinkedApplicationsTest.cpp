// The data controller's linked applications: the list from the registry below "Apps" (a
// registry fixture of the test's own key), each application's description, users (from a users
// directory or from the "Users" subkeys) and actions, the look-up of applications and actions,
// and the program's own application that is always last.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "CLinkedApplication.h"
#include "CRegistryKey.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

class LinkedApplicationsTest : public ControllerTest {
protected:
    // "<registry path>\Apps\<path>" exists (with the subkeys on the way).
    void MakeKey(const std::string& path)
    {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, AppsKey(path).c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                                                 NULL, &hKey, NULL));
        RegCloseKey(hKey);
    }
    void SetString(const std::string& path, const char* name, const char* text)
    {
        ASSERT_TRUE(CRegistryKey(HKEY_CURRENT_USER).WriteString(AppsKey(path).c_str(), name, text));
    }
    void SetDword(const std::string& path, const char* name, DWORD value)
    {
        ASSERT_TRUE(CRegistryKey(HKEY_CURRENT_USER).WriteDword(AppsKey(path).c_str(), name, value));
    }
    std::string AppsKey(const std::string& path)
    {
        return std::string((LPCTSTR)m_app.GetRegistryPath()) + "\\Apps" + (path.empty() ? "" : "\\" + path);
    }
    // An empty file in the data directory's folder "users".
    void MakeUserFile(const std::string& name)
    {
        CreateDirectoryA(File("users").c_str(), NULL);
        std::ofstream(File("users\\" + name)).put('x');
    }

    // The ids of the controller's applications, in list order.
    std::vector<std::string> ApplicationIds()
    {
        std::vector<std::string> ids;
        CLinkedApplicationList& list = m_controller->GetLinkedApplications();
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
            ids.push_back((LPCTSTR)list.GetNext(pos)->m_strId);
        return ids;
    }

    static std::vector<std::string> Names(const CStringList& list)
    {
        std::vector<std::string> names;
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
            names.push_back((LPCTSTR)list.GetNext(pos));
        return names;
    }

    static std::vector<std::string> ActionIds(const CLinkedApplication& app)
    {
        std::vector<std::string> ids;
        for (POSITION pos = app.m_actions.GetHeadPosition(); pos != NULL;)
            ids.push_back((LPCTSTR)app.m_actions.GetNext(pos)->m_strId);
        return ids;
    }

    // Two applications: "Akten" with a users directory and two actions, "Buero" with users in
    // the registry and no actions.
    void WriteFixture()
    {
        SetString("Akten", "Title", "Aktenverwaltung");
        SetString("Akten", "ProgID", "Akten.Application");
        SetString("Akten", "ClassName", "AktenMainWnd");
        SetString("Akten", "RbiDir", File("users").c_str()); // no backslash at the end
        MakeUserFile("user1.rbi");
        MakeUserFile("averylongname.rbi");
        MakeUserFile("notes.txt");
        // A user in the registry does not count while there is a users directory.
        MakeKey("Akten\\Users\\Ignored");
        SetString("Akten\\Actions\\ANRUF", "Title", "Anrufen");
        SetDword("Akten\\Actions\\ANRUF", "CtlPicID", 412);
        SetDword("Akten\\Actions\\ANRUF", "QuestAppData", 1);
        SetString("Akten\\Actions\\ANRUF", "AppDataType", "BIN");
        SetString("Akten\\Actions\\ANRUF\\Field", "Label", "Nummer:");
        SetDword("Akten\\Actions\\ANRUF\\Field", "UseSelectButton", 1);
        SetString("Akten\\Actions\\ANRUF\\Field", "SelectFilter", "Texte (*.txt) | *.txt||");
        // Only a title: every flag off; a select button without a label does not count.
        SetString("Akten\\Actions\\BRIEF", "Title", "Brief");
        SetDword("Akten\\Actions\\BRIEF", "QuestAppData", 2);
        SetString("Akten\\Actions\\BRIEF", "AppDataType", "TXT");
        SetDword("Akten\\Actions\\BRIEF\\Field", "UseSelectButton", 1);

        SetString("Buero", "Title", "Buero");
        MakeKey("Buero\\Users\\Carla");
        MakeKey("Buero\\Users\\Dora");
        MakeKey("Buero\\Users\\Dora\\Deeper"); // not a user: only direct subkeys are
    }
};

// The entry dialogs read the linked applications' users again: a user added after the start
// (here to a program without a current user, which only then has any user information) is there
// for the next new entry.
TEST_F(LinkedApplicationsTest, UsersAddedAfterTheStartAreSeenByTheEntryDialogs)
{
    SetString("Buero", "Title", "Buero");
    MakeKey("Buero\\Users");
    m_controller = std::make_unique<CDataController>(m_strPath.c_str(), "", &m_timers, &m_timings);
    CDataController& c = *m_controller;
    EXPECT_FALSE(c.NewAppointment(-1, -1));
    EXPECT_EQ((std::vector<std::string>{ResourceText(IDS_NO_USER_INFORMATION)}), BoxTexts());
    EXPECT_TRUE(m_app.m_dialogs.m_calls.empty());

    MakeKey("Buero\\Users\\Carla");
    m_log.Clear();
    CScriptedDialogs::Step cancel;
    cancel.kind = CScriptedDialogs::appointment;
    cancel.nResult = IDCANCEL;
    m_app.m_dialogs.Expect(cancel);
    EXPECT_FALSE(c.NewAppointment(-1, -1));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(1u, m_app.m_dialogs.m_calls.size()) << "the dialog opened";
    CStringList users;
    c.GetLinkedUsers(users);
    EXPECT_EQ((std::vector<std::string>{"Carla"}), Names(users));
}

TEST_F(LinkedApplicationsTest, WithoutAppsOnlyTheProgramsOwnApplication)
{
    CDataController& c = Start();
    ASSERT_EQ((std::vector<std::string>{"OXAPP"}), ApplicationIds());
    CLinkedApplication* pOwn = c.FindLinkedApplication("OXAPP");
    ASSERT_NE(nullptr, pOwn);
    EXPECT_EQ(ResourceText(IDS_PROGRAM_NAME), (LPCTSTR)pOwn->m_strTitle);
    EXPECT_EQ((std::vector<std::string>{"OXMAIL", "OXSHEX"}), ActionIds(*pOwn));
    for (const char* id : {"OXMAIL", "OXSHEX"}) {
        CLinkedAction* pAction = pOwn->FindAction(id);
        ASSERT_NE(nullptr, pAction) << id;
        EXPECT_EQ(pOwn, pAction->m_pApplication);
    }
    EXPECT_FALSE(c.LoadLinkedUsers());
    CStringList users;
    c.GetLinkedUsers(users);
    EXPECT_TRUE(users.IsEmpty());
    // An "Apps" key without subkeys gives the same.
    MakeKey("");
    c.LoadLinkedApplications();
    EXPECT_EQ((std::vector<std::string>{"OXAPP"}), ApplicationIds());
}

TEST_F(LinkedApplicationsTest, ApplicationsUsersAndActionsFromTheRegistry)
{
    WriteFixture();
    CDataController& c = Start();
    ASSERT_EQ((std::vector<std::string>{"Akten", "Buero", "OXAPP"}), ApplicationIds());

    CLinkedApplication* pAkten = c.FindLinkedApplication("Akten");
    ASSERT_NE(nullptr, pAkten);
    EXPECT_EQ("Aktenverwaltung", std::string(pAkten->m_strTitle));
    EXPECT_EQ("Akten.Application", std::string(pAkten->m_strProgId));
    EXPECT_EQ("AktenMainWnd", std::string(pAkten->m_strWindowClass));
    EXPECT_EQ((std::vector<std::string>{"averylon", "user1"}), [&] {
        std::vector<std::string> users = Names(pAkten->m_users);
        std::sort(users.begin(), users.end());
        return users;
    }());

    const struct ActionCase {
        const char* id;
        const char* title;
        int picture;
        int ask, binary;
        const char* label;
        int select;
        const char* filter;
    } actions[] = {
        {"ANRUF", "Anrufen", 412, 1, 1, "Nummer:", 1, "Texte (*.txt) | *.txt||"},
        {"BRIEF", "Brief", 0, 0, 0, "", 0, ""},
    };
    EXPECT_EQ((std::vector<std::string>{"ANRUF", "BRIEF"}), ActionIds(*pAkten));
    for (const ActionCase& k : actions) {
        SCOPED_TRACE(k.id);
        CLinkedAction* pAction = pAkten->FindAction(k.id);
        ASSERT_NE(nullptr, pAction);
        EXPECT_EQ(k.title, std::string(pAction->m_strTitle));
        EXPECT_EQ(k.picture, pAction->m_nPictureId);
        EXPECT_EQ(k.ask, pAction->m_bAskForData);
        EXPECT_EQ(k.binary, pAction->m_bBinaryData);
        EXPECT_EQ(k.label, std::string(pAction->m_strParameterLabel));
        EXPECT_EQ(k.select, pAction->m_bSelectButton);
        EXPECT_EQ(k.filter, std::string(pAction->m_strSelectFilter));
        EXPECT_EQ(pAkten, pAction->m_pApplication);
    }
    // Ids compare exactly; another application's action is not this one's.
    EXPECT_EQ(nullptr, pAkten->FindAction("anruf"));
    EXPECT_EQ(nullptr, pAkten->FindAction("OXMAIL"));
    EXPECT_EQ(nullptr, c.FindLinkedApplication("akten"));

    CLinkedApplication* pBuero = c.FindLinkedApplication("Buero");
    ASSERT_NE(nullptr, pBuero);
    EXPECT_EQ((std::vector<std::string>{"Carla", "Dora"}), Names(pBuero->m_users));
    EXPECT_TRUE(ActionIds(*pBuero).empty());

    EXPECT_TRUE(c.LoadLinkedUsers());
    CStringList users;
    c.GetLinkedUsers(users);
    EXPECT_EQ(4, users.GetCount());
    EXPECT_NE(nullptr, users.Find("Carla"));
    EXPECT_NE(nullptr, users.Find("averylon"));

    // Loading again replaces the list rather than adding to it.
    c.LoadLinkedApplications();
    EXPECT_EQ((std::vector<std::string>{"Akten", "Buero", "OXAPP"}), ApplicationIds());
    EXPECT_EQ(2, c.FindLinkedApplication("Akten")->m_actions.GetCount());
}

TEST_F(LinkedApplicationsTest, UsersGoneAfterReload)
{
    WriteFixture();
    CDataController& c = Start();
    ASSERT_TRUE(c.LoadLinkedUsers());
    // The users directory emptied and the registry users removed: no application has users.
    for (const char* name : {"user1.rbi", "averylongname.rbi"})
        ASSERT_TRUE(DeleteFileA(File(std::string("users\\") + name).c_str()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, AppsKey("Buero\\Users\\Dora\\Deeper").c_str()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, AppsKey("Buero\\Users\\Dora").c_str()));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, AppsKey("Buero\\Users\\Carla").c_str()));
    EXPECT_FALSE(c.LoadLinkedUsers());
    CStringList users;
    c.GetLinkedUsers(users);
    EXPECT_TRUE(users.IsEmpty());
}

} // namespace
