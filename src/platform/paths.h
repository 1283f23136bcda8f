#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Turns a path built the Windows way ("/HOME/ME/APP\PICTURE\01.GIF", sometimes with two
// backslashes in a row) into one this file system finds: backslashes become '/', repeated
// separators fold into one, and a component missing under its exact name is matched without
// regard to case. A component that matches nothing is kept as written. A drive letter with
// its colon stands for the root.
//
// A path that begins with the program directory, in whatever case, leads into the folders of
// the layout in use: the program directory itself as the file system spells it (never a
// folder beside it whose name differs only in case), the data folders where the layout keeps
// them, and MY_PICTURE to the picture folder. Only what follows is matched without regard
// to case.
std::string MapPath(std::string_view windows_path);

// Opens for reading the file MapPath names, and tells its path in `real`; the descriptor, or
// -1 with errno set. Never waits on a pipe or device with nothing to read.
int OpenMapped(std::string_view windows_path, std::string& real);

// Whether the system refuses the path MapPath names for its length (the whole path, or one
// folder or file name in it), rather than for anything about the file.
bool NameTooLong(std::string_view windows_path);

enum class FileRead {
  kRead,
  kNoFile,      // missing, empty, or no regular file
  kUnreadable,  // a file with something in it that gave nothing to read
  kTooLarge,    // longer than the caller takes; nothing of it was read
};
// Reads the whole of the regular file MapPath names into `bytes`, now, from the disk, if the
// open file's status gives it at most `largest` bytes.
FileRead ReadMappedFile(std::string_view windows_path, std::vector<unsigned char>& bytes,
                        std::uintmax_t largest);

// Where the program's folders really lie. In the build tree everything lies beside the
// program. Installed, the program lies in <prefix>/lib/colouring-book, the read-only data
// (PICTURE, SOUND, MUSIC, the web pages) in <prefix>/share/colouring-book, and each user's
// saved picture in $XDG_DATA_HOME/colouring-book/MY_PICTURE.
struct Layout {
  std::string program;   // the program directory, also of the companion program
  std::string data;      // PICTURE, SOUND, MUSIC, MAKER.HTML, PRODUCT.HTML
  std::string pictures;  // what the program calls MY_PICTURE
};

// A program of ours that lies in the program directory of the layout in use, by its file name.
std::string ProgramFile(std::string_view name);

// Everything in one directory, as in the build tree.
Layout LayoutBeside(const std::string& program_dir);
// The installed layout when ../../share/colouring-book beside the program directory holds
// the data, else everything beside the program.
Layout LayoutFor(const std::string& program_dir);
// The layout MapPath follows from now on.
void UseLayout(Layout layout);
// Makes the picture folder (mode 0700, and any missing folder above it) unless it lies in
// the program directory, where the data set brings it (and where nothing makes it again).
// False when it cannot be made: the folder is then missing, which printing handles.
bool MakePictureFolder(const Layout& layout);

}  // namespace platform
