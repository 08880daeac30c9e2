// A dialog that records what it was shown and acts as the scripted user.
#pragma once

#include <functional>
#include <vector>

namespace snipkit::testing {

template <typename Interface, typename Fields>
class Scripted : public Interface {
public:
    std::function<bool(Fields&)> user = [](Fields&) { return true; };
    std::vector<Fields> seen;
    bool Show(Fields& f) override {
        seen.push_back(f);
        return user(f);
    }
};

}  // namespace snipkit::testing
