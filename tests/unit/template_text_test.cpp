#include "templates/template_text.h"

#include <gtest/gtest.h>

#include <string>

namespace snipkit {
namespace {

// Built field by field: brace-initialised tables of these structs trip a
// false maybe-uninitialized warning in GCC 12.
IfFields If(std::string condition, int indent, bool withElse, bool surround) {
    IfFields f;
    f.condition = std::move(condition);
    f.indent = indent;
    f.withElse = withElse;
    f.surround = surround;
    return f;
}

ForFields For(std::string variable, std::string low, std::string high, bool downto, bool surround) {
    ForFields f;
    f.variable = std::move(variable);
    f.low = std::move(low);
    f.high = std::move(high);
    f.downto = downto;
    f.surround = surround;
    return f;
}

WhileFields While(WhileKind kind, std::string condition, bool surround) {
    WhileFields f;
    f.kind = kind;
    f.condition = std::move(condition);
    f.surround = surround;
    return f;
}

ProcFields Proc(ProcKind kind, std::string name, bool vars, bool comment) {
    ProcFields f;
    f.kind = kind;
    f.name = std::move(name);
    f.vars = vars;
    f.comment = comment;
    return f;
}

TEST(TemplateText, SurroundLines) {
    struct Case {
        std::string text;
        std::string expected;  // opening "X", closing "Y"
    };
    const Case cases[] = {
        {"  a\r\n\r\n  b", "  X\r\n    a\r\n  \r\n    b\r\n  Y\r\n"},
        {"", "X\r\nY\r\n"},
        {"\tx\r\n  y\r\n", "X\r\n  \tx\r\n    y\r\nY\r\n"},
        {"\r\n", "X\r\n  \r\nY\r\n"},
        {"   \r\nz", "   X\r\n     \r\n  z\r\n   Y\r\n"},
        {"a\rb\nc", "X\r\n  a\rb\nc\r\nY\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SurroundLines(c.text, "X", "Y"), c.expected) << c.text;
}

TEST(TemplateText, BeginEndBlock) {
    EXPECT_EQ(BeginEndBlock(), "begin\r\n\r\nend;");
    EXPECT_EQ(BeginEndBlock().size(), 13u);
}

TEST(TemplateText, IfThen) {
    struct Case {
        IfFields fields;
        std::string captured;
        std::string expected;
    };
    const Case cases[] = {
        {If("", 2, false, false), "sel", "  if  then begin\r\n  end;  {if }\r\n"},
        {If("x > 0", 4, false, false), "sel", "    if x > 0 then begin\r\n    end;  {if x > 0}\r\n"},
        {If("c", 1, true, false), "", " if c then begin\r\n end else begin\r\n end;  {if c}\r\n"},
        {If("c", 2, false, true), "a;\r\n", "  if c then begin\r\na;\r\n\r\n  end;  {if c}\r\n"},
        {If("c", 2, false, true), "", "  if c then begin\r\n\r\n  end;  {if c}\r\n"},
        {If("c", 0, true, true), "  a;", "if c then begin\r\n  a;\r\nend else begin\r\nend;  {if c}\r\n"},
        {If(" c ", -2, false, false), "", "if  c  then begin\r\nend;  {if  c }\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(IfThen(c.fields, c.captured), c.expected) << c.expected;
}

TEST(TemplateText, ForNext) {
    struct Case {
        ForFields fields;
        std::string captured;
        std::string expected;
    };
    const std::string body = "    x := x + i;\r\n    y := y - 1;\r\n";
    const Case cases[] = {
        {For("i", "1", "10", false, false), body, "for i := 1 to 10 do begin\r\nend; {next i}\r\n"},
        {For("i", "1", "10", true, false), "", "for i := 1 downto 10 do begin\r\nend; {next i}\r\n"},
        {For("", "", "", false, false), "", "for  :=  to  do begin\r\nend; {next }\r\n"},
        {For("i", "1", "10", false, true), body,
         "    for i := 1 to 10 do begin\r\n      x := x + i;\r\n      y := y - 1;\r\n    end; {next i}\r\n"},
        {For("i", "1", "10", false, true), "a;\r\n  b;", "for i := 1 to 10 do begin\r\n  a;\r\n    b;\r\nend; {next i}\r\n"},
        {For("i", "1", "10", false, true), "", "for i := 1 to 10 do begin\r\nend; {next i}\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ForNext(c.fields, c.captured), c.expected) << c.expected;
}

TEST(TemplateText, WhileBlock) {
    struct Case {
        WhileFields fields;
        std::string captured;
        std::string expected;
    };
    const Case cases[] = {
        {While(WhileKind::Repeat, "", false), "x", "repeat\r\nuntil \r\n"},
        {While(WhileKind::Repeat, "done", true), "    a;\r\n", "    repeat\r\n      a;\r\n    until done\r\n"},
        {While(WhileKind::While, "i < n", false), "", "while i < n do begin\r\nend; {while}\r\n"},
        {While(WhileKind::With, "Canvas", true), "  Pen.Color := clRed;\r\n  MoveTo(0, 0);\r\n",
         "  with Canvas do begin\r\n    Pen.Color := clRed;\r\n    MoveTo(0, 0);\r\n  end; {with}\r\n"},
        {While(WhileKind::While, "c", true), "", "while c do begin\r\nend; {while}\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(WhileBlock(c.fields, c.captured), c.expected) << c.expected;
}

TEST(TemplateText, ProcSkeleton) {
    struct Case {
        ProcFields fields;
        std::string headerFile;
        std::string expected;
    };
    const std::string body = "begin\r\n\r\nend;\r\n";
    const Case cases[] = {
        {Proc(ProcKind::Procedure, "", false, false), "{ ignored }", "procedure ();\r\n" + body},
        {Proc(ProcKind::Function, "Max", true, false), "", "function Max(): integer;\r\nvar i: integer;\r\n" + body},
        {Proc(ProcKind::Destructor, "TForm1.Destroy", false, false), "", "destructor TForm1.Destroy;\r\n" + body},
        {Proc(ProcKind::Constructor, "Create", false, false), "",
         "constructor Create(AOwner: TComponent);\r\n" + body},
        {Proc(ProcKind::Procedure, "Run", false, true), "{ comment }", "{ comment }\r\nprocedure Run();\r\n" + body},
        {Proc(ProcKind::Procedure, "Run", false, true), "{ a }\n{ b }\n", "{ a }\r\n{ b }\r\nprocedure Run();\r\n" + body},
        {Proc(ProcKind::Procedure, "Run", false, true), "{ a }\r", "{ a }\r\nprocedure Run();\r\n" + body},
        {Proc(ProcKind::Procedure, "Run", false, true), "", "procedure Run();\r\n" + body},
        {Proc(ProcKind::Procedure, "Run", false, true), "\r\n\r\n", "\r\n\r\nprocedure Run();\r\n" + body},
    };
    for (const Case& c : cases) EXPECT_EQ(ProcSkeleton(c.fields, c.headerFile), c.expected) << c.expected;
}

TEST(TemplateText, HeaderCommentKeepsTheFileEnding) {
    struct Case {
        std::string file;
        std::string inserted;
    };
    const Case cases[] = {
        {"{ unit }\r\n\r\n", "{ unit }\r\n\r\n"},
        {"{ unit }", "{ unit }"},
        {"a\nb\rc\r\n", "a\r\nb\r\nc\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(HeaderCommentText(c.file), c.inserted);
}

}  // namespace
}  // namespace snipkit
