// The benchmark's own pieces: the bare loops must really copy and delete what the list names
// (or the yardstick would flatter the installer), and the probe must find the block it is for.
#include <gtest/gtest.h>

#include <windows.h>

#include "bench_clock.h"
#include "file_loops.h"
#include "probe.h"
#include "tests/support/test_support.h"

namespace {

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += "[" + item + "]";
    return text;
}

TEST(BenchFileList, FoldersComeOnceAndParentsFirst)
{
    struct Row {
        std::vector<std::string> files;
        std::vector<std::string> folders;
    } rows[] = {
        {{"SETUP.EXE", "SETUP.INF"}, {}},
        {{"d00\\f000.bin", "d00\\f001.bin", "d01\\f000.bin"}, {"d00", "d01"}},
        {{"a\\b\\c.bin", "a\\d.bin"}, {"a", "a\\b"}},
        {{"a/b/c.bin", "a\\b\\e.bin"}, {"a", "a/b", "a\\b"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Joined(row.folders), Joined(FoldersOf(row.files))) << "files " << Joined(row.files);
}

TEST(BenchFileList, ReadsCrLfAndLfLinesAndSkipsBlankOnes)
{
    TempFolder folder("bench-list");
    ASSERT_TRUE(WriteFileBytes(folder / "list.txt", "SETUP.EXE\r\n\r\nd00\\f000.bin\nlast.bin"));
    std::vector<std::string> files;
    ASSERT_TRUE(ReadFileList(folder / "list.txt", files));
    EXPECT_EQ("[SETUP.EXE][d00\\f000.bin][last.bin]", Joined(files));
    EXPECT_FALSE(ReadFileList(folder / "missing.txt", files));
}

TEST(BenchFileLoops, CopyAllMakesTheTreeAndDeleteAllRemovesIt)
{
    TempFolder folder("bench-loops");
    std::vector<std::string> files = {"top.bin", "d00\\a.bin", "d00\\deep\\b.bin", "d01\\c.bin"};
    for (const std::string& file : files)
        ASSERT_TRUE(WriteFileBytes(folder / ("source\\" + file), "bytes of " + file));
    std::string source = folder / "source\\";
    std::string target = folder / "target\\";

    LoopResult copied = CopyAll(source, target, files);
    EXPECT_EQ(0, copied.failures) << copied.firstFailed << " error " << copied.firstError;
    for (const std::string& file : files)
        EXPECT_EQ("bytes of " + file, ReadFileBytes(target + file)) << file;

    // The loop copies with "fail if exists", as the installer's first attempt does.
    LoopResult again = CopyAll(source, target, files);
    EXPECT_EQ(static_cast<int>(files.size()), again.failures);
    EXPECT_EQ(target + "top.bin", again.firstFailed);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), again.firstError);

    LoopResult deleted = DeleteAll(target, files);
    EXPECT_EQ(0, deleted.failures) << deleted.firstFailed << " error " << deleted.firstError;
    EXPECT_FALSE(FolderExists(target));
    EXPECT_TRUE(FileExists(source + "d00\\deep\\b.bin"));
}

TEST(BenchFileLoops, DeleteAllCountsWhatIsMissing)
{
    TempFolder folder("bench-loops-missing");
    ASSERT_TRUE(WriteFileBytes(folder / "target\\d00\\a.bin", "a"));
    LoopResult deleted = DeleteAll(folder / "target\\", {"d00\\a.bin", "d00\\gone.bin"});
    EXPECT_EQ(1, deleted.failures);
    EXPECT_EQ(folder / "target\\d00\\gone.bin", deleted.firstFailed);
    EXPECT_FALSE(FolderExists(folder / "target"));
}

TEST(BenchFileLoops, ReadInstallEntriesCountsMissingKeys)
{
    TempFolder folder("bench-entries");
    ASSERT_TRUE(WriteFileBytes(folder / "SETUP.INF", "[Install]\r\nTitle=T\r\n1=a.bin\r\n2=b.bin,b.bin\r\n3=\r\n"));
    EXPECT_EQ(0, ReadInstallEntries(folder / "SETUP.INF", 2).failures);
    LoopResult beyond = ReadInstallEntries(folder / "SETUP.INF", 4);
    EXPECT_EQ(2, beyond.failures);
    EXPECT_EQ("3", beyond.firstFailed);
}

ProbeSample Sample(double sent, double replied, bool answered = true)
{
    ProbeSample sample;
    sample.sent = sent;
    sample.replied = replied;
    sample.answered = answered;
    return sample;
}

