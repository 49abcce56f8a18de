// The Qt side of the ports, on real files, a real settings file, a real PDF printer and a real lock.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <tuple>
#include <utility>
#include <functional>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "ShownWindow.h"
#include "platform/QtClockPort.h"
#include "platform/QtFilePort.h"
#include "platform/QtInstanceLock.h"
#include "platform/PlatformChoice.h"
#include "platform/QtSettingsPort.h"
#include "platform/QtSignalWatcher.h"
#include "window/KeyCodes.h"
#include "windows/MainWindow.h"

namespace qb {
namespace {

constexpr uid_t kNobody = 65534;

bool Read(QtFilePort& files, const std::string& path, std::string& bytes) {
    return files.ReadAll(path, bytes, 1 << 20) == ReadOutcome::Read;
}

// Hands the whole of a text to whoever writes it.
struct Whole final : ByteSource {
    explicit Whole(std::string_view b) : bytes(b) {}
    std::string_view Next() override { return std::exchange(bytes, std::string_view()); }
    std::string_view bytes;
};

const QFile::Permissions kReadable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                     QFile::ReadOther | QFile::ExeOther;

// A file's permission bits, or ~0 when there is no file.
unsigned ModeOf(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : ~0u;
}

// A fresh folder and the real file port, for the tests of files.
class Files : public ::testing::Test {
protected:
    std::string At(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
    QTemporaryDir dir;
    QtFilePort files;
};

// A save replaces the tape byte for byte and leaves nothing else in its folder: the file keeps
// its permissions, and the one temporary name it ever uses is hidden, told of first and gone
// after. A name that is a folder, or in a missing folder, is not written. A save through a link
// (one leading to another) replaces the file at its end, in that file's own folder; the links
// stay and neither folder keeps a copy.
TEST_F(Files, ASaveReplacesTheTapeByteForByteAndLeavesNothingBesideIt) {
    const std::string tape = At("Tape.QBX"), folder = dir.path().toStdString() + "/";
    std::vector<std::string> told;
    files.WatchTemporaries([&](const std::string& path) { told.push_back(path); });
    ASSERT_TRUE(files.WriteAll(tape, "QBX=first, and longer\r\n"));
    ASSERT_EQ(::chmod(tape.c_str(), 0640), 0);
    told.clear();
    const std::string bytes = "QBX=Caf\xE9\r\nACC=42.5\r\nOPR=+\r\nNEW=\r\nJPE=-1\r\nSPC=0\r\n            5.00 +\r\n";
    ASSERT_TRUE(files.WriteAll(tape, bytes));
    ASSERT_TRUE(files.SyncFolder(dir.path().toStdString()));
    std::string back;
    ASSERT_TRUE(Read(files, tape, back));
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(ModeOf(tape), 0640u);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind(At(".Tape.QBX-"), 0), 0u) << told[0];

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.QBX"));
    EXPECT_FALSE(files.WriteAll(folder + "folder.QBX", "QBX=new\r\n"));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.QBX")).isDir());
    EXPECT_FALSE(files.WriteAll(folder + "missing/folder/x.QBX", "x"));
    EXPECT_FALSE(Read(files, folder + "nothing.QBX", back));
    // Only files exist and are listed.
    EXPECT_TRUE(files.Exists(tape));
    EXPECT_FALSE(files.Exists(folder + "folder.QBX"));
    EXPECT_FALSE(files.Exists(folder + "nothing.QBX"));
    EXPECT_EQ(files.ListFiles(folder), std::vector<std::string>{"Tape.QBX"});
    EXPECT_TRUE(files.ListFiles(folder + "missing/").empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tape.QBX"});

    ASSERT_TRUE(QDir(dir.path()).mkpath("kept"));
    const std::string kept = At("kept/Kept.QBX"), near = At("Near.QBX"), far = At("Far.QBX");
    ASSERT_TRUE(files.WriteAll(kept, "QBX=first\r\n"));
    ASSERT_EQ(::symlink("kept/Kept.QBX", near.c_str()), 0);
    ASSERT_EQ(::symlink("Near.QBX", far.c_str()), 0);
    ASSERT_TRUE(files.WriteAll(far, "QBX=second\r\n"));
    ASSERT_TRUE(Read(files, kept, back));
    EXPECT_EQ(back, "QBX=second\r\n");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(far)).isSymLink());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(near)).isSymLink());
    EXPECT_EQ(QDir(dir.filePath("kept")).entryList(QDir::Files | QDir::Hidden), QStringList{"Kept.QBX"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"Far.QBX", "Near.QBX", "Tape.QBX"}));
}

