#include <gtest/gtest.h>

#include <utility>

#include "bridge/app_error.h"
#include "fake_file_system.h"
#include "fake_window_system.h"
#include "stash/snippet_format.h"
#include "stash/stash_commands.h"

namespace snipkit::testing {
namespace {

const std::string kApp = "C:\\tools\\";
const std::string kStash = "C:\\tools\\stash";

class ScriptedSave : public SaveDialog {
public:
    std::vector<SaveFields> attempts;  // what OK was pressed with
    std::vector<bool> accepted;
    std::vector<SaveFields> userPresses;  // the user presses OK with these, in turn, until one is accepted
    void Show(SaveFields& fields, const std::function<bool(const SaveFields&)>& onOK) override {
        for (const SaveFields& press : userPresses) {
            SaveFields f = press;
            if (f.memoText == "<keep>") f.memoText = fields.memoText;
            attempts.push_back(f);
            const bool ok = onOK(f);
            accepted.push_back(ok);
            fields = f;
            if (ok) return;
        }
    }
};

// Stands in for a user's locale: case and the accents of Ä and é do not count.
bool LinguisticLess(const std::string& a, const std::string& b) {
    const auto key = [](std::string s) {
        for (const auto& [accented, plain] : {std::pair<std::string, std::string>{"\xC3\x84", "a"}, {"\xC3\xA9", "e"}}) {
            for (std::size_t at; (at = s.find(accented)) != std::string::npos;) s.replace(at, accented.size(), plain);
        }
        for (char& c : s) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
        return s;
    };
    return key(a) < key(b);
}

struct StashDesk : Desk {
    FakeFileSystem fs;
    EditorBridge bridge{ws, boxes};
    StashStore store{fs, boxes, kApp, LinguisticLess};
    StashDesk() {
        fs.dirs.insert(kStash);
        bridge.State().SourceWindow = editWindow;
    }
};

TEST(Stash, SaveWritesTheSnippetFile) {
    StashDesk d;
    d.ws.SetSelection(d.editControl, "t := a;\r\na := b;", 0, 16);
    ScriptedSave dialog;
    dialog.userPresses = {{"swap", "swap", "<keep>"}};
    SaveFields fields;
    butStashClick(d.bridge, dialog, fields, d.store);
    EXPECT_EQ(d.fs.files.at(kStash + "\\swap.pas"), "//SNIPKIT:swap\r\nt := a;\r\na := b;\r\n");
    EXPECT_EQ(fields.name, "swap");  // kept for the next opening
}

TEST(Stash, FailedCaptureOpensNoSaveDialog) {
    StashDesk d;
    d.bridge.State().SourceWindow = d.otherApp;
    d.bridge.State().WorkText = "stale";
    ScriptedSave dialog;
    dialog.userPresses = {{"swap", "swap", "<keep>"}};
    SaveFields fields;
    butStashClick(d.bridge, dialog, fields, d.store);
    EXPECT_TRUE(dialog.attempts.empty());
    EXPECT_EQ(d.fs.writes, 0);
    EXPECT_EQ(d.boxes.shown.size(), 1u);
}

TEST(Stash, RefusedOrFailedSavesKeepTheDialogOpenAndTheOldFile) {
    StashDesk d;
    d.fs.files[kStash + "\\ro.pas"] = "//SNIPKIT:old\r\nold\r\n";
    d.fs.readOnly.insert(kStash + "\\ro.pas");
    d.ws.SetSelection(d.editControl, "code", 0, 4);
    ScriptedSave dialog;
    dialog.userPresses = {{"", "d", "<keep>"},          // empty name
                          {"..\\evil", "d", "<keep>"},  // leaves the stash
                          {"CON", "d", "<keep>"},
                          {"fine", "d", "<keep>"}};
    SaveFields fields;
    butStashClick(d.bridge, dialog, fields, d.store);
    EXPECT_EQ(dialog.accepted, (std::vector<bool>{false, false, false, true}));
    ASSERT_EQ(d.boxes.shown.size(), 3u);
    EXPECT_EQ(d.boxes.shown[0], (ShownBox{"You need to enter a filename to save this piece of code.", "Can't save"}));
    EXPECT_EQ(d.boxes.shown[1], (ShownBox{"This file name can't be used in the stash: ..\\evil", "Can't save"}));
    EXPECT_EQ(d.fs.writes, 1);
    EXPECT_EQ(d.fs.files.at(kStash + "\\fine.pas"), "//SNIPKIT:d\r\ncode\r\n");

    // A file that cannot be written reaches the error box with its full path.
    SaveFields ro{"ro", "new", "new"};
    try {
        d.store.Save(ro);
        FAIL() << "expected an error";
    } catch (const AppError& e) {
        EXPECT_EQ(ErrorBoxText(e), "Cannot create file C:\\tools\\stash\\ro.pas.");
    }
    EXPECT_EQ(d.fs.files.at(kStash + "\\ro.pas"), "//SNIPKIT:old\r\nold\r\n");
}

// The save's temporary file is 21 UTF-16 units longer than the snippet's
// path, and Windows takes paths of up to 259.
TEST(Stash, NamesTooLongForTheSaveAreRefused) {
    const std::string folder = kStash + "\\";  // 15 units
    const auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    const struct {
        std::string name;
        bool saved;
    } rows[] = {
        {times("a", 219), true},                          // 15 + 219 + 4 + 21 = 259
        {times("a", 220), false},                         // the snippet itself would fit
        {times("\xC3\xA9", 219), true},                   // counted in UTF-16 units, not bytes
        {times("\xF0\x9F\x98\x80", 109) + "a", true},     // two units each
        {times("\xF0\x9F\x98\x80", 110), false},
        {"sub\\" + times("b", 215), true},
        {"sub\\" + times("b", 216), false},
    };
    for (const auto& r : rows) {
        StashDesk d;
        d.fs.dirs.insert(kStash + "\\sub");
        const SaveFields f{r.name, "d", "x"};
        EXPECT_EQ(d.store.Save(f), r.saved) << r.name.size();
        EXPECT_EQ(d.fs.writes, r.saved ? 1 : 0);
        if (r.saved) {
            EXPECT_TRUE(d.boxes.shown.empty());
        } else {
            EXPECT_EQ(d.boxes.shown, (std::vector<ShownBox>{{"This file name is too long for the stash: " + r.name,
                                                             "Can't save"}}));
        }
    }
}

// Two programs may save into one stash: each save writes a temporary file of
// its own, and a save removes another's only when no save can still be
// writing it.
TEST(Stash, SavesOfTwoProgramsKeepOutOfEachOthersWay) {
    EXPECT_EQ(WriteTempPath("C:\\s\\a.pas", 0x1a2c), "C:\\s\\a.pas.00001a2c.snipkit-tmp");
    EXPECT_EQ(WriteTempPath("a.pas", 0xFFFFFFFFu), "a.pas.ffffffff.snipkit-tmp");
    constexpr std::uint32_t self = 0x1a2c;
    const struct {
        const char* name;
        std::uint64_t ageMs;
        bool removed;
    } rows[] = {
        {"a.pas.00001a2c.snipkit-tmp", 0, true},          // this program's, left by a save cut short
        {"a.pas.00001A2C.SNIPKIT-TMP", 0, true},
        {"a.pas.00001a2d.snipkit-tmp", 0, false},         // another program's save may be under way
        {"a.pas.00001a2d.snipkit-tmp", 59'999, false},
        {"a.pas.00001a2d.snipkit-tmp", 60'000, true},     // no save takes a minute
        {"a.pas.snipkit-tmp", 0, false},                  // an older version's, maybe still running
        {"a.pas.snipkit-tmp", 60'000, true},
        {"a.pas", 3'600'000, false},                      // a snippet
        {"x00001a2c.snipkit-tmp", 0, false},              // no process id of its own
    };
    for (const auto& r : rows) EXPECT_EQ(IsAbandonedWriteTemp(r.name, self, r.ageMs), r.removed) << r.name << " " << r.ageMs;
}

// A header or snippet file longer than a string can hold is "too large"
// (Text exceeds memo capacity), wherever that limit lies below the address
// space.
TEST(Stash, FilesLargerThanAStringAreTooLarge) {
    const std::uint64_t most = std::string().max_size();
    EXPECT_TRUE(FitsInString(0));
    EXPECT_TRUE(FitsInString(most));
    EXPECT_FALSE(FitsInString(most + 1));
}

TEST(Stash, ListIsInTheGivenOrderAndReadAfresh) {
    StashDesk d;
    // Saves cut short leave temporary files: hidden ones, or visible ones from older versions.
    for (const char* n : {"beta.pas", "\xC3\xA9" "a.pas", "Alpha.pas", "gamma.txt", "\xC3\x84pfel.pas", "hidden.pas",
                          "beta.pas.snipkit-tmp", "ZED.PAS.SNIPKIT-TMP"})
        d.fs.files[kStash + "\\" + n] = "x";
    d.fs.hidden.insert(kStash + "\\hidden.pas");
    d.fs.files[kStash + "\\sub\\inner.pas"] = "x";
    EXPECT_EQ(d.store.List(), (std::vector<std::string>{"Alpha.pas", "\xC3\x84pfel.pas", "beta.pas", "\xC3\xA9" "a.pas",
                                                        "gamma.txt"}));
    d.fs.files[kStash + "\\delta.pas"] = "x";
    EXPECT_EQ(d.store.List().size(), 6u);

    StashDesk missing;
    missing.fs.dirs.clear();
    EXPECT_TRUE(missing.store.List().empty());
    EXPECT_TRUE(missing.fs.IsDirectory(kStash));  // recreated quietly
    EXPECT_TRUE(missing.boxes.shown.empty());
}

TEST(Stash, PreviewAndItsErrors) {
    StashDesk d;
    d.fs.files[kStash + "\\a.pas"] = "//SNIPKIT:a\nx\ry\r\n";
    d.fs.files[kStash + "\\big.pas"] = std::string(kMaxPreviewBytes + 1, 'x');
    d.fs.files[kStash + "\\locked.pas"] = "x";
    d.fs.locked.insert(kStash + "\\locked.pas");
    EXPECT_EQ(d.store.LoadPreview("a.pas"), "//SNIPKIT:a\r\nx\r\ny\r\n");
    // Files from other editors: a BOM, UTF-16, ANSI.
    const struct {
        const char* name;
        std::string bytes;
        const char* preview;
    } kinds[] = {
        {"bom.pas", "\xEF\xBB\xBF//SNIPKIT:b\r\n\xC3\xA9\r\n", "//SNIPKIT:b\r\n\xC3\xA9\r\n"},
        {"le.pas", std::string("\xFF\xFE/\0/\0\n\0\xE9\0", 10), "//\r\n\xC3\xA9"},
        {"be.pas", std::string("\xFE\xFF\0/\0/\0\r\0\xE9", 10), "//\r\n\xC3\xA9"},
        {"ansi.pas", "//\r\n\xE9", "//\r\n\xC3\xA9"},
    };
    for (const auto& k : kinds) {
        d.fs.files[kStash + "\\" + k.name] = k.bytes;
        EXPECT_EQ(d.store.LoadPreview(k.name), k.preview) << k.name;
    }
    const struct {
        const char* name;
        const char* message;
    } errors[] = {{"big.pas", "Text exceeds memo capacity."},
                  {"locked.pas", "Cannot open file C:\\tools\\stash\\locked.pas."},
                  {"gone.pas", "Cannot open file C:\\tools\\stash\\gone.pas."}};
    for (const auto& e : errors) {
        try {
            d.store.LoadPreview(e.name);
            ADD_FAILURE() << e.name;
        } catch (const AppError& err) {
            EXPECT_EQ(ErrorBoxText(err), e.message);
        }
    }
}

// Every character of the ANSI code page above 0x7F, alone and in every pair,
// comes back from the browser as it was saved; pairs such as "Ã©", whose
// ANSI bytes C3 A9 are the UTF-8 of "é", included.
TEST(Stash, EveryAnsiCharacterComesBackAsSaved) {
    StashDesk d;
    const CodePage& ansi = d.fs.AnsiCodePage();
    std::vector<std::string> texts;
    for (int a = 0x80; a <= 0xFF; ++a) {
        texts.push_back(ansi.ToUtf8(std::string(1, static_cast<char>(a))));
        for (int b = 0x80; b <= 0xFF; ++b) texts.push_back(ansi.ToUtf8(std::string{static_cast<char>(a), static_cast<char>(b)}));
    }
    texts.push_back(ansi.ToUtf8("\xE2\x80\x99"));      // the UTF-8 of U+2019 taken as ANSI
    texts.push_back(ansi.ToUtf8("\xF0\x9F\x98\x80"));  // and of U+1F600
    std::vector<std::string> changed;
    for (const std::string& text : texts) {
        const SaveFields f{"s", text, "s := '" + text + "';"};
        ASSERT_TRUE(d.store.Save(f));
        const std::string preview = d.store.LoadPreview("s.pas");
        if (preview != SnippetFileContent(text, f.memoText) || TakeSnippet(preview) != f.memoText + "\r\n") {
            changed.push_back(text);
        }
    }
    EXPECT_TRUE(changed.empty()) << changed.size() << " of " << texts.size() << " texts came back changed, first "
                                 << changed.front();
}

class ScriptedBrowser : public StashDialog {
public:
    std::optional<std::string> result;
    std::optional<std::string> Show(StashStore&) override { return result; }
};

TEST(Stash, RetrievePastesAllButTheFirstLine) {
    const struct {
        std::optional<std::string> preview;
        const char* expect;
    } rows[] = {
        {std::string("//SNIPKIT:d\r\nL1\r\nL2\r\n"), "<L1\r\nL2\r\n>"},
        {std::string("//SNIPKIT:d\r\n"), "<>"},
        {std::string("one line"), "<>"},
        {std::string("no marker\r\nkept"), "<kept>"},
        {std::nullopt, "<sel>"},  // Cancel
    };
    for (const auto& r : rows) {
        StashDesk d;
        d.ws.SetSelection(d.editControl, "<sel>", 1, 4);
        ScriptedBrowser browser;
        browser.result = r.preview;
        butLoadClick(d.bridge, browser, d.store);
        EXPECT_EQ(d.ws.Window(d.editControl).text, r.expect);
    }
}

class CountedBrowser : public StashDialog {
public:
    int shown = 0;
    std::optional<std::string> Show(StashStore&) override {
        ++shown;
        return std::string("//SNIPKIT:d\r\nL1\r\n");
    }
};

TEST(Stash, RetrieveWithNoEditorFoundOpensNoBrowser) {
    StashDesk d;
    d.bridge.State().SourceWindow = d.otherApp;
    d.ws.SetClipboard("old clip");
    CountedBrowser browser;
    butLoadClick(d.bridge, browser, d.store);
    EXPECT_EQ(browser.shown, 0);
    EXPECT_EQ(d.ws.clipText(), "old clip");
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].text, kMsgNotEditWindow);
}

}  // namespace
}  // namespace snipkit::testing
