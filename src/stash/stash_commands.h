// Saving the selection into the stash and bringing a snippet back.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "bridge/file_system.h"
#include "stash/snippet_format.h"

namespace snipkit {

// Previews beyond this size are refused rather than cut.
inline constexpr std::uint64_t kMaxPreviewBytes = 64ull * 1024 * 1024;

struct SaveFields {
    std::string name;      // kept for the run
    std::string desc;      // kept for the run
    std::string memoText;  // refilled with the selection at every opening
};

// The order of the browser's names: true when a goes before b. The shell
// compares as Windows does for the user's locale, the tests as they choose.
using NameOrder = std::function<bool(const std::string& a, const std::string& b)>;

// The stash folder on disk: listing, reading and writing snippets.
class StashStore {
public:
    StashStore(FileSystem& fs, MessageBoxes& boxes, std::string appDir, NameOrder order)
        : fs_(fs), boxes_(boxes), folder_(std::move(appDir) + kStashFolderName), order_(std::move(order)) {}

    // AppDir + "stash\".
    const std::string& Folder() const { return folder_; }

    // Creates the folder unless a plain file of that name is in the way.
    void EnsureFolder();

    // Saves the dialog's fields. False after a message about the name (empty,
    // refused, or too long for Windows; the dialog then stays open); throws
    // AppError when the file cannot be written.
    bool Save(const SaveFields& fields);

    // The listed file names in the store's order; temporary files of saves
    // left out. Read afresh every time; a missing folder is
    // recreated quietly and lists nothing.
    std::vector<std::string> List();

    // The preview of a listed file: its text with every line break made CR LF.
    // Throws AppError when it cannot be opened or is too large.
    std::string LoadPreview(const std::string& name);

private:
    FileSystem& fs_;
    MessageBoxes& boxes_;
    std::string folder_;
    NameOrder order_;
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Shows the dialog modally. OK calls onOK with the fields as they stand;
    // the dialog closes only when it returns true (or on Cancel), and shows
    // the error box itself when onOK throws. Writes the fields back on close.
    virtual void Show(SaveFields& fields, const std::function<bool(const SaveFields&)>& onOK) = 0;
};

class StashDialog {
public:
    virtual ~StashDialog() = default;
    // Shows the browser modally on the store. Returns the preview text at
    // COPY or double-click, nothing on Cancel.
    virtual std::optional<std::string> Show(StashStore& store) = 0;
};

void butStashClick(EditorBridge& bridge, SaveDialog& dialog, SaveFields& fields, StashStore& store);
void butLoadClick(EditorBridge& bridge, StashDialog& dialog, StashStore& store);

}  // namespace snipkit
