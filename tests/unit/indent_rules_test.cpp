#include "format/indent_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace snipkit {
namespace {

TEST(IndentRules, ShiftsCountedLines) {
    struct Case {
        bool indent;
        int columns;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {true, 2, "a\r\n\r\nb\r\n", "  a\r\n  \r\n  b\r\n"},
        {true, 3, "x", "   x"},
        {true, 0, "a\r\nb", "a\r\nb"},
        {true, -4, "a\r\nb", "a\r\nb"},
        {true, 1, "", ""},
        {true, 1, "a\rb", " a\rb"},
        {false, 2, "    a\r\n b\r\nc\r\n\r\n  ", "  a\r\nb\r\nc\r\n\r\n"},
        {false, 4, " \tx", "\tx"},
        {false, 16, std::string(20, ' ') + "x", "    x"},
        {false, 2, "a\r\n\r\n  b", "a\r\n\r\nb"},
        {false, 0, "  a", "  a"},
        {false, -1, "  a", "  a"},
        {false, 3, "\t  a\r\n   \t", "\t  a\r\n\t"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.indent ? Indent(c.text, c.columns) : Unindent(c.text, c.columns), c.expected)
            << (c.indent ? "indent " : "unindent ") << c.columns << ": " << c.text;
    }
}

TEST(IndentRules, ParsesWholeNumbers) {
    struct Case {
        std::string field;
        std::optional<int> number;
    };
    const Case cases[] = {
        {"2", 2},     {"16", 16},  {" 7 ", 7},   {"+3", 3},       {"-5", -5},
        {"0", 0},     {"", {}},    {"  ", {}},   {"-", {}},       {"1.5", {}},
        {"3x", {}},   {"x3", {}},  {"1 2", {}},  {"\t4", {}},     {"2147483647", 2147483647},
        {"2147483648", {}},        {"-2147483648", -2147483647 - 1},          {"-2147483649", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseWholeNumber(c.field), c.number) << '"' << c.field << '"';
}

TEST(IndentRules, FieldFallbacks) {
    struct Case {
        std::string field;
        int indentColumns;
        int ifIndent;
    };
    const Case cases[] = {
        {"", 0, 1},
        {"abc", 0, 1},
        {"40", 40, 40},  // the fields' own range checks are not the parse's job
        {"-3", -3, -3},
        {"5", 5, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IndentColumnsFromField(c.field), c.indentColumns) << c.field;
        EXPECT_EQ(IfIndentFromField(c.field), c.ifIndent) << c.field;
    }
}

}  // namespace
}  // namespace snipkit
