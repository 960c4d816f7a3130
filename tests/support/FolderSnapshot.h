#pragma once
// Files on disk as text, for the tests of what a save leaves behind.
#include <string>
#include <vector>

// The bytes of a file; "<unreadable>" when it cannot be read.
std::string ReadBytes(const std::string& path);
// The names in a folder, sorted; none for a folder that is not there.
std::vector<std::string> Names(const std::string& folder);
// Every entry under `folder`, sorted, a line each: its path within the folder, where a link
// points, its permissions and, with `contents`, what a plain file holds (a long one by its
// size and hash).
std::string FolderSnapshot(const std::string& folder, bool contents = true);
