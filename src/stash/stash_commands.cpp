#include "stash/stash_commands.h"

#include <algorithm>

#include "bridge/app_error.h"
#include "stash/snippet_format.h"

namespace snipkit {
namespace {

std::string FolderWithoutSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

}  // namespace

void StashStore::EnsureFolder() {
    const std::string path = FolderWithoutSlash(folder_);
    if (fs_.Exists(path) && !fs_.IsDirectory(path)) return;
    fs_.MakeDirectory(path);
}

bool StashStore::Save(const SaveFields& fields) {
    switch (CheckStashName(fields.name)) {
        case StashNameCheck::Empty:
            boxes_.MsgBox(kMsgNeedFileName, kCapCantSave);
            return false;
        case StashNameCheck::Refused:
            boxes_.MsgBox(RefusedStashNameMessage(fields.name), kCapCantSave);
            return false;
        case StashNameCheck::Usable:
            break;
    }
    const std::string path = StashFilePath(folder_, fields.name);
    // Windows would refuse the save's temporary file, 12 characters longer,
    // with no better word than "Cannot create file".
    if (!FitsWriteBytes(path)) {
        boxes_.MsgBox(TooLongStashNameMessage(fields.name), kCapCantSave);
        return false;
    }
    if (!fs_.WriteTextFile(path, SnippetFileContent(fields.desc, fields.memoText))) throw CannotCreateFile(path);
    return true;
}

std::vector<std::string> StashStore::List() {
    if (!fs_.IsDirectory(FolderWithoutSlash(folder_))) {
        EnsureFolder();
        return {};
    }
    std::vector<std::string> names = fs_.ListPlainFiles(folder_);
    // A save cut short is no snippet, whatever attributes its file kept.
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return IsWriteTempName(n); }),
                names.end());
    std::stable_sort(names.begin(), names.end(), order_);
    return names;
}

std::string StashStore::LoadPreview(const std::string& name) {
    const std::string path = folder_ + name;
    const FileRead r = fs_.ReadTextFile(path, kMaxPreviewBytes);
    if (r.status == FileRead::Status::TooLarge) throw TextExceedsMemoCapacity();
    if (r.status != FileRead::Status::Ok) throw CannotOpenFile(path);
    return PreviewText(r.text);
}

void butStashClick(EditorBridge& bridge, SaveDialog& dialog, SaveFields& fields, StashStore& store) {
    if (!bridge.CaptureSelection(true)) return;
    fields.memoText = bridge.State().WorkText;
    dialog.Show(fields, [&store](const SaveFields& f) { return store.Save(f); });
}

void butLoadClick(EditorBridge& bridge, StashDialog& dialog, StashStore& store) {
    if (!bridge.CaptureSelection(false)) return;
    const std::optional<std::string> preview = dialog.Show(store);
    if (!preview) return;
    std::string& work = bridge.State().WorkText;
    work = TakeSnippet(*preview);
    bridge.ReplaceSelection(work);
}

}  // namespace snipkit
