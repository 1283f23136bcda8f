// The program as a distribution ships it: the Debian package, checked by lintian, unpacked
// into a root of its own and started from there; and the hand install's manifest.
#include <sys/stat.h>

#include <fstream>
#include <set>

#include "program_on_desktop.h"

namespace e2e {
namespace {

// Every file and link under `root`, relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_directory() || entry.is_symlink()) {
      files.insert(entry.path().lexically_relative(root).string());
    }
  }
  return files;
}

// Folders under `root` that someone other than their owner may write into.
std::vector<std::string> WritableByOthers(const fs::path& root) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat st;
    if (::lstat(entry.path().c_str(), &st) == 0 && !S_ISLNK(st.st_mode) &&
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

class FromThePackage : public ProgramOnDesktop {
 protected:
  FromThePackage() { from_package_ = true; }
};

TEST_F(FromThePackage, PassesLintianThenStartsAndFillsFromWhereItIsUnpacked) {
  if (OnPath("lintian")) {
    const Outcome lint =
        RunTool({"lintian", "--fail-on", "error", install_->package().string()}, {}, 120s);
    EXPECT_EQ(lint.status, 0) << lint.out;
  }
  const fs::path root = install_->prefix().parent_path();
  EXPECT_TRUE(WritableByOthers(root).empty()) << WritableByOthers(root).front();
  const std::set<std::string> files = FilesUnder(root);
  for (const char* file :
       {"usr/bin/colouring-book", "usr/lib/colouring-book/colouring-book",
        "usr/lib/colouring-book/MOVARI.EXE", "usr/share/colouring-book/PICTURE/01.GIF",
        "usr/share/colouring-book/MAKER.HTML", "usr/share/applications/colouring-book.desktop",
        "usr/share/icons/hicolor/256x256/apps/colouring-book.png",
        "usr/share/metainfo/org.colouring_book.ColouringBook.metainfo.xml"}) {
    EXPECT_TRUE(files.contains(file)) << file;
  }
  for (const std::string& file : files) EXPECT_EQ(file.find("MY_PICTURE"), std::string::npos);

  ASSERT_NO_FATAL_FAILURE(Launch());
  struct stat st;
  const fs::path pictures = SavedPicture().parent_path();
  ASSERT_EQ(::stat(pictures.c_str(), &st), 0) << "no picture folder made at start-up";
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  const Image start = CanvasShot();
  const Fill fill = FillLargestArea(start);
  ASSERT_TRUE(fill.after) << "the fill changed nothing";
  EXPECT_TRUE(FilledArea(start, *fill.after, fill.area, kRed));
}

TEST(HandInstall, TheManifestListsEveryFileItLays) {
  TempFolder temp;
  const Installation install(temp.path() / "prefix");
  // Installs running side by side share the build's manifest; its lines are compared with
  // this prefix whichever prefix wrote them last.
  std::ifstream manifest(fs::path(E2E_BUILD_DIR) / "install_manifest.txt");
  std::set<std::string> listed;
  std::string prefix_of_lines;
  std::vector<std::string> lines;
  for (std::string line; std::getline(manifest, line);) {
    lines.push_back(line);
    const std::string command = "/bin/colouring-book";
    if (line.size() > command.size() && line.ends_with(command)) {
      prefix_of_lines = line.substr(0, line.size() - command.size());
    }
  }
  ASSERT_FALSE(prefix_of_lines.empty()) << "the manifest lacks the command in bin/";
  for (const std::string& line : lines) listed.insert(line.substr(prefix_of_lines.size() + 1));
  EXPECT_EQ(listed, FilesUnder(install.prefix()));
  EXPECT_TRUE(WritableByOthers(install.prefix()).empty());
}

}  // namespace
}  // namespace e2e
