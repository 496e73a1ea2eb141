// The architecture as the code has it: every #include under src/ is checked against the libraries each
// library may use, the plain libraries include no Qt header, and each library's code sits in its namespace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Library {
    std::string Namespace;
    bool Plain;                  // no Qt
    std::set<std::string> Uses;  // libraries (folders under src/) it may include, besides itself
};

// Dependencies point one way: a library may include those listed, never one above it.
const std::map<std::string, Library> kLibraries = {
    {"common", {"common", true, {}}},
    {"http", {"http", true, {"common"}}},
    {"harvest/markup", {"markup", true, {"common"}}},
    {"harvest/pages", {"pages", true, {"common", "harvest/markup"}}},
    {"images/gif", {"gif", true, {"common"}}},
    {"platform", {"platform", false, {"common"}}},
    {"images", {"images", false, {"common", "images/gif"}}},
    {"skin", {"skin", false, {"common"}}},
    {"skinctrls", {"skinctrls", false, {"common", "platform", "skin"}}},
    {"skindialogs", {"skindialogs", false, {"common", "platform", "skin", "skinctrls"}}},
    {"workbench", {"workbench", false, {"common", "platform", "skin", "skinctrls", "skindialogs"}}},
    {"harvest",
     {"harvest",
      false,
      {"common", "platform", "http", "harvest/pages", "skin", "skinctrls", "skindialogs", "workbench"}}},
    {"defaultskin", {"defaultskin", false, {}}},
    {"app",
     {"app",
      false,
      {"common", "platform", "http", "harvest", "harvest/pages", "images", "skin", "skinctrls", "skindialogs",
       "workbench", "defaultskin"}}},
};

const fs::path kSource = fs::path(DORVANEL_SOURCE_DIR) / "src";

// The library a folder under src/ belongs to: the longest listed folder that holds it.
std::string LibraryOf(const std::string& folder) {
    std::string best;
    for (const auto& [name, lib] : kLibraries)
        if ((folder == name || folder.rfind(name + "/", 0) == 0) && name.size() > best.size()) best = name;
    return best;
}

std::string FolderOf(const fs::path& file) { return fs::relative(file.parent_path(), kSource).generic_string(); }

}  // namespace

TEST(IncludeRules, EveryIncludeGoesDownTheMatrix) {
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    const std::regex ns(R"(^\}\s*// namespace dorvanel(::(\w+))?)");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSource)) {
        const fs::path& file = entry.path();
        if (file.extension() != ".h" && file.extension() != ".cpp") continue;
        ++files;
        const std::string lib = LibraryOf(FolderOf(file));
        ASSERT_FALSE(lib.empty()) << file << " lies in no library";
        const Library& rules = kLibraries.at(lib);
        std::ifstream in(file);
        std::string line;
        // The header's own namespace closes last; earlier blocks only forward-declare other libraries' classes.
        std::string lastNamespace;
        while (std::getline(in, line)) {
            std::smatch m;
            if (std::regex_search(line, m, include)) {
                const std::string target = m[2];
                if (m[1] == "<") {
                    EXPECT_FALSE(rules.Plain && target.size() > 1 && target[0] == 'Q')
                        << file << " is plain C++ and includes " << target;
                    continue;
                }
                const std::string used = LibraryOf(fs::path(target).parent_path().generic_string());
                EXPECT_TRUE(used == lib || rules.Uses.count(used))
                    << file << " (" << lib << ") may not include " << target << " (" << used << ")";
            } else if (std::regex_search(line, m, ns) && m[2].matched) {
                lastNamespace = m[2];
            }
        }
        if (file.extension() == ".h" && !lastNamespace.empty()) {
            EXPECT_EQ(lastNamespace, rules.Namespace) << file << " declares namespace dorvanel::" << lastNamespace;
        }
    }
    EXPECT_GT(files, 100);
}
