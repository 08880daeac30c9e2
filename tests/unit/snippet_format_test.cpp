#include "stash/snippet_format.h"

#include <gtest/gtest.h>

#include <string>

namespace snipkit {
namespace {

TEST(SnippetFormat, FileContent) {
    struct Case {
        std::string description;
        std::string text;
        std::string content;
    };
    const Case cases[] = {
        {"", "", "//SNIPKIT:\r\n"},
        {"swap", "t := a;\r\na := b;", "//SNIPKIT:swap\r\nt := a;\r\na := b;\r\n"},
        {"swap", "t := a;\r\na := b;\r\n", "//SNIPKIT:swap\r\nt := a;\r\na := b;\r\n"},
        {" d ", "x\r\n\r\n\r\n", "//SNIPKIT: d \r\nx\r\n\r\n\r\n"},
        {"d", "x\r", "//SNIPKIT:d\r\nx\r\r\n"},
        {"d", "\r\n", "//SNIPKIT:d\r\n\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SnippetFileContent(c.description, c.text), c.content);
}

TEST(SnippetFormat, StashFilePath) {
    struct Case {
        std::string name;
        std::string path;
    };
    const std::string stash = "C:\\tools\\v1.0\\stash\\";
    const Case cases[] = {
        {"loop", "loop.pas"},         {"loop.txt", "loop.pas"},          {"loop.", "loop.pas"},
        {"a.b.c", "a.b.pas"},         {".cfg", ".pas"},                  {"snippet.txt", "snippet.pas"},
        {"old\\loop", "old\\loop.pas"}, {"ver1.2\\loop", "ver1.2\\loop.pas"}, {"x:y.z", "x:y.pas"},
        {"a.b:c", "a.b:c.pas"},       {" ", " .pas"},
    };
    for (const Case& c : cases) EXPECT_EQ(StashFilePath(stash, c.name), stash + c.path) << c.name;
}

TEST(SnippetFormat, StashNameCheck) {
    struct Case {
        std::string name;
        StashNameCheck verdict;
    };
    constexpr StashNameCheck ok = StashNameCheck::Usable;
    constexpr StashNameCheck no = StashNameCheck::Refused;
    const Case cases[] = {
        {"", StashNameCheck::Empty},
        {"loop", ok}, {"loop.", ok}, {"loop.txt", ok}, {".cfg", ok}, {"old\\loop", ok},
        {"ver1.2\\loop", ok}, {" loop", ok}, {"loop ", ok}, {"..", ok}, {"console", ok},
        {"COM10", ok}, {"LPT0", ok}, {"con\\x.", no}, {"my con", ok},
        {"C:loop", no}, {"C:\\loop", no}, {"\\\\server\\share\\x", no}, {"\\loop", no}, {"/loop", no},
        {"..\\loop", no}, {"a\\..\\b", no}, {"a:b", no}, {"a/b", no},
        {"a<b", no}, {"a>b", no}, {"a\"b", no}, {"a|b", no}, {"a?b", no}, {"a*b", no},
        {std::string("a\0b", 3), no}, {"a\tb", no}, {"a\x1f", no},
        {"dir.\\x", no}, {"dir \\x", no}, {".\\x", no}, {"a\\\\b", no}, {"old\\", ok},
        {"CON", no}, {"con.txt", no}, {"Nul", no}, {"aux.", no}, {"prn .x", no},
        {"com1", no}, {"LPT9.pas", no}, {"old\\lpt3", no}, {"com1\\x", no},
        {"COM\xC2\xB9", no}, {"lpt\xC2\xB2.txt", no}, {"old\\LPT\xC2\xB3", no}, {"com\xC2\xB3 .x", no},
        {"COM\xC2\xB9" "9", ok}, {"COM\xE2\x81\xB4", ok}, {"LPT\xC2\xBC", ok},
        {"caf\xc3\xa9", ok},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckStashName(c.name), c.verdict) << '"' << c.name << '"';
}

TEST(SnippetFormat, RefusedNameMessage) {
    EXPECT_EQ(RefusedStashNameMessage("a:b"), "This file name can't be used in the stash: a:b");
}

TEST(SnippetFormat, TakeSnippet) {
    struct Case {
        std::string preview;
        std::string pasted;
    };
    const Case cases[] = {
        {"//SNIPKIT:d\r\nL1\r\nL2\r\n", "L1\r\nL2\r\n"},
        {"//SNIPKIT:d\r\n", ""},
        {"one line", ""},
        {"", ""},
        {"first\r\nsecond\r\nthird", "second\r\nthird"},
        {"//SNIPKIT:d\r\n\r\nx\r\n", "\r\nx\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(TakeSnippet(c.preview), c.pasted) << c.preview;
}

TEST(SnippetFormat, SavedSnippetComesBackWithItsFinalBreak) {
    const std::string texts[] = {"a;\r\nb;", "a;\r\nb;\r\n", "x\r\n\r\n"};
    for (const std::string& text : texts) {
        const std::string back = TakeSnippet(PreviewText(SnippetFileContent("d", text)));
        EXPECT_EQ(back, text.size() >= 2 && text.substr(text.size() - 2) == "\r\n" ? text : text + "\r\n");
    }
}

TEST(SnippetFormat, PreviewMakesLoneBreaksCrLf) {
    EXPECT_EQ(PreviewText("//SNIPKIT:d\nx\ry\r\n"), "//SNIPKIT:d\r\nx\r\ny\r\n");
}

}  // namespace
}  // namespace snipkit
