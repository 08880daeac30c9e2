// A scripted desktop for the bridge and command tests: windows with class
// names and children, edit controls that copy, paste and undo like the real
// editor, a clipboard that other programs can hold, a clock that moves only
// when the bridge waits or the editor handles a message, and recorded message boxes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bridge/window_system.h"

namespace snipkit::testing {

struct FakeWindow {
    std::string className;
    std::string title;
    std::vector<Hwnd> children;
    Hwnd parent = 0;
    bool alive = true;
    bool ownProcess = false;
    // Edit-control behaviour.
    std::string text;
    std::size_t selStart = 0, selEnd = 0;
    std::string undoText;
    bool copiesText = true;  // false: a copy puts another format alone (a picture, say) on the clipboard
};

struct SentMessage {
    Hwnd to;
    EditMessage message;
    bool operator==(const SentMessage& o) const { return to == o.to && message == o.message; }
};

class FakeWindowSystem : public WindowSystem {
public:
    Hwnd AddWindow(const std::string& className, Hwnd parent = 0, const std::string& title = "") {
        const Hwnd h = next_++;
        FakeWindow w;
        w.className = className;
        w.title = title;
        w.parent = parent;
        windows_[h] = w;
        if (parent != 0) windows_[parent].children.push_back(h);
        return h;
    }
    FakeWindow& Window(Hwnd h) { return windows_.at(h); }
    void Destroy(Hwnd h) { windows_.at(h).alive = false; }
    void SetSelection(Hwnd h, const std::string& text, std::size_t start, std::size_t end) {
        auto& w = windows_.at(h);
        w.text = text;
        w.selStart = start;
        w.selEnd = end;
    }
    void SetClipboard(const std::string& text) {
        clipText_ = text;
        clipHasText_ = true;
        Changed();
    }
    void SetClipboardWithoutText() {
        clipText_.clear();
        clipHasText_ = false;
        Changed();
    }

    // Another program holds the clipboard open from `from` until just before `until`.
    struct Hold {
        std::uint64_t from, until;
    };
    bool Held() const {
        if (clipboardBusy) return true;
        for (const Hold& h : holds) {
            if (now >= h.from && now < h.until) return true;
        }
        return false;
    }

    Hwnd foreground = 0;
    bool clipboardBusy = false;  // held for good
    std::vector<Hold> holds;
    // A clipboard history tool: listenerWakeMs after every change it opens the
    // clipboard and keeps it for listenerHoldMs (0: no such tool).
    unsigned listenerWakeMs = 2;
    unsigned listenerHoldMs = 0;
    // How long the editor keeps the clipboard open for a copy.
    unsigned copyMs = 0;
    std::uint64_t now = 0;
    unsigned editorDelayMs = 1;  // how long the editor takes to get to a message
    std::vector<unsigned> waits;  // every wait of the bridge, in order
    bool clipHasText() const { return clipHasText_; }
    const std::string& clipText() const { return clipText_; }
    std::vector<SentMessage> sent;
    std::vector<Hwnd> raised;

