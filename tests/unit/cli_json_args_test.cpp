#include "cli/cli.h"
#include "cli/cli_prompter.h"
#include "cli/json.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace qm54::cli {
namespace {

TEST(JsonQuote, EscapesWhatJsonForbidsAndKeepsValidUtf8)
{
    struct Case { std::string text; std::string quoted; };
    const Case cases[] = {
        {"KTD-4150", "\"KTD-4150\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string("\0\x1f\x7f", 3), "\"\\u0000\\u001f\\u007f\""},
        {"\r\n", "\"\\u000d\\u000a\""},
        {"caf\xc3\xa9", "\"caf\xc3\xa9\""},
        {"\xe2\x82\xac", "\"\xe2\x82\xac\""},
        // Image text bytes that are not UTF-8: a lone lead byte, a stray continuation byte,
        // an overlong form and a surrogate each become \u00XX escapes.
        {"\xc3", "\"\\u00c3\""},
        {"\x80x", "\"\\u0080x\""},
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},
    };
    for (const Case& c : cases) EXPECT_EQ(JsonQuote(c.text), c.quoted);
}

TEST(Json, KeepsMemberOrderAndWritesFlatArraysOnOneLine)
{
    Json root = Json::Object();
    root.Set("Zeta", 1).Set("Alpha", "x").Set("Ok", Json::Bool(true));
    root.Set("List", Json::Array().Push(Json::Int(-1)).Push(Json::Number("161.5")));
    root.Set("Rows", Json::Array().Push(Json::Object().Set("N", 1)));
    root.Set("Empty", Json::Object());
    EXPECT_EQ(root.Dump(),
              "{\n"
              "  \"Zeta\": 1,\n"
              "  \"Alpha\": \"x\",\n"
              "  \"Ok\": true,\n"
              "  \"List\": [-1, 161.5],\n"
              "  \"Rows\": [\n"
              "    {\n"
              "      \"N\": 1\n"
              "    }\n"
              "  ],\n"
              "  \"Empty\": {}\n"
              "}\n");
}

TEST(ParseArgs, SplitsPositionalsValuesAndFlags)
{
    ParsedArgs parsed;
    std::string error;
    ASSERT_TRUE(ParseArgs({"a.q54", "--band", "uhf", "--yes", "--", "--odd"},
                          {{"--band", true}, {"--yes", false}}, parsed, error));
    EXPECT_EQ(parsed.Positional, (std::vector<std::string>{"a.q54", "--odd"}));
    EXPECT_EQ(parsed.Value("--band", "vhf"), "uhf");
    EXPECT_TRUE(parsed.Has("--yes"));

    ParsedArgs eq;
    ASSERT_TRUE(ParseArgs({"--band=vhf", "-"}, {{"--band", true}}, eq, error));
    EXPECT_EQ(eq.Value("--band", ""), "vhf");
    EXPECT_EQ(eq.Positional, (std::vector<std::string>{"-"}));

    struct Bad { std::vector<std::string> args; const char* error; };
    const Bad bad[] = {
        {{"--bnad", "uhf"}, "unknown option --bnad"},
        {{"--band"}, "--band needs a value"},
        {{"--yes=1"}, "--yes takes no value"},
    };
    for (const Bad& b : bad) {
        ParsedArgs p;
        std::string e;
        EXPECT_FALSE(ParseArgs(b.args, {{"--band", true}, {"--yes", false}}, p, e));
        EXPECT_EQ(e, b.error);
    }
}

// What the tool prints for each message, and how it answers, with and without --yes.
TEST(CliPrompter, PrintsTheMessageAndDetailAndAnswersQuestionsFromTheFlag)
{
    for (const bool yes : {false, true}) {
        char* buffer = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&buffer, &size);
        ASSERT_NE(out, nullptr);
        CliPrompter prompter(yes, out);
        EXPECT_EQ(prompter.Show("The file cannot be opened.\r\nThe file format is not correct.",
                                MsgKind::Error, MsgButtons::Ok, ""),
                  MsgResult::Ok);
        EXPECT_EQ(prompter.Show("Problem on COM port", MsgKind::Error, MsgButtons::Ok, "Permission denied"), MsgResult::Ok);
        EXPECT_EQ(prompter.Show("Do you want to save the file?", MsgKind::Confirmation, MsgButtons::YesNo, ""),
                  yes ? MsgResult::Yes : MsgResult::No);
        std::fclose(out);
        const std::string text(buffer, size);
        std::free(buffer);
        EXPECT_EQ(text, std::string("The file cannot be opened.\nThe file format is not correct.\n"
                                    "Problem on COM port\n  Permission denied\n"
                                    "Do you want to save the file?\n") +
                            (yes ? "  answered Yes (--yes)\n" : "  answered No (give --yes to answer Yes)\n"));
    }
}

}  // namespace
}  // namespace qm54::cli
