// The message routines over the English string table: shared buffers, bounded formatting,
// texts cut at the caller's capacity, and message boxes seen through the program's seam.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/messages.h"
#include "locale_checks.h"
#include "res/resource.h"

namespace {

std::string English(int id, const std::vector<std::string>& arguments = {})
{
    return ExpectedText(id, MessageLanguage::English, arguments);
}

class MessageRoutines : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 1252u);
        UseOwnResources();
    }
};

TEST_F(MessageRoutines, FormatMessageTextOverwritesItsPreviousResult)
{
    const char* first = FormatMessageText(IDS_WIZARD_CAPTION, "Puzzle");
    EXPECT_EQ(std::string(first), English(IDS_WIZARD_CAPTION, {"Puzzle"}));
    const char* second = FormatMessageText(IDS_UNINSTALL_CAPTION, "Puzzle");
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::string(first), English(IDS_UNINSTALL_CAPTION, {"Puzzle"}));
}

TEST_F(MessageRoutines, FormattingLeavesTheLoadedMessageAlone)
{
    // The overwrite question takes its caption from LoadMessage and its text from
    // FormatMessageInto; neither may disturb the other.
    const char* caption = LoadMessage(IDS_OVERWRITE_CAPTION);
    char text[kMessageCapacity];
    ASSERT_TRUE(FormatMessageInto(text, sizeof text, IDS_OVERWRITE_QUESTION, "C:\\Games\\a.dat",
                                  "1/2/2026 10:00  a.dat", "1/1/2026 09:00  A.DAT"));
    FormatMessageText(IDS_COPY_FAILED, "C:\\b.dat");
    EXPECT_EQ(std::string(caption), English(IDS_OVERWRITE_CAPTION));
    EXPECT_EQ(std::string(text), English(IDS_OVERWRITE_QUESTION, {"C:\\Games\\a.dat", "1/2/2026 10:00  a.dat",
                                                                  "1/1/2026 09:00  A.DAT"}));
}

TEST_F(MessageRoutines, FormatMessageIntoRefusesATooSmallDestination)
{
    const std::string expected = English(IDS_COPY_FAILED, {"C:\\Games\\a.dat"});
    struct Row {
        size_t capacity;
        bool fits;
    } rows[] = {{expected.size() + 1, true}, {expected.size(), false}, {8, false}, {1, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE("capacity " + std::to_string(row.capacity));
        char buffer[64];
        memset(buffer, 'x', sizeof buffer);
        buffer[sizeof buffer - 1] = '\0';
        const std::string before(buffer);
        EXPECT_EQ(FormatMessageInto(buffer, row.capacity, IDS_COPY_FAILED, "C:\\Games\\a.dat"), row.fits);
        EXPECT_EQ(std::string(buffer), row.fits ? expected : before);
        EXPECT_EQ(buffer[row.capacity], 'x') << "wrote past the capacity";
    }
}

TEST_F(MessageRoutines, IdWithoutTextGivesQuestionMarkEverywhere)
{
    char buffer[16];
    EXPECT_STREQ(FormatMessageText(3, "ignored"), "?");
    ASSERT_TRUE(FormatMessageInto(buffer, sizeof buffer, 4, "ignored"));
    EXPECT_STREQ(buffer, "?");
    EXPECT_STREQ(LoadMessageInto(buffer, sizeof buffer, 900), "?");
}

TEST_F(MessageRoutines, LoadMessageIntoCutsAtTheCapacity)
{
    char buffer[12];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(std::string(LoadMessageInto(buffer, 10, IDS_NO_INFORMATION)), English(IDS_NO_INFORMATION).substr(0, 9));
    EXPECT_EQ(buffer[10], 'x');
}

std::vector<MessageBoxRequest> shownBoxes;
std::vector<std::string> shownTexts;

int RecordBox(const MessageBoxRequest& request)
{
    shownBoxes.push_back(request);
    shownTexts.push_back(request.text != nullptr ? request.text : "<none>");
    return IDCANCEL;
}

TEST_F(MessageRoutines, ShowMessageShowsTheLoadedTextWithCallersCaptionStyleAndOwner)
{
    shownBoxes.clear();
    shownTexts.clear();
    SetMessageBoxHook(RecordBox);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int answer = ShowMessage(owner, IDS_ROOT_FOLDER, nullptr, MB_ICONERROR);
    ShowMessage(nullptr, IDS_INSTALL_COMPLETED, "Puzzle", MB_ICONINFORMATION);
    ShowMessage(nullptr, 3, nullptr, MB_ICONERROR);
    SetMessageBoxHook(nullptr);
    DestroyWindow(owner);

    EXPECT_EQ(answer, IDCANCEL);
    ASSERT_EQ(shownBoxes.size(), 3u);
    EXPECT_EQ(shownTexts[0], English(IDS_ROOT_FOLDER));
    EXPECT_EQ(shownBoxes[0].owner, owner);
    EXPECT_EQ(shownBoxes[0].caption, nullptr);
    EXPECT_EQ(shownBoxes[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(shownBoxes[0].codePage, static_cast<UINT>(CP_ACP));
    EXPECT_EQ(shownTexts[1], English(IDS_INSTALL_COMPLETED));
    EXPECT_EQ(shownBoxes[1].owner, nullptr);
    EXPECT_STREQ(shownBoxes[1].caption, "Puzzle");
    EXPECT_EQ(shownBoxes[1].style, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(shownTexts[2], "?");
}

}  // namespace
