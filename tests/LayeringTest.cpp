// The folders of src/ in layers, from the bottom up: a file includes only its own folder and
// folders below it, so no two folders include each other and the core, which links no Qt
// Widgets, never reaches a window. The README draws the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

namespace {
namespace fs = std::filesystem;

const std::vector<std::string> kLayers = {
    "base", "files", "codec", "core/text", "core/formats", "core/surfaces", "core/settings",
    "core/sources", "core/compose", "core/transparency", "core/view", "core/document",
    "windows/system", "windows/dialogs", "windows/controls", "windows/options", "windows/view",
    "windows/main", "app", "batch"};

// The layer of a path under src/, or kLayers.size() when it lies in none. No layer's folder
// holds another's, so the first that holds the path is its own.
std::size_t LayerOf(const std::string& path)
{
    const auto in = [&path](const std::string& layer) { return path.starts_with(layer + '/'); };
    return std::size_t(std::find_if(kLayers.begin(), kLayers.end(), in) - kLayers.begin());
}

TEST(Layering, EveryIncludeReachesItsOwnFolderOrOneBelow)
{
    const fs::path src = LAYERPIX_SOURCE_DIR "/src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string file = fs::relative(entry.path(), src).generic_string();
        if (!file.ends_with(".h") && !file.ends_with(".cpp"))
            continue;
        ++files;
        EXPECT_LT(LayerOf(file), kLayers.size()) << file << " lies in no layer";
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, match, include))
                EXPECT_LE(LayerOf(match[1]), LayerOf(file)) << file << " includes " << match[1] << " from above";
    }
    EXPECT_GT(files, 100);
}
} // namespace
