#include "toolbar/hotkey.h"

#include <cstddef>

namespace snipkit {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

struct Name {
    const char* name;
    unsigned code;
};

// In the order a key's name lists them.
constexpr Name kModifiers[] = {{"Ctrl", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Win", kModWin}};

constexpr Name kNamedKeys[] = {
    {"Space", kVkSpace}, {"PageUp", 0x21}, {"PageDown", 0x22}, {"End", 0x23},   {"Home", 0x24},  {"Left", 0x25},
    {"Up", 0x26},        {"Right", 0x27},  {"Down", 0x28},     {"Insert", 0x2D}, {"Delete", 0x2E},
};
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kFunctionKeys = 24;

std::optional<unsigned> KeyCode(const std::string& name) {
    const std::string n = Lower(name);
    if (n.size() == 1 && n[0] >= 'a' && n[0] <= 'z') return static_cast<unsigned>(n[0] - 'a' + 'A');
    if (n.size() == 1 && n[0] >= '0' && n[0] <= '9') return static_cast<unsigned>(n[0]);
    if (n.size() >= 2 && n.size() <= 3 && n[0] == 'f' && n[1] >= '1' && n[1] <= '9') {
        unsigned number = 0;
        for (std::size_t i = 1; i < n.size(); ++i) {
            if (n[i] < '0' || n[i] > '9') return std::nullopt;
            number = number * 10 + static_cast<unsigned>(n[i] - '0');
        }
        if (number >= 1 && number <= kFunctionKeys) return kVkF1 + number - 1;
        return std::nullopt;
    }
    for (const Name& k : kNamedKeys) {
        if (n == Lower(k.name)) return k.code;
    }
    return std::nullopt;
}

// Keys that type into the editor when pressed with Shift alone or nothing.
bool Types(unsigned key) {
    return key == kVkSpace || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

}  // namespace

std::optional<HotKey> ParseKey(const std::string& value) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t plus = value.find('+', from);
        parts.push_back(value.substr(from, plus - from));
        if (plus == std::string::npos) break;
        from = plus + 1;
    }
    const std::optional<unsigned> key = KeyCode(parts.back());
    if (!key || parts.size() < 2) return std::nullopt;
    HotKey result{0, *key};
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        unsigned bit = 0;
        for (const Name& m : kModifiers) {
            if (Lower(parts[i]) == Lower(m.name)) bit = m.code;
        }
        if (bit == 0 || (result.modifiers & bit) != 0) return std::nullopt;
        result.modifiers |= bit;
    }
    // Shift with a letter is only a capital letter: the editor would lose it.
    if (Types(result.key) && (result.modifiers & (kModCtrl | kModAlt | kModWin)) == 0) return std::nullopt;
    return result;
}

KeySetting KeyFromArguments(const std::vector<std::string>& args) {
    KeySetting setting;
    const std::string option = kKeyOption;
    for (const std::string& arg : args) {
        if (Lower(arg.substr(0, option.size())) != option) continue;
        const std::string value = arg.substr(option.size());
        setting = KeySetting{};
        if (Lower(value) == "none") {
            setting.key.reset();
        } else if (!(setting.key = ParseKey(value))) {
            setting.bad = true;
            setting.badValue = value;
        }
    }
    return setting;
}

std::string KeyName(const HotKey& key) {
    std::string name;
    for (const Name& m : kModifiers) {
        if (key.modifiers & m.code) name += std::string(m.name) + "+";
    }
    if (key.key >= kVkF1 && key.key < kVkF1 + kFunctionKeys) return name + "F" + std::to_string(key.key - kVkF1 + 1);
    for (const Name& k : kNamedKeys) {
        if (k.code == key.key) return name + k.name;
    }
    return name + static_cast<char>(key.key);
}

std::string BadKeyText(const std::string& value) {
    return "Snipkit does not know the key \"" + value +
           "\" given with /key:. Write /key:<modifiers>+<key>, for example /key:Ctrl+Shift+F12, or /key:none for "
           "no key. Modifiers: Ctrl, Alt, Shift, Win, at least one; a letter, a digit or Space also needs Ctrl, Alt "
           "or Win. Keys: A to Z, 0 to 9, F1 to F24, Space, Insert, Delete, Home, End, PageUp, PageDown, Up, Down, "
           "Left, Right. Snipkit starts without a key.";
}

std::string KeyTakenText(const HotKey& key) {
    return "Another program holds the key " + KeyName(key) +
           ", so it does not open Snipkit's menu; the toolbar works as before. To use another key, start Snipkit "
           "with /key:<modifiers>+<key>, for example /key:Ctrl+Shift+F12.";
}

EditorKey::~EditorKey() {
    if (registered_) keys_.Unregister();
}

void EditorKey::Start(const KeySetting& setting) {
    key_ = setting.key;
    if (setting.bad) boxes_.MsgBox(BadKeyText(setting.badValue), kCapKey);
    Follow();
}

Hwnd EditorKey::EditorInFront() {
    const Hwnd front = ws_.ForegroundWindow();
    if (front == 0) return 0;
    if (bridge_.LockedWindow != 0) return ws_.TopLevelOf(bridge_.LockedWindow) == front ? front : 0;
    return ws_.ClassName(front) == kEditWindowClass ? front : 0;
}

void EditorKey::Follow() {
    if (!key_) return;
    const bool wanted = EditorInFront() != 0;
    if (wanted == registered_) return;
    if (!wanted) {
        keys_.Unregister();
        registered_ = false;
        return;
    }
    registered_ = keys_.Register(*key_);
    if (registered_ || toldTaken_) return;
    // Said once: the box itself changes the foreground, and the key is tried
    // again each time an editor comes to the front.
    toldTaken_ = true;
    boxes_.MsgBox(KeyTakenText(*key_), kCapKey);
}

}  // namespace snipkit