// Runs check as a user who is not root, since root writes anywhere: when the test runs as root,
// in a child process that gives root up. The check's answer comes back as the exit status.
bool AsPlainUser(const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A tape the user may write is saved over whether its folder takes a temporary file or not (then
// in place, and made shorter), and nothing else is written beside it; a write the system stops
// half way (here at the size limit, as a full disk would) leaves the earlier file whole and says why.
TEST_F(Files, ATapeIsSavedOverWhateverItsFolderAllowsAndAWriteCutShortKeepsIt) {
    const QString open = dir.filePath("open"), closed = dir.filePath("closed");
    ASSERT_TRUE(QDir().mkdir(open) && QDir().mkdir(closed));
    std::vector<std::string> paths;
    for (const QString& folder : {open, closed}) {
        const std::string path = (folder + "/tape.QBX").toStdString();
        ASSERT_TRUE(files.WriteAll(path, "QBX=an older and longer caption\r\n"));
        QFile::setPermissions(QString::fromStdString(path), kReadable | QFile::WriteOwner | QFile::WriteOther);
        paths.push_back(path);
    }
    QFile::setPermissions(dir.path(), kReadable | QFile::WriteOwner | QFile::WriteOther);
    QFile::setPermissions(open, kReadable | QFile::WriteOwner | QFile::WriteOther);
    QFile::setPermissions(closed, kReadable);
    const bool held = AsPlainUser([&] {
        QtFilePort port;
        if (port.CanWriteIn(closed.toStdString()) || !port.CanWriteIn(open.toStdString())) return false;
        if (port.WriteAll((closed + "/other.QBX").toStdString(), "QBX=x\r\n")) return false;
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) return false;
        for (const std::string& path : paths) {
            std::string bytes;
            if (!port.WriteAll(path, "QBX=new\r\n") || !Read(port, path, bytes) || bytes != "QBX=new\r\n") return false;
            if (port.WriteAll(path, std::string(100000, 'x'))) return false;
            // The system's own words, in the desktop's language, as the messages take them (UTF-8).
            if (port.LastWriteError().find(std::strerror(EFBIG)) == std::string::npos) return false;
            if (!Read(port, path, bytes) || bytes != "QBX=new\r\n") return false;
        }
        return true;
    });
    EXPECT_TRUE(held);
    for (const QString& folder : {open, closed})
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"tape.QBX"});
    EXPECT_FALSE(files.CanWriteIn(paths[0]));  // a file is no folder
    QFile::setPermissions(closed, kReadable | QFile::WriteOwner);
}

// Reading stops at the limit, for a file that says its size and for a device that never ends.
TEST_F(Files, ReadingStopsAtTheLimit) {
    const std::string path = At("big.QBX");
    ASSERT_TRUE(files.WriteAll(path, std::string(1000, 'x')));
    const std::string fifo = At("pipe.QBX");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::uint64_t limit;
        ReadOutcome outcome;
        std::size_t size;
    };
    const Case cases[] = {
        {path, 1000, ReadOutcome::Read, 1000},
        {path, 999, ReadOutcome::TooLarge, 0},
        // No device, pipe or folder is read: one may never end, or never answer.
        {"/dev/zero", 1 << 20, ReadOutcome::Failed, 0},
        {fifo, 1 << 20, ReadOutcome::Failed, 0},
        {dir.path().toStdString(), 1 << 20, ReadOutcome::Failed, 0},
    };
    for (const Case& c : cases) {
        std::string bytes = "old";
        EXPECT_EQ(files.ReadAll(c.path, bytes, c.limit), c.outcome) << c.path << " " << c.limit;
        EXPECT_EQ(bytes.size(), c.size) << c.path << " " << c.limit;
    }
    // Nor is one written over: the pipe stays a pipe.
    EXPECT_FALSE(files.WriteAll(fifo, "QBX=\r\n"));
    EXPECT_FALSE(QFileInfo(QString::fromStdString(fifo)).isFile());
}

