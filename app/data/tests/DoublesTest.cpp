// The doubles that stand in for the application object, the document, the main frame and the
// dialogs: the application is found through the class library, scripted dialogs answer in order
// and report calls the script did not expect, hints are recorded with their record ids, and the
// busy guard raises and lowers the frame's counter.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "CFrameBusyGuard.h"
#include "CTestDataApp.h"

TEST(DoublesTest, ApplicationIsFoundThroughTheClassLibrary)
{
    EXPECT_EQ(nullptr, CDataApplication::Get());
    {
        CTestDataApp app;
        EXPECT_EQ(static_cast<CDataApplication*>(&app), CDataApplication::Get());
        CString strPath = app.GetRegistryPath();
        EXPECT_EQ(0, strPath.Find("Software\\OxDataTest-")) << (LPCTSTR)strPath;
        EXPECT_NE(-1, strPath.Find("\\OX Datentest")) << (LPCTSTR)strPath;
        CTestDataApp second;
        EXPECT_NE(app.GetRegistryPath(), second.GetRegistryPath()) << "every test application has a key of its own";
    }
    EXPECT_EQ(nullptr, CDataApplication::Get());
}

TEST(DoublesTest, ScriptedDialogsAnswerInOrder)
{
    CScriptedDialogs dialogs;
    CScriptedDialogs::Step edit{CScriptedDialogs::appointment, IDOK};
    edit.editRecord = [](CDataAppointment& a) { a.m_strSubject = "neu"; };
    edit.users = {"Anna", "Bernd"};
    dialogs.Expect(edit);
    dialogs.Expect({CScriptedDialogs::todo, CDataDialogs::kDeleteButton});
    CScriptedDialogs::Step delegate{CScriptedDialogs::delegate, IDOK};
    delegate.strDelegateUser = "Carl";
    delegate.bMove = TRUE;
    dialogs.Expect(delegate);
    CScriptedDialogs::Step filter{CScriptedDialogs::appointmentFilter, IDCANCEL};
    filter.editAppointmentFilter = [](CAppointmentFilterChoice& c) { c.bSubject = TRUE; };
    dialogs.Expect(filter);

    CDataAppointment record;
    record.m_strSubject = "alt";
    CStringList users;
    EXPECT_EQ(IDOK, dialogs.EditAppointment(record, TRUE, users));
    EXPECT_STREQ("neu", record.m_strSubject);
    ASSERT_EQ(2, users.GetCount());
    EXPECT_STREQ("Bernd", users.GetTail());
    EXPECT_EQ(CDataDialogs::kDeleteButton, dialogs.EditTodo(record, FALSE, users));
    CString strUser;
    BOOL bMove = FALSE;
    EXPECT_EQ(IDOK, dialogs.Delegate(strUser, bMove));
    EXPECT_STREQ("Carl", strUser);
    EXPECT_TRUE(bMove);
    CAppointmentFilterChoice choice;
    EXPECT_EQ(IDCANCEL, dialogs.FilterAppointments(choice));
    EXPECT_FALSE(choice.bSubject) << "a cancelled dialog hands nothing back";
    EXPECT_EQ(0u, dialogs.Pending());
    ASSERT_EQ(4u, dialogs.m_calls.size());
    EXPECT_EQ("alt", dialogs.m_calls[0].strSubject);
    EXPECT_TRUE(dialogs.m_calls[0].bNew);

    // A dialog the script does not expect fails the test and changes nothing.
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(IDCANCEL, dialogs.EditAppointment(record, FALSE, users)), "without a scripted");
    dialogs.Expect({CScriptedDialogs::todoFilter, IDOK});
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(IDCANCEL, dialogs.EditTodo(record, FALSE, users)), "where the script expects");
}

TEST(DoublesTest, DocumentAndMainFrame)
{
    CHintRecorder document;
    CStringList ids;
    ids.AddTail("0000000001");
    ids.AddTail("0000000002");
    document.UpdateAllViews(NULL, CDataDocument::hintAppointmentDeleted, &ids);
    document.UpdateAllViews(NULL, CDataDocument::hintReloaded);
    EXPECT_EQ((std::vector<LPARAM>{101, 107}), document.Hints());
    EXPECT_EQ((std::vector<std::string>{"0000000001", "0000000002"}), document.m_notices[0].recordIds);
    EXPECT_FALSE(document.m_notices[1].bHasObject);

    CTestMainFrame frame(true);
    ASSERT_NE((HWND)NULL, frame.GetFrameWindow());
    {
        CFrameBusyGuard outer(&frame);
        EXPECT_EQ(1, frame.m_nBusy);
        CFrameBusyGuard inner(&frame);
        EXPECT_EQ(2, frame.m_nBusy);
    }
    EXPECT_EQ(0, frame.m_nBusy);
    CFrameBusyGuard none(NULL);

    PostMessageA(frame.GetFrameWindow(), CDataMainFrame::msgDue, 0, 1234567890);
    frame.PumpMessages();
    ASSERT_EQ(1u, frame.m_messages.size());
    EXPECT_EQ((UINT)CDataMainFrame::msgDue, frame.m_messages[0].nMsg);
    EXPECT_EQ(1234567890, frame.m_messages[0].lParam);
}
