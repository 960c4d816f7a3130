#include "support/FolderSnapshot.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : "<unreadable>";
}

std::vector<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code missing;
    for (const auto& entry : fs::directory_iterator(folder, missing))
        names.insert(entry.path().filename().string());
    return {names.begin(), names.end()};
}

std::string FolderSnapshot(const std::string& folder, bool contents)
{
    std::set<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string line = entry.path().lexically_relative(folder).string() + ' '
                           + std::to_string(int(status.permissions()));
        if (fs::is_symlink(status))
            line += " -> " + fs::read_symlink(entry.path()).string();
        else if (contents && fs::is_regular_file(status)) {
            const std::string bytes = ReadBytes(entry.path());
            line += " = " + (bytes.size() <= 64 ? bytes : std::to_string(bytes.size()) + " bytes, hash "
                                                               + std::to_string(std::hash<std::string>()(bytes)));
        }
        lines.insert(line);
    }
    std::string snapshot;
    for (const std::string& line : lines)
        snapshot += line + '\n';
    return snapshot;
}
