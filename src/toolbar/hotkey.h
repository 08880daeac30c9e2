// The keyboard key that opens every command at the editor's caret: what
// `/key:` on the command line chooses, and when the key is held. It is held
// only while an editor is in front, so no other program ever loses it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bridge/bridge.h"

namespace snipkit {

// Modifier bits and virtual-key codes as the system's hotkey call takes them.
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModCtrl = 0x2;
inline constexpr unsigned kModShift = 0x4;
inline constexpr unsigned kModWin = 0x8;
inline constexpr unsigned kVkSpace = 0x20;

struct HotKey {
    unsigned modifiers = 0;
    unsigned key = 0;
    bool operator==(const HotKey& o) const { return modifiers == o.modifiers && key == o.key; }
};

// Ctrl+Alt alone is AltGr on many keyboards, so the default adds Shift and
// a key that types nothing.
inline constexpr HotKey kDefaultKey{kModCtrl | kModAlt | kModShift, kVkSpace};

inline constexpr const char* kKeyOption = "/key:";
inline constexpr const char* kCapKey = "Snipkit key";

// What the command line chose: a key, or none (turned off or not readable).
struct KeySetting {
    std::optional<HotKey> key = kDefaultKey;
    std::string badValue;  // the unreadable value of /key:, when there was one
    bool bad = false;
};

// "Ctrl+Shift+F12": modifiers in any order, names in any case; nullopt when
// the value is no such key.
std::optional<HotKey> ParseKey(const std::string& value);
// The arguments after the program's name; the last /key: counts, other
// arguments are not this feature's.
KeySetting KeyFromArguments(const std::vector<std::string>& args);
// "Ctrl+Alt+Shift+Space": modifiers in a fixed order, then the key.
std::string KeyName(const HotKey& key);

std::string BadKeyText(const std::string& value);
std::string KeyTakenText(const HotKey& key);

// The system's registration of one hotkey for this program.
class HotKeys {
public:
    virtual ~HotKeys() = default;
    // False when another program holds the key.
    virtual bool Register(const HotKey& key) = 0;
    virtual void Unregister() = 0;
};

// Holds the key while an editor is in front and lets it go otherwise.
class EditorKey {
public:
    EditorKey(WindowSystem& ws, MessageBoxes& boxes, HotKeys& keys, const BridgeState& bridge)
        : ws_(ws), boxes_(boxes), keys_(keys), bridge_(bridge) {}
    ~EditorKey();
    EditorKey(const EditorKey&) = delete;
    EditorKey& operator=(const EditorKey&) = delete;

    // Takes the command line's choice; an unreadable one is said once and
    // leaves the toolbar without a key.
    void Start(const KeySetting& setting);
    // To be called whenever the foreground window may have changed.
    void Follow();

    // The editor's top-level window when it is in front: a "TEditWindow",
    // or under Lock to Window the locked control's top-level window. 0 otherwise.
    Hwnd EditorInFront();
    bool Registered() const { return registered_; }
    const std::optional<HotKey>& Key() const { return key_; }

private:
    WindowSystem& ws_;
    MessageBoxes& boxes_;
    HotKeys& keys_;
    const BridgeState& bridge_;
    std::optional<HotKey> key_;
    bool registered_ = false;
    bool toldTaken_ = false;
};

}  // namespace snipkit
