// What the command-line tool asks of the file system beyond the build's own
// files: what a path names, what a folder holds, and making output folders.
#pragma once

#include <string>
#include <vector>

namespace skyplate {

enum class PathKind { kNone, kFile, kFolder };

struct FolderEntry {
  std::string name;
  bool is_folder = false;  // a folder, or a link to one
  bool is_link = false;    // a symbolic link or, on Windows, any reparse point
};

// What `path` names, links followed.
PathKind KindOfPath(const std::string& path);

// The entries of `folder` ("." and ".." left out) in the order the system
// gives; false with a reason when it cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error);

// Makes `folder` and any missing folders above it; false with a reason.
bool MakeFolders(const std::string& folder, std::string* error);

// A path as typed on the command line, in the form the build takes: on
// Windows '/' becomes '\', the build's only separator besides ':'.
std::string CommandLinePath(std::string path);

// `name` inside `folder`, joined with the platform's separator unless
// `folder` is empty or already ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace skyplate

namespace skyplate {

// Whether a file can be made in `folder`, or in the nearest folder above it
// that exists when it is still to be made.
bool CanWriteIn(const std::string& folder);

// Whether the file at `path` is marked read-only.
bool IsReadOnlyFile(const std::string& path);

}  // namespace skyplate