    Hwnd ForegroundWindow() override { return foreground; }
    bool IsWindow(Hwnd w) override {
        auto it = windows_.find(w);
        return it != windows_.end() && it->second.alive;
    }
    bool IsOwnProcessWindow(Hwnd w) override { return IsWindow(w) && windows_[w].ownProcess; }
    std::string ClassName(Hwnd w) override { return IsWindow(w) ? windows_[w].className.substr(0, 98) : ""; }
    std::string WindowTitle(Hwnd w, std::size_t maxChars) override {
        return IsWindow(w) ? windows_[w].title.substr(0, maxChars) : "";
    }
    Hwnd Parent(Hwnd w) override { return IsWindow(w) ? windows_[w].parent : 0; }
    Hwnd FirstChild(Hwnd w) override {
        if (!IsWindow(w) || windows_[w].children.empty()) return 0;
        return windows_[w].children.front();
    }
    Hwnd NextSibling(Hwnd w) override {
        if (!IsWindow(w) || windows_[w].parent == 0) return 0;
        const auto& siblings = windows_[windows_[w].parent].children;
        for (std::size_t i = 0; i + 1 < siblings.size(); ++i) {
            if (siblings[i] == w) return siblings[i + 1];
        }
        return 0;
    }
    Hwnd TopLevelOf(Hwnd w) override {
        if (!IsWindow(w)) return 0;
        while (windows_[w].parent != 0) w = windows_[w].parent;
        return w;
    }
    void Send(Hwnd to, EditMessage m) override {
        sent.push_back({to, m});
        if (!IsWindow(to)) return;
        now += editorDelayMs;
        FakeWindow& w = windows_[to];
        switch (m) {
            case EditMessage::Copy:
                // Like an edit control, which opens the clipboard itself: nothing
                // selected, or the clipboard held by another program, copies nothing.
                if (w.selEnd > w.selStart && !Held()) {
                    if (w.copiesText) {
                        SetClipboard(w.text.substr(w.selStart, w.selEnd - w.selStart));
                    } else {
                        SetClipboardWithoutText();
                    }
                }
                now += copyMs;
                break;
            case EditMessage::Paste:
                if (!clipHasText_ || Held()) break;
                w.undoText = w.text;
                w.text = w.text.substr(0, w.selStart) + clipText_ + w.text.substr(w.selEnd);
                w.selStart = w.selEnd = w.selStart + clipText_.size();
                textTaken_ = true;
                break;
            case EditMessage::Undo:
                std::swap(w.text, w.undoText);
                break;
        }
    }
    void RaiseWindow(Hwnd w) override { raised.push_back(w); }
    std::uint32_t ClipboardSequence() override { return sequence_; }
    // A look every millisecond; the time passes as the bridge's waits do, unrecorded.
    bool ClipboardStaysFree(unsigned ms) override {
        for (const std::uint64_t until = now + ms;; ++now) {
            if (Held()) return false;
            if (now >= until) return true;
        }
    }
    bool EmptyClipboard() override {
        if (Held()) return false;
        clipText_.clear();
        clipHasText_ = false;
        Changed();
        return true;
    }
    ClipboardText ReadClipboardText() override {
        ClipboardText r;
        if (Held()) {
            r.busy = true;
            return r;
        }
        r.hasText = clipHasText_;
        r.text = clipText_;
        return r;
    }
    bool WriteClipboardText(const std::string& text) override {
        if (Held()) return false;
        SetClipboard(text);
        textTaken_ = false;
        textKept_ = false;
        return true;
    }
    bool ClipboardTextTaken() override { return textTaken_; }
    void KeepClipboardText() override { textKept_ = true; }
    // Our last text is on the clipboard for good: taken by a program, or handed over.
    bool ClipboardTextKept() const { return textKept_ || textTaken_; }
    std::uint64_t Milliseconds() override { return now; }
    void Wait(unsigned ms) override {
        waits.push_back(ms);
        now += ms;
    }

private:
    void Changed() {
        ++sequence_;
        if (listenerHoldMs > 0) holds.push_back({now + listenerWakeMs, now + listenerWakeMs + listenerHoldMs});
    }

    std::map<Hwnd, FakeWindow> windows_;
    Hwnd next_ = 0x100;
    std::string clipText_;
    bool clipHasText_ = false;
    bool textTaken_ = true;  // a text written through WriteClipboardText was pasted
    bool textKept_ = true;
    std::uint32_t sequence_ = 1;
};

struct ShownBox {
    std::string text, caption;
    bool operator==(const ShownBox& o) const { return text == o.text && caption == o.caption; }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<ShownBox> shown;
    int answer = kIdCancel;
    std::function<void()> whileShown;  // what other programs do while the user reads a box
    void MsgBox(const std::string& text, const std::string& caption) override { Show(text, caption); }
    int MsgBoxYesNoCancel(const std::string& text, const std::string& caption) override {
        Show(text, caption);
        return answer;
    }

private:
    void Show(const std::string& text, const std::string& caption) {
        shown.push_back({text, caption});
        if (whileShown) whileShown();
    }
};

// An IDE editor window with its editing control, and the toolbar's bridge.
struct Desk {
    FakeWindowSystem ws;
    FakeMessageBoxes boxes;
    Hwnd editWindow = ws.AddWindow("TEditWindow", 0, "Unit1.pas");
    Hwnd otherChild = ws.AddWindow("TPanel", editWindow);
    Hwnd editControl = ws.AddWindow("TEditControl", editWindow);
    Hwnd otherApp = ws.AddWindow("Notepad", 0, "notes");
};

}  // namespace snipkit::testing