// What users of five locales type into the date box, and the day they mean ("" for no date).
TEST(Clock, DatesAreReadTheWayTheLocaleWritesThem) {
    struct Case {
        const char* locale;
        const char* typed;
        const char* meant;
    };
    const Case cases[] = {
        {"en_US", "7/4/99", "7/4/1999"},        {"en_US", "July 4, 1999", "7/4/1999"},
        {"en_US", "1999-07-04", "7/4/1999"},    {"en_US", "1/1/29", "1/1/2029"},
        {"en_US", "1/1/30", "1/1/1930"},        {"en_US", "2/30/2020", ""},
        {"en_US", "13/1/2020", ""},             {"en_US", "04.07.2024", ""},
        {"en_US", "7/4/999", ""},               {"en_US", "not a date", ""},
        {"en_US", "7/4", ""},                   {"en_US", "7/4-1999", ""},
        {"en_US", "12/31/00", "12/31/2000"},    {"en_GB", "4/7/24", "7/4/2024"},
        {"en_GB", "25/12/2024", "12/25/2024"},  {"en_GB", "12/25/2024", "12/25/2024"},
        {"en_GB", "4.7.24", "7/4/2024"},        {"en_GB", "4 July 2024", "7/4/2024"},
        {"en_GB", "29/2/2023", ""},             {"de_DE", "04.07.24", "7/4/2024"},
        {"de_DE", "4. Juli 2024", "7/4/2024"},  {"de_DE", "1.1.30", "1/1/1930"},
        {"de_DE", "7/4/99", "4/7/1999"},        {"de_DE", "31.02.2024", ""},
        {"de_DE", "12.25.2024", ""},            {"fr_FR", "14/07/89", "7/14/1989"},
        {"fr_FR", "4 juillet 2024", "7/4/2024"}, {"tr_TR", "4 Temmuz 2024", "7/4/2024"},
        {"tr_TR", "29.02.2024", "2/29/2024"},   {"tr_TR", "29.02.2023", ""},
        // Letters beyond the Western code page, as typed.
        {"tr_TR", "4 \xC5\x9E" "ub 2024", "2/4/2024"},  {"tr_TR", "4 A\xC4\x9Fu 24", "8/4/2024"},
        {"ja_JP", "2024\xE5\xB9\xB4" "7\xE6\x9C\x88" "4\xE6\x97\xA5", "7/4/2024"},
        // Two-digit years in every form; four-digit years are 1000 to 9999.
        {"en_US", "Jul 4, 24", "7/4/2024"},     {"de_DE", "4. Juli 24", "7/4/2024"},
        {"en_US", "0001-07-04", ""},            {"en_US", "7/4/0099", ""},
        // A two-digit year comes first only where the locale writes it so.
        {"ko_KR", "24. 7. 4.", "7/4/2024"},     {"ja_JP", "13/7/24", ""},
        {"ja_JP", "04.07.24", ""},              {"ja_JP", "2024/07/04", "7/4/2024"},
    };
    for (const Case& c : cases) {
        QtClockPort clock{QLocale(QString::fromLatin1(c.locale))};
        EXPECT_EQ(clock.ParseDate(c.typed).value_or(""), c.meant) << c.locale << ": " << c.typed;
    }
}

// The date box shows a kept date the locale's way, in ten characters at most, and reads it
// back as the same day.
TEST(Clock, AShownDateReadsBackAsTheSameDay) {
    const std::pair<const char*, const char*> shown[] = {
        {"en_US", "7/4/1999"}, {"de_DE", "04.07.1999"}, {"tr_TR", "4.07.1999"}, {"ja_JP", "1999/07/04"}};
    for (const auto& [locale, expected] : shown)
        EXPECT_EQ(QtClockPort(QLocale(QString::fromLatin1(locale))).ShowDate("7/4/1999"), expected) << locale;
    for (const char* locale : {"en_US", "C", "en_GB", "de_DE", "fr_FR", "tr_TR", "ja_JP", "ko_KR", "hu_HU", "ru_RU",
                               "nl_NL", "sv_SE", "ar_EG", "fa_IR", "zh_CN"}) {
        QtClockPort clock{QLocale(QString::fromLatin1(locale))};
        for (const char* date : {"1/1/2000", "12/31/1999", "2/29/2024", "7/4/1999", "10/11/2012", "3/2/2029"}) {
            const std::string text = clock.ShowDate(date);
            EXPECT_LE(text.size(), 10u) << locale << ": " << text;
            EXPECT_EQ(clock.ParseDate(text).value_or(""), date) << locale << ": " << text;
        }
    }
}

