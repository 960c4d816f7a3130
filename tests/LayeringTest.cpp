// The folders of src/ in layers, from the bottom up: a file includes only its own folder and
// folders below it, so no two folders include each other and the core, which links no Qt
// Widgets, never reaches a window. The README draws the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

const std::vector<std::string> kLayers = {
    "base", "files", "codec",
    "core/text", "core/formats", "core/surfaces", "core/settings", "core/sources", "core/compose",
    "core/transparency", "core/view", "core/document",
    "windows/system", "windows/dialogs", "windows/controls", "windows/options", "windows/view",
    "windows/main",
    "app", "batch"};

// The layer of a path under src/, or -1 when it lies in none.
int LayerOf(const std::string& path)
{
    int found = -1;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < kLayers.size(); ++i)
        if (path.rfind(kLayers[i] + '/', 0) == 0 && kLayers[i].size() > longest)
            found = int(i), longest = kLayers[i].size();
    return found;
}

TEST(Layering, EveryIncludeReachesItsOwnFolderOrOneBelow)
{
    const fs::path src = LAYERPIX_SOURCE_DIR "/src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp")
            continue;
        ++files;
        const std::string file = fs::relative(entry.path(), src).generic_string();
        const int layer = LayerOf(file);
        EXPECT_GE(layer, 0) << file << " lies in no layer";
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, include))
                continue;
            const int target = LayerOf(match[1]);
            EXPECT_GE(target, 0) << file << " includes " << match[1] << ", in no layer";
            EXPECT_LE(target, layer) << file << " includes " << match[1] << " from a layer above";
        }
    }
    EXPECT_GT(files, 100);
}

} // namespace
