#include "templates/template_text.h"

namespace snipkit {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string Blanks(int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

std::size_t LeadingBlanks(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? line.size() : first;
}

bool EndsWithCrLf(std::string_view text) {
    return text.size() >= kCrLf.size() && text.substr(text.size() - kCrLf.size()) == kCrLf;
}

// Opening and closing lines with the captured text dropped, or wrapped
// around it when surround is set.
std::string Block(std::string_view opening, std::string_view closing, bool surround,
                  std::string_view captured) {
    return SurroundLines(surround ? captured : std::string_view(), opening, closing);
}

}  // namespace

std::string SurroundLines(std::string_view text, std::string_view opening,
                          std::string_view closing) {
    const LineList lines(text);
    const std::size_t count = lines.Count();
    const std::string margin(count == 0 ? 0 : LeadingBlanks(lines.Line(0)), ' ');
    std::string out;
    out.reserve(text.size() + 4 * count + 2 * margin.size() + opening.size() + closing.size() + 4);
    out.append(margin).append(opening).append(kCrLf);
    for (std::size_t i = 0; i < count; ++i) out.append("  ").append(lines.Line(i)).append(kCrLf);
    out.append(margin).append(closing).append(kCrLf);
    return out;
}

std::string BeginEndBlock() { return "begin\r\n\r\nend;"; }

std::string IfThen(const IfFields& fields, std::string_view captured) {
    const std::string indent = Blanks(fields.indent);
    std::string out = indent + "if " + fields.condition + " then begin\r\n";
    if (fields.surround) out.append(captured).append(kCrLf);
    if (fields.withElse) out += indent + "end else begin\r\n";
    out += indent + "end;  {if " + fields.condition + "}\r\n";
    return out;
}

std::string ForNext(const ForFields& f, std::string_view captured) {
    const std::string opening = "for " + f.variable + " := " + f.low +
                                (f.downto ? " downto " : " to ") + f.high + " do begin";
    const std::string closing = "end; {next " + f.variable + "}";
    return Block(opening, closing, f.surround, captured);
}

std::string WhileBlock(const WhileFields& f, std::string_view captured) {
    switch (f.kind) {
        case WhileKind::Repeat:
            return Block("repeat", "until " + f.condition, f.surround, captured);
        case WhileKind::While:
            return Block("while " + f.condition + " do begin", "end; {while}", f.surround, captured);
        case WhileKind::With:
            return Block("with " + f.condition + " do begin", "end; {with}", f.surround, captured);
    }
    return std::string();
}

std::string ProcHeading(ProcKind kind, std::string_view name) {
    const std::string n(name);
    switch (kind) {
        case ProcKind::Procedure: return "procedure " + n + "();";
        case ProcKind::Function: return "function " + n + "(): integer;";
        case ProcKind::Constructor: return "constructor " + n + "(AOwner: TComponent);";
        case ProcKind::Destructor: return "destructor " + n + ";";
    }
    return std::string();
}

std::string ProcSkeleton(const ProcFields& fields, std::string_view headerFile) {
    std::string out = fields.comment ? HeaderCommentText(headerFile) : std::string();
    if (!out.empty() && !EndsWithCrLf(out)) out += kCrLf;
    out.append(ProcHeading(fields.kind, fields.name)).append(kCrLf);
    if (fields.vars) out += "var i: integer;\r\n";
    out += "begin\r\n\r\nend;\r\n";
    return out;
}

std::string HeaderCommentText(std::string_view file) { return NormalizeLineBreaks(file); }

}  // namespace snipkit
