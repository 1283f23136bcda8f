// Reading pictures from disk and writing the canvas's picture back as a bitmap.
#include "platform/picture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/failure.h"
#include "platform/form.h"
#include "refused_sync.h"
#include "temp_folder.h"
#include "unprivileged.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;

// Every pixel differs from its neighbours in all three channels; the odd width makes rows
// that need padding in a bitmap.
Picture Pattern(int width, int height) {
  auto p = std::make_shared<PictureData>();
  p->width = width;
  p->height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      p->pixels.push_back(0xFF000000u | static_cast<std::uint32_t>((x * 37 + y) & 0xFF) << 16 |
                          static_cast<std::uint32_t>((y * 51 + x * 3) & 0xFF) << 8 |
                          static_cast<std::uint32_t>((x + y) * 13 & 0xFF));
    }
  }
  return p;
}

std::vector<std::string> Listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Pictures : public ::testing::Test {
 protected:
  Pictures() { form.Add(box); }
  test_support::TempFolder dir;
  PictureBox box{"box", 0, 0, 10, 10, 0};
  Form form{"pictures", 10, 10};
};

TEST_F(Pictures, FileThatIsNoPictureRaisesAndTheControlKeepsItsPicture) {
  const Picture old = platform_test::Solid(10, 10, 0xFF123456);
  box.SetPicture(old);
  fs::create_directories(dir / "folder.gif");
  const std::string paths[] = {
      dir / "missing.jpg",
      dir.Write("empty.jpg", ""),
      dir / "folder.gif",
      dir.Write("text.jpg", "this is no picture, only words"),
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_THROW(box.SetPicture(LoadPicture(path)), RuntimeError);
    EXPECT_EQ(box.GetPicture(), old);
  }
}

TEST_F(Pictures, LoadsAJpegByAWindowsStylePath) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 85, 85, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(s, nullptr);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 200, 40, 90));
  fs::create_directories(dir.path() / "Picture");
  ASSERT_EQ(IMG_SaveJPG(s, (dir / "Picture/Boje1_01.jpg").c_str(), 95), 0);
  SDL_FreeSurface(s);

  const std::string windows_path = dir.path().string() + "\\PICTURE\\\\BOJE1_01.JPG";
  const Picture p = LoadPicture(windows_path);
  ASSERT_EQ(p->width, 85);
  ASSERT_EQ(p->height, 85);
  EXPECT_EQ(p->source, windows_path);
  const std::uint32_t centre = p->pixels[42 * 85 + 42];
  EXPECT_NEAR(static_cast<int>(centre >> 16 & 0xFF), 200, 3);
  EXPECT_NEAR(static_cast<int>(centre >> 8 & 0xFF), 40, 3);
  EXPECT_NEAR(static_cast<int>(centre & 0xFF), 90, 3);
}

TEST_F(Pictures, BitmapReadsBackWithNoPixelChangedAndLeavesNoOtherFile) {
  const std::string path = dir.Write("MY_PICTURE/01.GIF", "an older picture");
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{7, 5}, {750, 600}, {1, 1}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const Picture saved = Pattern(w, h);
    SavePicture(saved, path);
    const std::string bytes = test_support::ReadAll(path);
    ASSERT_GE(bytes.size(), 30u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<int>(bytes[28]), 24) << "bits per pixel";
    const Picture read = LoadPicture(path);
    ASSERT_EQ(read->width, w);
    ASSERT_EQ(read->height, h);
    EXPECT_EQ(read->pixels, saved->pixels);
    EXPECT_EQ(Listing(dir.path() / "MY_PICTURE"), std::vector<std::string>{"01.GIF"});
  }
}

