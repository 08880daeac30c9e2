// Menu command and control identifiers, shared by the toolbar and by the
// end-to-end test driver that drives it. No <windows.h> here.
#pragma once

namespace snipkit::ids {

// popMain
constexpr int mnuMinimize = 101;
constexpr int mnuUndo = 102;
constexpr int mnuStayOnTop = 103;
constexpr int mnuLockWin = 104;
constexpr int mnuExit = 105;
// popText / mCase
constexpr int mnuUpper = 111;
constexpr int mnuLower = 112;
constexpr int mnuTitle = 113;
constexpr int mnuFlipCase = 114;
// popText / Code1
constexpr int mnuBeginEnd = 121;
constexpr int mnuIfthen = 122;
constexpr int mnuForNext = 123;
constexpr int mnuWhile = 124;
constexpr int mnuProc = 125;
// popText
constexpr int mnuUnitHead = 131;
constexpr int mnuProcHead = 132;
// popFormat
constexpr int mnuIndent = 141;
constexpr int mnuCommentSlash = 142;
constexpr int mnuCommentBrace = 143;
constexpr int mnuCommentPar = 144;
constexpr int mnuUncomment = 145;
// popHelp
constexpr int mnuAbout = 151;
constexpr int mnuHelp = 152;

// Toolbar buttons (child window ids on Panel1).
constexpr int butMenu = 201;
constexpr int butText = 202;
constexpr int butFormat = 203;
constexpr int butStash = 204;
constexpr int butLoad = 205;
constexpr int butHelp = 206;
constexpr int Panel1 = 207;
constexpr int Memo1 = 208;

}  // namespace snipkit::ids