TEST(BenchProbe, SummaryFramesTheLongestAnsweredBlock)
{
    struct Row {
        const char* name;
        std::vector<ProbeSample> samples;
        double longest, earliest, latest, end;
    } rows[] = {
        {"none", {}, 0, 0, 0, 0},
        {"middle", {Sample(1.0, 1.001), Sample(1.003, 1.004), Sample(1.006, 1.506), Sample(1.508, 1.509)},
         0.5, 1.004, 1.006, 1.506},
        {"first", {Sample(2.0, 2.4), Sample(2.41, 2.42)}, 0.4, 2.0, 2.0, 2.4},
        {"unanswered ignored", {Sample(3.0, 3.001), Sample(3.01, 9.0, false), Sample(9.1, 9.2)}, 0.1, 9.0, 9.1, 9.2},
    };
    for (const Row& row : rows) {
        ProbeSummary summary = Summarize(row.samples);
        EXPECT_EQ(static_cast<int>(row.samples.size()), summary.count) << row.name;
        EXPECT_NEAR(row.longest, summary.longestWait, 1e-9) << row.name;
        EXPECT_NEAR(row.earliest, summary.blockStartEarliest, 1e-9) << row.name;
        EXPECT_NEAR(row.latest, summary.blockStartLatest, 1e-9) << row.name;
        EXPECT_NEAR(row.end, summary.blockEnd, 1e-9) << row.name;
    }
}

// The removal answers now and then, so its start is the first block after the dialog appeared,
// not the longest one; earlier blocks, short waits and unanswered sends do not count.
TEST(BenchProbe, FirstBlockIsTheFirstLongEnoughAfterTheGivenTime)
{
    std::vector<ProbeSample> samples = {Sample(0.5, 0.6), Sample(1.0, 1.002), Sample(1.004, 1.005, false),
                                        Sample(1.006, 1.056), Sample(1.058, 1.059), Sample(1.06, 1.26)};
    ProbeSummary first = FirstBlock(samples, 0.9, 0.005);
    EXPECT_EQ(6, first.count);
    EXPECT_NEAR(0.2, first.longestWait, 1e-9);
    EXPECT_NEAR(1.005, first.blockStartEarliest, 1e-9);
    EXPECT_NEAR(1.006, first.blockStartLatest, 1e-9);
    EXPECT_NEAR(1.056, first.blockEnd, 1e-9);
    EXPECT_EQ(0, FirstBlock(samples, 1.1, 0.005).blockEnd);
}

// A window on a thread of its own that, told to, holds its thread until the test lets go.
struct BusyWindow {
    HWND window = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    volatile double handlerStarted = 0;
};

LRESULT CALLBACK BusyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        BusyWindow* busy = reinterpret_cast<BusyWindow*>(lParam);
        busy->handlerStarted = NowSeconds();
        WaitForSingleObject(busy->release, 10000);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI BusyThread(void* parameter)
{
    BusyWindow* busy = static_cast<BusyWindow*>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BusyProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BenchBusyWindow";
    RegisterClassA(&windowClass);
    busy->window = CreateWindowA("BenchBusyWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    SetEvent(busy->ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

TEST(BenchProbe, FindsTheBlockOfABusyThread)
{
    BusyWindow busy;
    HANDLE thread = CreateThread(nullptr, 0, BusyThread, &busy, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(busy.ready, 5000));
    ASSERT_NE(nullptr, busy.window);

    ResponsivenessProbe probe;
    ASSERT_TRUE(probe.Start(busy.window, 2));
    Sleep(50);
    PostMessageA(busy.window, WM_APP, 0, reinterpret_cast<LPARAM>(&busy));
    Sleep(300);
    double released = NowSeconds();
    SetEvent(busy.release);
    Sleep(50);
    probe.Stop();
    ProbeSummary summary = Summarize(probe.samples());

    // The hold is far longer than any other pause of an idle thread, so it is the longest
    // block: it began at the handler's start and ended no earlier than the release.
    EXPECT_GT(summary.count, 2);
    EXPECT_LE(summary.blockStartEarliest, busy.handlerStarted);
    EXPECT_GE(summary.blockStartLatest, busy.handlerStarted - 0.005);  // the thread stops answering as it takes the message
    EXPECT_GE(summary.blockEnd, released);

    PostMessageA(busy.window, WM_QUIT, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    CloseHandle(busy.ready);
    CloseHandle(busy.release);
}

}  // namespace
