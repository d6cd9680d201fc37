// Minidumps under Wine: written on the calling thread with exception information (which names
// the thread that created the symbol reader) or on the helper thread without it; an existing file
// replaced; a file that cannot be created; the entry point's temporary name, also when writing
// fails, and a name too long for the caller's buffer; and the library's debug sink.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ChannelLines.h"
#include "DBGHelpEntryPoints.h"
#include "MiniDumpFile.h"
#include "SymTestKit.h"
#include "clsDBGHELP.h"
#include "clsDebugOutput_qiv_debug.h"

namespace {

const uint32_t kExceptionStream = 6, kThreadListStream = 3, kModuleListStream = 4;

struct DumpJob {
    clsDBGHELP* help;
    std::string path;
    EXCEPTION_POINTERS* exception;
    long result = 1;
};

DWORD WINAPI WriteOnAnotherThread(void* param)
{
    DumpJob* job = static_cast<DumpJob*>(param);
    job->result = job->help->WriteMiniDump(job->path.c_str(), MiniDumpNormal, job->exception);
    return 0;
}

bool HasLineContaining(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(WriteMiniDump, WithAndWithoutExceptionInformation)
{
    oxtest::TempDir dir("dump");
    clsDBGHELP help;
    ASSERT_TRUE(help.Init(0));
    // The exception of this thread, written by another one: the dump names the creator's thread.
    CONTEXT context;
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = 0xE0001234;
    record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
    EXCEPTION_POINTERS pointers = {&record, &context};
    struct Case {
        const char* file;
        EXCEPTION_POINTERS* exception;
    };
    const Case cases[] = {{"with.dmp", &pointers}, {"without.dmp", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DumpJob job = {&help, dir.File(c.file), c.exception};
        HANDLE thread = CreateThread(nullptr, 0, &WriteOnAnotherThread, &job, 0, nullptr);
        ASSERT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(thread, 120000));
        CloseHandle(thread);
        EXPECT_EQ(S_OK, job.result);
        MiniDumpFile dump;
        ASSERT_TRUE(dump.Load(job.path));
        EXPECT_TRUE(dump.HasStream(kThreadListStream) && dump.HasStream(kModuleListStream));
        const std::vector<uint32_t> threads = dump.ThreadIds();
        EXPECT_NE(threads.end(), std::find(threads.begin(), threads.end(), GetCurrentThreadId()));
        bool programListed = false;
        for (const MiniDumpFile::Module& m : dump.Modules())
            programListed = programListed || m.base == reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
        EXPECT_TRUE(programListed);
        MiniDumpFile::Exception exception;
        EXPECT_EQ(c.exception != nullptr, dump.GetException(exception));
        if (c.exception) {
            EXPECT_EQ(GetCurrentThreadId(), exception.threadId) << "the thread that created the reader";
            EXPECT_EQ(0xE0001234u, exception.code);
            EXPECT_EQ(context.Rip, exception.address);
        }
    }
}

TEST(WriteMiniDump, AnExistingFileIsReplacedAndAMissingFolderIsReported)
{
    oxtest::TempDir dir("dump");
    clsDBGHELP help;
    ASSERT_TRUE(help.Init(0));
    supporttest::TakeDebugLines();
    const std::string existing = dir.File("old.dmp");
    ASSERT_TRUE(oxtest::WriteFileText(existing, std::string(100000, 'x')));
    EXPECT_EQ(S_OK, help.WriteMiniDump(existing.c_str(), MiniDumpNormal, nullptr));
    MiniDumpFile dump;
    EXPECT_TRUE(dump.Load(existing));
    EXPECT_EQ(std::string::npos, oxtest::ReadFileText(existing).find(std::string(1000, 'x')));

    const std::string missing = dir.File("no such folder\\x.dmp");
    EXPECT_EQ(E_UNEXPECTED, help.WriteMiniDump(missing.c_str(), MiniDumpNormal, nullptr));
    EXPECT_TRUE(HasLineContaining(supporttest::TakeDebugLines(), "DBGHELP::WriteMiniDump(): error creating dump file: "));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(missing.c_str()));
}

TEST(DBGHelpWriteMiniDump, TemporaryNamesAndNamesTooLongForTheBuffer)
{
    oxtest::TempDir dir("dumptmp");
    symtest::EnvScope env;
    env.Set("TMP", dir.Path().c_str());
    env.Set("TEMP", dir.Path().c_str());

    // A written dump: the reserved name comes back in the buffer.
    clsDBGHELP* help = DBGHelpCreate();
    ASSERT_NE(nullptr, help);
    char path[260] = "";
    EXPECT_TRUE(DBGHelpWriteMiniDump(help, path, sizeof path, nullptr, nullptr));
    EXPECT_EQ(0, lstrcmpiA(path, dir.File("Mem.dmp").c_str())) << path;
    MiniDumpFile dump;
    EXPECT_TRUE(dump.Load(path));
    // The next one takes the first numbered name.
    char second[260] = "";
    EXPECT_TRUE(DBGHelpWriteMiniDump(help, second, sizeof second, nullptr, nullptr));
    EXPECT_EQ(0, lstrcmpiA(second, dir.File("Mem0001.dmp").c_str())) << second;
    // A name that does not fit the buffer: FALSE, and the reservation is given back.
    char small[12] = "";
    EXPECT_FALSE(DBGHelpWriteMiniDump(help, small, sizeof small, nullptr, nullptr));
    EXPECT_STREQ("", small);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("Mem0002.dmp").c_str()));
    // A path given by the caller is used as it is.
    std::string own = dir.File("own.dmp");
    char given[260];
    strcpy(given, own.c_str());
    EXPECT_TRUE(DBGHelpWriteMiniDump(help, given, sizeof given, nullptr, nullptr));
    EXPECT_STREQ(own.c_str(), given);
    EXPECT_TRUE(dump.Load(own));
    EXPECT_FALSE(DBGHelpWriteMiniDump(help, nullptr, 260, nullptr, nullptr));
    DBGHelpRelease(help);

    // Writing fails (a debug-help library without the dump writer): the name stays in the buffer.
    clsDBGHELP failing;
    failing.Attach(LoadLibraryA(symtest::Dll("symfaildbghelp.dll").c_str()));
    ASSERT_NE(nullptr, failing.m_module);
    char failed[260] = "";
    EXPECT_FALSE(DBGHelpWriteMiniDump(&failing, failed, sizeof failed, nullptr, nullptr));
    EXPECT_EQ(0, lstrcmpiA(failed, dir.File("Mem0002.dmp").c_str())) << failed;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(failed)) << "the file of a failed dump stays";
}

TEST(clsDebugOutput_qiv_debug, LinesGoToTheChannelWithTheTimedPrefix)
{
    supporttest::TakeDebugLines();
    g_DebugOutputQivDebug.Printf("trace line %d of %s", 7, "x");
    const std::vector<std::string> lines = supporttest::TakeDebugLines();
    ASSERT_EQ(1u, lines.size());
    const std::string& line = lines[0];
    // "mm:ss.mmm<indentation> tid text"
    EXPECT_EQ(':', line[2]);
    EXPECT_EQ('.', line[5]);
    EXPECT_EQ(line.size() - 17, line.find("trace line 7 of x")) << line;
    char thread[16];
    snprintf(thread, sizeof thread, " %08x ", (unsigned)GetCurrentThreadId());
    EXPECT_NE(std::string::npos, line.find(thread)) << line;
}
