// What the toolbar's rule gives for a whole text at once (where it would paste
// nothing, the input), with a lone LF ending a line as the filter has it: the
// reference the piecewise filter is checked against.
#pragma once

#include <string>

#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "format/indent_rules.h"
#include "text_filter.h"

namespace snipkit::textfilter {

inline std::string WholeText(const Invocation& inv, const std::string& text) {
    constexpr LineEnds kEnds = LineEnds::CrLfOrLf;
    switch (inv.command) {
        case Command::Upper: return ApplyCaseRule(CaseRule::Upper, text);
        case Command::Lower: return ApplyCaseRule(CaseRule::Lower, text);
        case Command::Flip: return ApplyCaseRule(CaseRule::Flip, text);
        case Command::Title: return ApplyCaseRule(CaseRule::Title, text);
        case Command::Comment: return CommentSlash(text, kEnds);
        case Command::CommentBrace: return CommentBrace(text);
        case Command::CommentParen: return CommentParen(text);
        case Command::Uncomment: {
            UncommentResult r = Uncomment(text, kEnds);
            return r.paste ? *r.paste : text;
        }
        case Command::Indent: return Indent(text, inv.columns, kEnds);
        case Command::Unindent: return Unindent(text, inv.columns, kEnds);
    }
    return std::string();
}

}  // namespace snipkit::textfilter
