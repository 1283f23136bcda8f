// The program as a distribution ships it: the Debian package, checked by lintian, unpacked
// into a root of its own and started from there; and the hand install, its manifest and its
// undoing.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>

#include "program_on_desktop.h"
#include "unprivileged.h"

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

// Every path under `root`, folders too, relative to it; nothing when it does not exist.
std::set<std::string> PathsUnder(const fs::path& root) {
  std::set<std::string> paths;
  if (!fs::exists(root)) return paths;
  paths.insert(".");
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    paths.insert(entry.path().lexically_relative(root).string());
  }
  return paths;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Lay(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "not the program's\n";
}

class FromThePackage : public ProgramOnDesktop {
 protected:
  FromThePackage() { from_package_ = true; }
};

TEST_F(FromThePackage, PassesLintianThenStartsAndFillsFromWhereItIsUnpacked) {
  if (OnPath("lintian")) {
    const Outcome lint =
        RunTool({"lintian", "-I", "--pedantic", "--fail-on", "error", install_->package().string()},
                {}, 120s);
    EXPECT_EQ(lint.status, 0) << lint.out;
    // The binaries carry the distribution's hardening and no compiler notes. A Debug build
    // has no checked functions: they need the optimiser.
    std::istringstream tags(lint.out);
    for (std::string line; std::getline(tags, line);) {
      if (!E2E_OPTIMISED && line.find(" hardening-no-fortify-functions") != std::string::npos) {
        continue;
      }
      EXPECT_EQ(line.find(" hardening-"), std::string::npos) << line;
      EXPECT_EQ(line.find(" binary-has-unneeded-section"), std::string::npos) << line;
    }
  }
  const fs::path root = install_->prefix().parent_path();
  EXPECT_TRUE(WritableByOthers(root).empty()) << WritableByOthers(root).front();
  const std::set<std::string> files = FilesUnder(root);
  for (const char* file :
       {"usr/bin/colouring-book", "usr/lib/colouring-book/colouring-book",
        "usr/lib/colouring-book/MOVARI.EXE", "usr/lib/colouring-book/display-watcher",
        "usr/share/colouring-book/PICTURE/01.GIF", "usr/share/colouring-book/MAKER.HTML",
        "usr/share/applications/colouring-book.desktop",
        "usr/share/icons/hicolor/256x256/apps/colouring-book.png",
        "usr/share/metainfo/org.colouring_book.ColouringBook.metainfo.xml"}) {
    EXPECT_TRUE(files.contains(file)) << file;
  }
  for (const std::string& file : files) EXPECT_EQ(file.find("MY_PICTURE"), std::string::npos);
  // The display watcher's library comes from the binary, as the program's do.
  const Outcome depends = RunTool({"dpkg-deb", "-f", install_->package().string(), "Depends"});
  EXPECT_NE(depends.out.find("libxrandr2"), std::string::npos) << depends.out;

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

// `uninstall` removes what the hand installs laid and the folders they made, and nothing
// that was there before them: other programs' files, the user's own file in the program's
// folder and the folders holding them.
TEST(HandInstall, UndoingLeavesThePrefixAsItWas) {
  struct Case {
    const char* name;
    std::vector<std::string> there_before;
    int installs;
  };
  const std::vector<Case> cases = {
      {"into a prefix of its own", {}, 1},
      {"beside other files",
       {"bin/other", "share/applications/other.desktop", "share/colouring-book/PICTURE/MINE.GIF",
        "share/icons/hicolor/48x48/apps/other.png"},
       1},
      {"installed twice", {"share/man/man1/other.1.gz"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const fs::path prefix = temp.path() / "prefix";
    for (const std::string& file : c.there_before) Lay(prefix / file);
    const std::set<std::string> before = PathsUnder(prefix);
    std::optional<Installation> install;
    for (int i = 0; i < c.installs; ++i) install.emplace(prefix);
    ASSERT_TRUE(fs::exists(install->Command()));
    const std::string said = install->Undo();
    EXPECT_NE(said.find("Removed: " + install->Command().string()), std::string::npos) << said;
    EXPECT_EQ(PathsUnder(prefix), before);
    EXPECT_FALSE(fs::exists(Installation::RecordBeside(prefix)));
  }
}

// An install stopped half-way (here by a plain file where the manual's folder must go) is
// recorded as far as it went: `uninstall` leaves the prefix as it was before.
TEST(HandInstall, UndoingAnInstallStoppedHalfWayLeavesThePrefixAsItWas) {
  TempFolder temp;
  const fs::path prefix = temp.path() / "prefix";
  Lay(prefix / "share/man");
  Lay(prefix / "bin/other");
  const std::set<std::string> before = PathsUnder(prefix);
  std::string failure;
  const Installation install = Installation::Attempt(prefix, failure);
  ASSERT_FALSE(failure.empty()) << "the install went through";
  ASSERT_TRUE(fs::exists(install.Command())) << "the install stopped before laying anything:\n"
                                             << failure;
  const std::string said = install.Undo();
  EXPECT_EQ(PathsUnder(prefix), before) << said;
  EXPECT_FALSE(fs::exists(Installation::RecordBeside(prefix)));
}

// The record names what was laid, not the link it was laid through: with the link moved to
// another folder, `uninstall` empties the folder the install went into and leaves the other.
TEST(HandInstall, UndoingAnInstallThroughALinkRemovesWhatItLaidWhereverTheLinkLeads) {
  TempFolder temp;
  const fs::path first = temp.path() / "v1", second = temp.path() / "v2";
  const fs::path current = temp.path() / "current";
  fs::create_directories(first);
  Lay(second / "bin/colouring-book");
  Lay(second / "lib/colouring-book/colouring-book");
  Lay(second / "share/colouring-book/MAKER.HTML");
  const std::set<std::string> second_before = PathsUnder(second);
  fs::create_directory_symlink("v1", current);
  const Installation install(current);
  ASSERT_TRUE(fs::is_symlink(first / "bin/colouring-book"));
  fs::remove(current);
  fs::create_directory_symlink("v2", current);
  const std::string said = install.Undo();
  EXPECT_EQ(PathsUnder(first), std::set<std::string>{"."}) << said;
  EXPECT_EQ(PathsUnder(second), second_before) << said;
  EXPECT_FALSE(fs::exists(Installation::RecordBeside(current)));
}

// A user's install from a build folder after one through sudo finds the manifest that one
// left, which the user may not write; the install goes through all the same. The build
// folder, handed to an ordinary user with that manifest in it, is a private view of the
// build (an overlay in a mount namespace of the test's own), so other tests never see it.
TEST(HandInstall, AnotherUsersManifestInTheBuildFolderStopsNoInstall) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can play both users";
  TempFolder temp;
  const fs::path home = temp.path() / "home";
  fs::create_directories(home);
  test_support::GiveToUnprivileged(home);
  const std::string script = R"sh(build=$1 layers=$2 home=$3 cmake=$4
    { mount --make-rprivate / && mkdir -p "$layers" && mount -t tmpfs none "$layers" &&
      mkdir "$layers/upper" "$layers/work" &&
      mount -t overlay overlay -o "lowerdir=$build,upperdir=$layers/upper,workdir=$layers/work" \
        "$build"; } 2>&1 || exit 77
    echo "/usr/local/bin/colouring-book" > "$build/install_manifest.txt"
    chmod 644 "$build/install_manifest.txt"
    chown "$(id -u nobody)" "$build"
    exec setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
      env COLOURING_INSTALL_RECORD="$home/install_record.txt" \
      "$cmake" --install "$build" --prefix "$home/.local" 2>&1)sh";
  constexpr int kNoPrivateView = 77;
  const Outcome install =
      RunTool({"unshare", "-m", "sh", "-c", script, "sh", E2E_BUILD_DIR,
               (temp.path() / "layers").string(), home.string(), E2E_CMAKE_COMMAND},
              {}, 60s);
  if (install.status == kNoPrivateView)
    GTEST_SKIP() << "no private view of the build:\n" << install.out;
  EXPECT_EQ(install.status, 0) << install.out;
  EXPECT_TRUE(fs::exists(home / ".local/bin/colouring-book"));
  EXPECT_TRUE(fs::exists(home / "install_record.txt"));
}

// The package's staging install is no hand install: making the package leaves the hand
// install's record as it was, so that `uninstall` still removes the hand install and no file
// of the package's.
TEST(HandInstall, MakingThePackageLeavesTheRecordAlone) {
  TempFolder temp;
  const fs::path prefix = temp.path() / "prefix";
  const Installation install(prefix);
  const fs::path record = Installation::RecordBeside(prefix);
  const std::string recorded = Contents(record);
  ASSERT_NE(recorded.find(install.Command().string()), std::string::npos) << recorded;
  Installation::FromPackage(temp.path() / "package", record);
  // Stops before the undoing when the record names the package's paths.
  ASSERT_TRUE(Contents(record) == recorded) << "the package build rewrote the record";
  install.Undo();
  EXPECT_FALSE(fs::exists(prefix));
}

}  // namespace
}  // namespace e2e