// A save cut off before its rename leaves its temporary file behind; the next save clears
// that and nothing else: no name a person gives a copy, no other name, no link, no folder, no
// other user's file, and no temporary young enough to be a save at work in a second copy of
// the program.
TEST_F(Pictures, ASaveClearsWhatAnInterruptedSaveLeftAndNothingElse) {
  const fs::path folder = dir.path() / "MY_PICTURE";
  const std::string path = dir.Write("MY_PICTURE/01.GIF", "an older picture");
  const std::string victim = dir.Write("victim.txt", "the user's own file");
  const auto make_old = [](const fs::path& file) {
    const timespec an_hour_ago = {::time(nullptr) - 3600, 0}, times[2] = {an_hour_ago, an_hour_ago};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << file;
  };
  const std::string left = ".01.GIF.saving-";
  make_old(dir.Write("MY_PICTURE/" + left + "q7ZmW2", std::string(5000, 'x')));
  std::vector<std::string> kept = {"01.GIF", left + "Fresh1", left + "Folder", left + "Linked"};
  for (const std::string& decoy : std::vector<std::string>{
           "01.GIF.backup", "01.GIF.before", "01.GIF.Monday", "01.GIF.sunset", "01.GIF.q7ZmW2",
           "01.GIF.bak", "01.GIF.saving-abcdef", "..01.GIF.saving-abcdef", left + "abcde",
           left + "1234567", left + "ab-def", ".02.GIF.saving-abcdef"}) {
    make_old(dir.Write("MY_PICTURE/" + decoy, "someone else's"));
    kept.push_back(decoy);
  }
  dir.Write("MY_PICTURE/" + left + "Fresh1", "a save at work");
  fs::create_directory(folder / (left + "Folder"));
  make_old(folder / (left + "Folder"));
  make_old(victim);
  fs::create_symlink(victim, folder / (left + "Linked"));
  make_old(folder / (left + "Linked"));
  if (::geteuid() == 0) {
    const std::string others = dir.Write("MY_PICTURE/" + left + "Others", "another user's");
    test_support::GiveToUnprivileged(others);
    make_old(others);
    kept.push_back(left + "Others");
  }
  std::sort(kept.begin(), kept.end());

  SavePicture(Pattern(5, 3), path);
  EXPECT_EQ(Listing(folder), kept);
  EXPECT_EQ(test_support::ReadAll(victim), "the user's own file");
  EXPECT_TRUE(fs::is_symlink(folder / (left + "Linked")));
  EXPECT_EQ(LoadPicture(path)->pixels, Pattern(5, 3)->pixels);
}

// Runs `body` on a thread of its own whose syncs the kernel refuses, the rest of the process
// untouched; false when it could not be refused.
bool WithSyncRefused(const std::function<void()>& body) {
  bool filtered = false;
  std::thread([&] {
    filtered = test_support::RefuseSyncOnThisThread();
    if (filtered) body();
    // SDL keeps its error text per thread; a thread SDL did not start gives it back itself.
    SDL_TLSCleanup();
  }).join();
  return filtered;
}

// A save whose data the disk did not take is refused as any failed write is: the old picture
// stays whole and the temporary goes.
TEST_F(Pictures, ASaveTheDiskDidNotSyncIsRefused) {
  const std::string old_bytes = "the picture saved last time";
  const std::string path = dir.Write("MY_PICTURE/01.GIF", old_bytes);
  std::string refusal;
  const bool filtered = WithSyncRefused([&] {
    try {
      SavePicture(Pattern(4, 4), path);
    } catch (const RuntimeError& e) {
      refusal = e.what();
    }
  });
  if (!filtered) GTEST_SKIP() << "this kernel takes no system call filter";
  EXPECT_NE(refusal.find("cannot write " + path), std::string::npos)
      << "the save went through: " << refusal;
  EXPECT_EQ(test_support::ReadAll(path), old_bytes);
  EXPECT_EQ(Listing(dir.path() / "MY_PICTURE"), std::vector<std::string>{"01.GIF"});
}

