// qm54 report, run as the built tool: the text pages against the pages written by hand, the PDF
// read back with pdftotext, and the failures.
#include "page_lines.h"
#include "process.h"
#include "tool_process.h"
#include "unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using qm54test::RunTool;

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ToolReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder_.Path().empty());
        ASSERT_EQ(RunTool({"new", File("SITE.Q54")}).status, 0);
    }
    std::string File(const std::string& name) const { return folder_.File(name); }
    // The default programming's pages as written by hand, headed by SITE.Q54.
    static std::string ExpectedPages()
    {
        std::string pages = Read(std::string(QM54_FIXTURES) + "/report_new_vhf.txt");
        pages.replace(pages.find("<none>"), 6, "SITE.Q54");
        return pages;
    }

    qm54::test::TempFolder folder_{"qm54-report"};
};

TEST_F(ToolReportTest, TextHoldsEveryDrawnLineOfThePagesWithTheFilesName)
{
    const auto run = RunTool({"report", File("SITE.Q54"), "--text", "--date", "2026-03-07"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ExpectedPages());
}

TEST_F(ToolReportTest, PdfHoldsTheThreePagesAsSearchableText)
{
    for (const char* paper : {"a4", "letter"}) {
        const std::string pdf = File(std::string(paper) + ".pdf");
        const auto run = RunTool({"report", File("SITE.Q54"), "--pdf", pdf, "--paper", paper, "--date", "2026-03-07"});
        ASSERT_EQ(run.status, 0) << run.err;
        if (!std::filesystem::exists("/usr/bin/pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        qm54e2e::Child text({"/usr/bin/pdftotext", "-layout", pdf, "-"}, false);
        ASSERT_EQ(text.Wait(30000), 0);
        EXPECT_EQ(qm54::test::PageLinesOf(text.Out()), qm54::test::PageLinesOf(ExpectedPages())) << paper;
    }
}

TEST_F(ToolReportTest, WithoutAnOutputThePdfGoesBesideTheFile)
{
    const auto run = RunTool({"report", File("SITE.Q54")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read(File("SITE.pdf")).rfind("%PDF-", 0), 0u);
    EXPECT_TRUE(run.out.empty());
}

TEST_F(ToolReportTest, FailuresAndUsageErrors)
{
    const std::string locked = File("locked");
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    qm54::test::RunUnprivileged({folder_.Path().string()}, [&] {
        const auto run = RunTool({"report", File("SITE.Q54"), "--pdf", locked + "/out.pdf"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(locked + "/out.pdf"));
    });
    const auto noFolder = RunTool({"report", File("SITE.Q54"), "--pdf", File("none/out.pdf")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("No such file or directory"), std::string::npos) << noFolder.err;

    EXPECT_EQ(RunTool({"report", File("missing.Q54"), "--text"}).status, 1);
    struct Usage {
        std::vector<std::string> Args;
    };
    for (const Usage& u : {Usage{{"report", File("SITE.Q54"), "--text", "--pdf", File("x.pdf")}},
                           Usage{{"report", File("SITE.Q54"), "--text", "--paper", "legal"}},
                           Usage{{"report", File("SITE.Q54"), "--text", "--date", "2026-02-30"}},
                           Usage{{"report", File("SITE.Q54"), "--pdf", File("SITE.Q54")}},
                           Usage{{"report", "--text"}}}) {
        const auto run = RunTool(u.Args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(RunTool({"report", File("SITE.Q54"), "--text"}).status, 0);  // FILE was left whole
}

}  // namespace
