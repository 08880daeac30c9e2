#include "about/help_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/app_error.h"
#include "fake_file_system.h"

namespace snipkit::testing {
namespace {

class FakeViewer : public HelpViewer {
public:
    bool works = true;
    std::vector<std::string> opened;
    bool Open(const std::string& path) override {
        opened.push_back(path);
        return works;
    }
};

TEST(Help, OpensThePageOrSaysItCannot) {
    const std::string page = "C:\\tools\\snipkit.htm";
    enum class Page { File, Missing, Folder };
    const struct {
        const char* name;
        Page page;
        bool viewerWorks;
        bool viewerAsked;
        const char* error;  // nullptr: none
    } rows[] = {
        {"page there", Page::File, true, true, nullptr},
        {"page missing", Page::Missing, true, false, "Cannot open file C:\\tools\\snipkit.htm."},
        {"a folder of that name", Page::Folder, true, false, "Cannot open file C:\\tools\\snipkit.htm."},
        {"the viewer fails", Page::File, false, true, "Cannot open file C:\\tools\\snipkit.htm."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        FakeFileSystem fs;
        if (r.page == Page::File) fs.files[page] = "<html>";
        if (r.page == Page::Folder) fs.dirs.insert(page);
        FakeViewer viewer;
        viewer.works = r.viewerWorks;
        std::string error;
        try {
            mnuHelpClick(fs, viewer, page);
        } catch (const AppError& e) {
            error = ErrorBoxText(e);
        }
        EXPECT_EQ(error, r.error ? r.error : "");
        EXPECT_EQ(viewer.opened, r.viewerAsked ? std::vector<std::string>{page} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace snipkit::testing