TEST_F(Pictures, FailedSaveLeavesTheOldFileWhole) {
  const std::string old_bytes = "the picture saved last time";
  const std::string path = dir.Write("MY_PICTURE/01.GIF", old_bytes);
  EXPECT_THROW(SavePicture(Pattern(4, 4), dir / "NO_SUCH_FOLDER/01.GIF"), RuntimeError);

  // The folder is made unwritable; a superuser ignores that, so the save runs in a child
  // process without those rights.
  fs::permissions(dir.path() / "MY_PICTURE", fs::perms::owner_read | fs::perms::owner_exec |
                                                 fs::perms::group_read | fs::perms::group_exec |
                                                 fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    try {
      SavePicture(Pattern(4, 4), path);
    } catch (const RuntimeError&) {
      ::_exit(0);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save went through; 2: another failure; 3: no "
                                       "unprivileged user";
  EXPECT_EQ(test_support::ReadAll(path), old_bytes);
  EXPECT_EQ(Listing(dir.path() / "MY_PICTURE"), std::vector<std::string>{"01.GIF"});
  fs::permissions(dir.path() / "MY_PICTURE", fs::perms::owner_all, fs::perm_options::add);
}

// Another user of the machine may write into the saving user's folder (as into a shared
// one): what that user leaves there must neither redirect the save nor survive into it. The
// saves run as an ordinary user, for whom file protections hold.
class SavingAmongOthers : public ::testing::Test {
 protected:
  SavingAmongOthers() {
    folder = dir.path() / "MY_PICTURE";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    test_support::GiveToUnprivileged(folder);
    // A file of the saving user's that a link could lead to.
    victim = dir.Write("victim.txt", "the saving user's own file");
    test_support::GiveToUnprivileged(victim);
    picture = (folder / "01.GIF").string();
  }
  // Runs the save as the ordinary user: 0 saved, 1 refused with a run-time failure.
  void Save(int expected) {
    const test_support::UnprivilegedRun run = test_support::RunUnprivileged([this] {
      try {
        SavePicture(Pattern(9, 7), picture);
        return 0;
      } catch (const RuntimeError&) {
        return 1;
      }
    });
    if (!run.ran) GTEST_SKIP() << run.why;
    EXPECT_EQ(run.status, expected) << "0: saved, 1: refused";
  }
  test_support::TempFolder dir;
  fs::path folder;
  std::string victim, picture;
};

TEST_F(SavingAmongOthers, LinksLeftInTheFolderLeadNowhere) {
  // The links point at the victim under the old fixed name of the temporary file and under
  // the picture's own name.
  fs::create_symlink(victim, folder / "01.GIF.saving");
  fs::create_symlink(victim, folder / "01.GIF");
  Save(0);
  if (HasFatalFailure() || IsSkipped()) return;
  EXPECT_EQ(test_support::ReadAll(victim), "the saving user's own file");
  EXPECT_FALSE(fs::is_symlink(picture)) << "the save went through the link";
  EXPECT_EQ(LoadPicture(picture)->pixels, Pattern(9, 7)->pixels);
  EXPECT_TRUE(fs::is_symlink(folder / "01.GIF.saving"));
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"01.GIF", "01.GIF.saving"}));
}

TEST_F(SavingAmongOthers, AReadOnlyPictureIsLeftAsItIs) {
  dir.Write("MY_PICTURE/01.GIF", "kept");
  test_support::GiveToUnprivileged(picture);
  fs::permissions(picture, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Save(1);
  EXPECT_EQ(test_support::ReadAll(picture), "kept");
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"01.GIF"});
}

TEST_F(SavingAmongOthers, EachSaveWritesFirstToAFreshUnguessableName) {
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_CREATE), 0);
  Save(0);
  Save(0);
  std::vector<std::string> made;
  alignas(inotify_event) char buffer[4096];
  for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(at);
      if (e->len > 0) made.emplace_back(e->name);
      at += sizeof(inotify_event) + e->len;
    }
  }
  ::close(watch);
  if (IsSkipped()) return;
  ASSERT_EQ(made.size(), 2u);
  EXPECT_NE(made[0], made[1]);
  for (const std::string& name : made) {
    EXPECT_NE(name, "01.GIF");
    EXPECT_NE(name, "01.GIF.saving");
    EXPECT_GE(name.size(), std::string("01.GIF.").size() + 6) << name << ": too short to guess";
  }
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"01.GIF"});
}

// Files are read at every use; only bytes identical to those last decoded skip the decoding,
// so a change, damage or removal shows at once.
TEST_F(Pictures, FileIsReadAtEveryUseAndOnlyTheSameBytesGiveTheSamePicture) {
  const std::string path = dir / "pic.bmp";
  SavePicture(platform_test::Solid(3, 2, 0xFF102030), path);
  std::ifstream in(path, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Picture first = LoadPicture(path);
  EXPECT_EQ(LoadPicture(path), first);

  SavePicture(platform_test::Solid(3, 2, 0xFF405060), path);
  EXPECT_EQ(LoadPicture(path)->pixels.at(0), 0xFF405060u);
  dir.Write("pic.bmp", good.substr(0, 20));
  for (int i = 0; i < 2; ++i) EXPECT_THROW(LoadPicture(path), RuntimeError) << "load " << i;
  fs::remove(path);
  EXPECT_THROW(LoadPicture(path), RuntimeError);
  dir.Write("pic.bmp", good);
  EXPECT_EQ(LoadPicture(path)->pixels.at(0), 0xFF102030u);
}

}  // namespace