// The settings file: the program's own texts come back as written, a value edited by hand with
// commas and no quotes comes back as typed (blanks after its commas aside), and a file that
// cannot be written says so.
TEST(SettingsFile, ValuesComeBackAsWrittenAndAFailedWriteIsReported) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("the Quillbox.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nMemory=1,234.50\nLast%20Caption=a, b\n");
    file.close();
    QtSettingsPort port(path);
    EXPECT_EQ(port.Get("the Quillbox", "Settings", "Memory"), "1,234.50");
    EXPECT_EQ(port.Get("the Quillbox", "Settings", "Last Caption"), "a,b");
    EXPECT_EQ(port.Place(), path.toStdString());
    for (const std::string value : {"         1,234.5", "Caf\xe9 \x80, \"5\"", ""}) {
        EXPECT_TRUE(port.Save("the Quillbox", "Settings", "Memory", value));
        EXPECT_EQ(port.Get("the Quillbox", "Settings", "Memory"), value);
    }
    // Below a file, no folder can be made, not even for root.
    QtSettingsPort nowhere(dir.filePath(QStringLiteral("the Quillbox.ini/the Quillbox.ini")));
    EXPECT_FALSE(nowhere.Save("the Quillbox", "Settings", "Memory", "5"));
}

// A second copy is refused, and a copy that crashed does not block. No room for the lock (no
// runtime folder, a file where the folder should be, a folder where the lock should be, a folder
// the user may not write in): the copy starts without a lock.
TEST(InstanceLock, ASecondCopyIsRefusedAndNothingElseBlocks) {
    QTemporaryDir dir;
    const QString path = dir.filePath("the Quillbox.lock");
    {
        QtInstanceLock first(path);
        ASSERT_EQ(first.TryLock(), QtInstanceLock::Outcome::Locked);
        QtInstanceLock second(path);
        EXPECT_EQ(second.TryLock(), QtInstanceLock::Outcome::AnotherCopyRuns);
    }
    // A lock left by a process that is gone.
    ASSERT_TRUE(QtFilePort().WriteAll(path.toStdString(), "999999\nquillbox\nsomehost\n"));
    EXPECT_EQ(QtInstanceLock(path).TryLock(), QtInstanceLock::Outcome::Locked);

    ASSERT_TRUE(QtFilePort().WriteAll(dir.filePath("plain").toStdString(), ""));
    ASSERT_TRUE(QDir(dir.path()).mkdir("in the way.lock"));
    for (const char* lock : {"missing/the Quillbox.lock", "plain/the Quillbox.lock", "in the way.lock"})
        EXPECT_EQ(QtInstanceLock(dir.filePath(lock)).TryLock(), QtInstanceLock::Outcome::NoLock) << lock;
    const QString closed = dir.filePath("closed");
    ASSERT_TRUE(QDir().mkdir(closed));
    QFile::setPermissions(closed, kReadable);
    QFile::setPermissions(dir.path(), kReadable | QFile::WriteOwner);
    EXPECT_TRUE(AsPlainUser([&] {
        return QtInstanceLock(closed + "/the Quillbox.lock").TryLock() == QtInstanceLock::Outcome::NoLock;
    }));
}

TEST(Timers, NoTimerRunsWhileNothingIsTimed) {
    test::ShownWindow shown;
    auto* stopwatch = shown.Find<QTimer>("tmrStopwatch");
    EXPECT_FALSE(stopwatch->isActive());
    shown.Key(vk::F2, 0);
    EXPECT_TRUE(stopwatch->isActive());
    EXPECT_EQ(stopwatch->interval(), 100);
    shown.Key(vk::F2, 0);
    EXPECT_FALSE(stopwatch->isActive());
    // The sound's status timer runs only while a sound plays (the fake's sounds end at once).
    shown.machine.SoundStatusUpdate();
    shown.window.Render();
    EXPECT_FALSE(shown.Find<QTimer>("mmcAudio")->isActive());
}

