// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps the user's data and finds its shipped files.
//
// Portable: the executable's folder holds a writable dat/ (an unpacked tarball, the build
// folder); everything lives beside the executable, as it always has.
// Read-only portable: the executable's folder holds a dat/ the user cannot write (an unpacked
// archive owned by another user); that folder's dat/, skins/ and help document are the shipped
// files, and the user's data goes where an installed program keeps it.
// Installed: the user's data goes to $XDG_DATA_HOME/quorin (~/.local/share/quorin), and the
// shipped read-only files are found at ../share/quorin/ from the executable, laid out like a
// portable folder (dat/ with the default INI files and the help document, skins/). Nothing
// is ever written into the installation tree.
// A settings file the user's dat/ lacks (it could not be seeded) is read from the shipped dat/.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorin::base {

enum class DataMode { kPortable, kReadOnlyPortable, kInstalled };

struct DataLocation {
  DataMode mode = DataMode::kPortable;
  std::string dataFolder;     // the user's dat/, Orlune_f/ and own skins/; ends in '/'
  std::string shippedFolder;  // the shipped dat/ defaults, help document and skins/; ends in '/'
};

// The environment the decision reads, so tests can give their own.
struct DataEnvironment {
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string home;         // $HOME, empty when unset
};

// The mode for an executable in `executableFolder`.
DataLocation DecideDataLocation(const std::string& executableFolder, const DataEnvironment& environment);
// The same with another test of whether the user may write into a folder (tests, where root
// may write everywhere).
using WritableFolderTest = std::function<bool(const std::string& folder)>;
DataLocation DecideDataLocation(const std::string& executableFolder, const DataEnvironment& environment,
                                const WritableFolderTest& writable);

// The shipped files that seed a new dat/ folder.
const std::vector<std::string>& SeededFiles();

// Creates the data folder's dat/ and copies in each seeded file the shipped dat/ has and the
// user's has not; files already there are never overwritten. Returns the program's message
// naming the folder when it cannot be made, empty otherwise (a seed that cannot be copied
// only leaves the defaults).
std::string PrepareDataFolder(const DataLocation& location);

// Decides the mode for the running executable and the process environment, points
// ProgramFolder() and ShippedFolder() at it and prepares the data folder. Returns the
// location and, in `problem`, the message of PrepareDataFolder.
DataLocation UseDataLocation(std::string* problem = nullptr);

// The folder of the shipped read-only files; the program folder until UseDataLocation or
// SetShippedFolder says otherwise.
std::string ShippedFolder();
void SetShippedFolder(std::string folder);

// The file `name` of the user's dat/ when it is there, else that of the shipped dat/ when that
// is there (read only: nothing could be seeded), else the user's.
std::string ReadableDataFile(const std::string& name);
// The file `name` of the shipped dat/.
std::string ShippedDataFile(const std::string& name);

// The folders skins are listed from: the shipped one, then the user's own (a skin in a later
// folder replaces one of the same name). One folder when both are the same.
std::vector<std::string> SkinFolders();

}  // namespace quorin::base
