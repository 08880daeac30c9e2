#include <gtest/gtest.h>

#include "toolbar/hotkey.h"
#include "fake_window_system.h"

namespace snipkit::testing {
namespace {

TEST(KeyOption, ParsesKeysAndRefusesTheRest) {
    struct Row {
        const char* value;
        std::optional<HotKey> key;
    };
    const Row rows[] = {
        {"Ctrl+Alt+Shift+Space", kDefaultKey},
        {"ctrl+shift+f12", HotKey{kModCtrl | kModShift, 0x7B}},
        {"Shift+Ctrl+F12", HotKey{kModCtrl | kModShift, 0x7B}},
        {"Win+F1", HotKey{kModWin, 0x70}},
        {"Alt+F24", HotKey{kModAlt, 0x87}},
        {"Ctrl+k", HotKey{kModCtrl, 'K'}},
        {"Alt+0", HotKey{kModAlt, '0'}},
        {"Shift+Insert", HotKey{kModShift, 0x2D}},
        {"Ctrl+PageDown", HotKey{kModCtrl, 0x22}},
        // A key alone, or Shift with a key that types, would be lost to typing.
        {"F12", std::nullopt},
        {"Space", std::nullopt},
        {"Shift+A", std::nullopt},
        {"Shift+Space", std::nullopt},
        {"Ctrl+Ctrl+F1", std::nullopt},
        {"Ctrl+F0", std::nullopt},
        {"Ctrl+F25", std::nullopt},
        {"Ctrl+F1x", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"+Ctrl+F1", std::nullopt},
        {"Ctrl++F1", std::nullopt},
        {"Control+F1", std::nullopt},
        {"Ctrl+Shift", std::nullopt},
        {"Ctrl+AB", std::nullopt},
        {"Ctrl + F1", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(ParseKey(r.value), r.key);
    }
}

TEST(KeyOption, NamesTheKeyAsItIsWritten) {
    EXPECT_EQ(KeyName(kDefaultKey), "Ctrl+Alt+Shift+Space");
    for (const char* name : {"Ctrl+Shift+F12", "Alt+Win+F24", "Ctrl+K", "Alt+7", "Ctrl+PageUp", "Shift+Delete"}) {
        EXPECT_EQ(KeyName(ParseKey(name).value()), name);
    }
}

TEST(KeyOption, TheCommandLineChoosesTheKey) {
    struct Row {
        std::vector<std::string> args;
        std::optional<HotKey> key;
        bool bad;
    };
    const HotKey f12{kModCtrl | kModShift, 0x7B};
    const Row rows[] = {
        {{}, kDefaultKey, false},
        {{"other", "/keys"}, kDefaultKey, false},
        {{"/key:Ctrl+Shift+F12"}, f12, false},
        {{"/KEY:ctrl+shift+f12"}, f12, false},
        {{"/key:none"}, std::nullopt, false},
        {{"/key:None"}, std::nullopt, false},
        {{"/key:"}, std::nullopt, true},
        {{"/key:F12"}, std::nullopt, true},
        {{"/key:none", "/key:Ctrl+Shift+F12"}, f12, false},
        {{"/key:oops", "/key:Ctrl+Shift+F12"}, f12, false},
        {{"/key:Ctrl+Shift+F12", "/key:oops"}, std::nullopt, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.args));
        const KeySetting s = KeyFromArguments(r.args);
        EXPECT_EQ(s.key, r.key);
        EXPECT_EQ(s.bad, r.bad);
    }
    EXPECT_EQ(KeyFromArguments({"/key:Ctrl+Q+W"}).badValue, "Ctrl+Q+W");
}

// The system's hotkey table as this program sees it; another program may hold the key.
class FakeHotKeys : public HotKeys {
public:
    bool takenByOther = false;
    std::optional<HotKey> held;
    int registrations = 0;
    bool Register(const HotKey& key) override {
        ++registrations;
        if (takenByOther) return false;
        held = key;
        return true;
    }
    void Unregister() override { held.reset(); }
};

struct KeyDesk : Desk {
    FakeHotKeys keys;
    BridgeState bridge;
    Hwnd toolbar = ws.AddWindow("TForm1", 0, "Delphi Snipkit");
    Hwnd secondEditor = ws.AddWindow("TEditWindow", 0, "Unit2.pas");
    KeyDesk() { ws.Window(toolbar).ownProcess = true; }
};

TEST(EditorKey, HeldOnlyWhileAnEditorIsInFront) {
    KeyDesk d;
    EditorKey key(d.ws, d.boxes, d.keys, d.bridge);
    d.ws.foreground = d.otherApp;
    key.Start(KeySetting{});
    EXPECT_FALSE(d.keys.held) << "another program in front at the start";

    struct Front {
        const char* what;
        Hwnd window;
        bool held;
    };
    const Front steps[] = {
        {"the editor", d.editWindow, true},
        {"the editor again (a tick)", d.editWindow, true},
        {"another program", d.otherApp, false},
        {"the toolbar", d.toolbar, false},
        {"no window", 0, false},
        {"a second editor", d.secondEditor, true},
        {"the editor's own control", d.editControl, false},
    };
    for (const Front& s : steps) {
        SCOPED_TRACE(s.what);
        d.ws.foreground = s.window;
        key.Follow();
        EXPECT_EQ(d.keys.held.has_value(), s.held);
        EXPECT_EQ(key.Registered(), s.held);
        if (s.held) {
            EXPECT_EQ(key.EditorInFront(), s.window);
            EXPECT_EQ(*d.keys.held, kDefaultKey);
        }
    }
    EXPECT_EQ(d.keys.registrations, 2) << "a tick with the editor still in front registers nothing again";
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST(EditorKey, UnderLockOnlyTheLockedEditorCounts) {
    KeyDesk d;
    EditorKey key(d.ws, d.boxes, d.keys, d.bridge);
    d.bridge.LockedWindow = d.editControl;
    key.Start(KeySetting{});
    const std::pair<Hwnd, bool> steps[] = {
        {d.editWindow, true}, {d.secondEditor, false}, {d.otherApp, false}, {d.editWindow, true}};
    for (const auto& [front, held] : steps) {
        d.ws.foreground = front;
        key.Follow();
        EXPECT_EQ(d.keys.held.has_value(), held) << "front: " << d.ws.ClassName(front);
    }
    // The locked editor closed: no window in front is its.
    d.ws.Destroy(d.editControl);
    d.ws.Destroy(d.editWindow);
    d.ws.foreground = d.secondEditor;
    key.Follow();
    EXPECT_FALSE(d.keys.held);
    EXPECT_EQ(key.EditorInFront(), 0u);
}

TEST(EditorKey, NoneAndBadValuesHoldNothing) {
    for (const char* arg : {"/key:none", "/key:Shift+Q"}) {
        SCOPED_TRACE(arg);
        KeyDesk d;
        d.ws.foreground = d.editWindow;
        EditorKey key(d.ws, d.boxes, d.keys, d.bridge);
        key.Start(KeyFromArguments({arg}));
        key.Follow();
        EXPECT_EQ(d.keys.registrations, 0);
        EXPECT_FALSE(key.Key());
        const bool bad = std::string(arg) != "/key:none";
        ASSERT_EQ(d.boxes.shown.size(), bad ? 1u : 0u);
        if (bad) {
            EXPECT_EQ(d.boxes.shown[0], (ShownBox{BadKeyText("Shift+Q"), "Snipkit key"}));
        }
    }
}

TEST(EditorKey, AKeyHeldElsewhereIsSaidOnceAndTriedAgain) {
    KeyDesk d;
    d.keys.takenByOther = true;
    EditorKey key(d.ws, d.boxes, d.keys, d.bridge);
    d.ws.foreground = d.editWindow;
    key.Start(KeyFromArguments({"/key:Ctrl+Shift+F12"}));
    EXPECT_FALSE(key.Registered());
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].caption, "Snipkit key");
    EXPECT_EQ(d.boxes.shown[0].text,
              "Another program holds the key Ctrl+Shift+F12, so it does not open Snipkit's menu; the toolbar works "
              "as before. To use another key, start Snipkit with /key:<modifiers>+<key>, for example "
              "/key:Ctrl+Shift+F12.");
    for (Hwnd front : {d.otherApp, d.editWindow, d.secondEditor}) {
        d.ws.foreground = front;
        key.Follow();
    }
    EXPECT_EQ(d.boxes.shown.size(), 1u) << "later failures say nothing";
    EXPECT_EQ(d.keys.registrations, 3) << "tried at the start and with each editor in front";

    // The other program let go: the next editor in front gets the key.
    d.keys.takenByOther = false;
    d.ws.foreground = d.otherApp;
    key.Follow();
    d.ws.foreground = d.editWindow;
    key.Follow();
    EXPECT_TRUE(key.Registered());
    EXPECT_EQ(d.boxes.shown.size(), 1u);
}

TEST(EditorKey, LetsTheKeyGoWhenTheToolbarEnds) {
    KeyDesk d;
    d.ws.foreground = d.editWindow;
    {
        EditorKey key(d.ws, d.boxes, d.keys, d.bridge);
        key.Start(KeySetting{});
        ASSERT_TRUE(d.keys.held);
    }
    EXPECT_FALSE(d.keys.held);
}

}  // namespace
}  // namespace snipkit::testing