// The recovery record's files: for the user alone, replaced whole, appended to where another
// process reads the lines at once, synced on request, never moved over another file and never
// followed through a link.
TEST_F(Files, PrivateFilesAreTheUsersAloneAndAppendedInPlace) {
    QtFilePort other;
    const std::string folder = At("state/the Quillbox") + "/";
    const std::string path = folder + "1-1.QBR";
    // Made, and when left open by another program, closed again.
    for (const mode_t before : {0u, 0755u}) {
        if (before) ::chmod(folder.c_str(), before);
        ASSERT_TRUE(files.MakePrivateFolder(folder));
        EXPECT_EQ(ModeOf(folder), 0700u) << before;
    }

    EXPECT_FALSE(files.AppendPrivate(path, "no record yet\r\n"));
    Whole first("QBR=\r\n");
    ASSERT_TRUE(files.WritePrivate(path, first));
    EXPECT_EQ(ModeOf(path), 0600u);
    std::string bytes = "QBR=\r\n", read;
    for (const char* line : {"+1\r\n", "+2\r\n"}) {
        ASSERT_TRUE(files.AppendPrivate(path, line));
        ASSERT_EQ(other.ReadPrivate(path, read, 1000), ReadOutcome::Read);
        bytes += line;
        EXPECT_EQ(read, bytes);
    }
    EXPECT_TRUE(files.SyncPrivate(path));
    EXPECT_FALSE(files.SyncPrivate(folder + "none.QBR"));
    EXPECT_EQ(files.ListFiles(folder), std::vector<std::string>{"1-1.QBR"});  // no temporary file left
    // Written afresh, the record is appended to as the new file.
    Whole afresh("QBR=x\r\n");
    ASSERT_TRUE(files.WritePrivate(path, afresh));
    ASSERT_TRUE(files.AppendPrivate(path, "+3\r\n"));
    ASSERT_EQ(other.ReadPrivate(path, read, 1000), ReadOutcome::Read);
    EXPECT_EQ(read, "QBR=x\r\n+3\r\n");

    const std::string second = folder + "2-2.QBR";
    QFile::copy(QString::fromStdString(path), QString::fromStdString(second));
    EXPECT_FALSE(files.Rename(path, second));
    ASSERT_TRUE(files.MakePrivateFolder(folder + "discarded/"));
    EXPECT_TRUE(files.Rename(second, folder + "discarded/9-2-2.QBR"));
    EXPECT_FALSE(files.Exists(second));
    EXPECT_TRUE(files.Remove(path));
    EXPECT_FALSE(files.Exists(path));

    // A link in the record's place is not written through.
    const std::string target = At("elsewhere");
    QFile::copy(QString::fromStdString(folder + "discarded/9-2-2.QBR"), QString::fromStdString(target));
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    EXPECT_FALSE(files.AppendPrivate(path, "+x\r\n"));
    ASSERT_TRUE(Read(files, target, bytes));
    EXPECT_EQ(bytes, "QBR=x\r\n+3\r\n");
}

// Nothing private is kept in, or read from, what is not the user's alone: a folder others may
// write in or a link to a folder, a record file open to others or a link to one.
TEST_F(Files, WhatIsNotTheUsersAloneIsNeverUsed) {
    const std::string shared = At("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    EXPECT_FALSE(files.MakePrivateFolder(shared + "/"));
    EXPECT_EQ(ModeOf(shared), 01777u);  // left as it was
    const std::string elsewhere = At("elsewhere");
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0755), 0);
    const std::string linked = At("linked");
    ASSERT_EQ(::symlink(elsewhere.c_str(), linked.c_str()), 0);
    EXPECT_FALSE(files.MakePrivateFolder(linked + "/"));
    EXPECT_EQ(ModeOf(elsewhere), 0755u);

    const std::string record = elsewhere + "/1-1.QBR";
    ASSERT_TRUE(files.WriteAll(record, "QBR=\r\n"));
    std::string bytes;
    for (const mode_t mode : {0644, 0660, 0400}) {
        ASSERT_EQ(::chmod(record.c_str(), mode), 0);
        EXPECT_EQ(files.ReadPrivate(record, bytes, 1000), ReadOutcome::NotPrivate) << mode;
    }
    ASSERT_EQ(::chmod(record.c_str(), 0600), 0);
    EXPECT_EQ(files.ReadPrivate(record, bytes, 1000), ReadOutcome::Read);
    EXPECT_EQ(bytes, "QBR=\r\n");
    const std::string link = elsewhere + "/2-2.QBR";
    ASSERT_EQ(::symlink(record.c_str(), link.c_str()), 0);
    EXPECT_EQ(files.ReadPrivate(link, bytes, 1000), ReadOutcome::NotPrivate);
    EXPECT_EQ(files.LockPrivate(link), LockOutcome::Failed);
}

