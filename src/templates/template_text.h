// Texts of the code templates: Object Pascal statements and routine
// skeletons built from the dialogs' fields, empty or around captured code.
#pragma once

#include <string>
#include <string_view>

#include "format/line_list.h"  // NormalizeLineBreaks

namespace snipkit {

// Wraps text between an opening and a closing line. Every counted line gets
// two more leading blanks (an empty one becomes two blanks); the opening and
// closing lines get the leading blanks of the first line (tabs don't count).
// The result always ends in CR LF; an empty text gives
// opening CR LF closing CR LF.
std::string SurroundLines(std::string_view text, std::string_view opening,
                          std::string_view closing);

// "begin", an empty line and "end;" with no break after it.
std::string BeginEndBlock();

struct IfFields {
    std::string condition;  // used as typed
    int indent = 2;         // blanks before the statement's own lines; < 1 gives none
    bool withElse = false;
    bool surround = false;  // the captured text becomes the then-branch
};

std::string IfThen(const IfFields& fields, std::string_view captured);

struct ForFields {
    std::string variable;
    std::string low;
    std::string high;
    bool downto = false;
    bool surround = false;
};

std::string ForNext(const ForFields& fields, std::string_view captured);

enum class WhileKind { Repeat, While, With };

struct WhileFields {
    WhileKind kind = WhileKind::Repeat;
    std::string condition;  // for with, the text after "with "
    bool surround = false;
};

std::string WhileBlock(const WhileFields& fields, std::string_view captured);

enum class ProcKind { Procedure, Function, Constructor, Destructor };

struct ProcFields {
    ProcKind kind = ProcKind::Procedure;
    std::string name;      // used as typed, a qualified name too
    bool vars = false;     // add "var i: integer;"
    bool comment = false;  // put the ProcHead.txt text first
};

inline constexpr const char* kUnitHeadFile = "UnitHead.txt";
inline constexpr const char* kProcHeadFile = "ProcHead.txt";

// The routine's heading line, without a line break.
std::string ProcHeading(ProcKind kind, std::string_view name);

// The whole skeleton, every line ending in CR LF. headerFile is the raw
// content of ProcHead.txt and is used only when fields.comment is set: its
// line breaks are made CR LF and a missing final one is added; an empty file
// adds nothing.
std::string ProcSkeleton(const ProcFields& fields, std::string_view headerFile);

// A header comment file as inserted: line breaks made CR LF, nothing added.
std::string HeaderCommentText(std::string_view file);

}  // namespace snipkit