// A record's lock is held by one holder at a time, even two in one process (where a lock of the
// process alone would let both through), and goes with the file when let go. (Held by a running
// copy and freed when it is killed: the recovery scripts run that end to end.)
TEST_F(Files, ALockIsHeldByOneHolderUntilItLetsGo) {
    const std::string lock = At("1-1.lock");
    QtFilePort other;
    EXPECT_EQ(files.LockPrivate(lock), LockOutcome::Held);
    EXPECT_EQ(other.LockPrivate(lock), LockOutcome::HeldElsewhere);
    files.UnlockPrivate(lock, true);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(lock)));
    EXPECT_EQ(other.LockPrivate(lock), LockOutcome::Held);
}

// The flush timer runs only while changes wait, and its tick puts them on the disk.
TEST(Timers, TheRecoveryTimerRunsOnlyWhileChangesWait) {
    QTemporaryDir dir;
    test::FakeMessagePort messages;
    QtFilePort files;
    Machine machine{Ports{messages, nullptr, nullptr, nullptr, &files}};
    const std::string folder = dir.filePath("the Quillbox").toStdString() + "/";
    machine.SetRecoveryPlace({folder, "1-1.QBR"});
    MainWindow window(machine, messages);
    machine.Load();
    window.show();
    window.FirstActivation();
    auto* timer = window.findChild<QTimer*>("tmrRecovery");
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    // The first line: the record written whole, and synced, at once; the next appended at once,
    // synced by the timer.
    for (const auto& [key, digit, written, timed] : {std::tuple{vk::Key5, '5', "            5.00 +\r\n", false},
                                                     std::tuple{vk::Key8, '8', "+            8.00 +\r\n", true}}) {
        machine.Key(key, 0, digit);
        machine.Key(0, 0, '+');
        window.Render();
        std::string bytes;
        ASSERT_TRUE(Read(files, folder + "1-1.QBR", bytes));
        EXPECT_NE(bytes.find(written), std::string::npos) << digit;
        EXPECT_EQ(timer->isActive(), timed) << digit;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 30000);
}

// Each signal that asks the program to end reaches the event loop instead of ending it.
TEST(Signals, EachSignalThatAsksTheProgramToEndIsHandledOnTheEventLoop) {
    QtSignalWatcher watcher;
    ASSERT_TRUE(watcher.Watching());
    std::vector<int> caught;
    QObject::connect(&watcher, &QtSignalWatcher::Caught, [&](int signal) { caught.push_back(signal); });
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        caught.clear();
        ASSERT_EQ(::raise(signal), 0);
        QTRY_COMPARE_WITH_TIMEOUT(caught.size(), std::size_t{1}, 30000);
        EXPECT_EQ(caught[0], signal);
    }
}

// Under Wayland with X beside it the program runs through X; else Qt chooses, and the user's
// choice always stands.
TEST(PlatformChoice, WaylandWithXRunsThroughX) {
    EXPECT_EQ(PlatformFor({false, true, true}), QByteArray("xcb;wayland"));
    for (const SessionDisplays others : {SessionDisplays{false, true, false}, SessionDisplays{false, false, true},
                                         SessionDisplays{true, true, true}, SessionDisplays{false, false, false}})
        EXPECT_EQ(PlatformFor(others), QByteArray()) << others.platformChosen << others.wayland << others.x11;
}

}  // namespace
}  // namespace qb
