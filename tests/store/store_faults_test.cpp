// Faults from outside the program: several copies starting at once on a fresh profile, a backup
// tool rewriting the file under a reader, hostile database files, permissions. Each case runs
// its risky part in a child process, so a crash or a hang shows as a failed case rather than
// ending the test program, and each stress run is bounded to a second or two.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/recordset.h"
#include "store/settings.h"
#include "store_test_support.h"
#include "ui/component_choice.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace store {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ChildOutcome;
using test::ChildProcesses;
using test::TempDir;

// A child that gets stuck is killed at this limit; the work itself takes well under it.
constexpr auto kChildLimit = 30s;

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string describe(const ChildOutcome& o)
{
    if (o.timedOut)
        return "still running at the limit";
    if (o.signal)
        return "killed by signal " + std::to_string(o.signal);
    return "exit " + std::to_string(o.code);
}

bool succeeded(const ChildOutcome& o) { return o.exited && o.code == 0; }

// --- several copies started at once on a fresh profile ----------------------------------------

TEST(StoreFaults, EveryProcessOpensTheOneDatabaseThatResults)
{
    struct Case {
        const char* name;
        int processes;
    };
    const Case cases[] = {{"two processes", 2}, {"six processes", 6}};
    // Rounds until the time is up (at least kMinRounds). Building the database under one
    // shared temporary name failed in most rounds: processes removed each other's file, or
    // left an empty one behind.
    constexpr auto kBudget = 1000ms;
    constexpr int kMinRounds = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        int rounds = 0;
        int failedProcesses = 0;
        int badRounds = 0;
        for (const auto end = std::chrono::steady_clock::now() + kBudget;
             rounds < kMinRounds || std::chrono::steady_clock::now() < end; ++rounds) {
            const fs::path profile = dir.path() / std::to_string(rounds);
            const std::string path = (profile / "Tavrel1" / "Components.mdb").string();
            ChildProcesses children;
            for (int i = 0; i < c.processes; ++i)
                children.start([&, i] {
                    Settings settings(
                        (profile / ("settings" + std::to_string(i) + ".ini")).string());
                    try {
                        ComponentDatabase db = openConfiguredDatabase(settings, path);
                        return db.rstComps()->recordCount() == test::kShippedComponents ? 0 : 2;
                    } catch (const StoreException& e) {
                        std::fprintf(stderr, "process %d: %s\n", i, e.what());
                        return 1;
                    }
                });
            for (const ChildOutcome& o : children.wait(kChildLimit))
                failedProcesses += !succeeded(o);
            // One complete database under its name, and no half-built file left beside it.
            std::vector<std::string> files;
            for (const auto& entry : fs::directory_iterator(profile / "Tavrel1"))
                files.push_back(entry.path().filename().string());
            bool valid = files == std::vector<std::string>{"Components.mdb"};
            try {
                valid = valid && ComponentDatabase::open(path).rstComps()->recordCount() ==
                                     test::kShippedComponents;
            } catch (const StoreException&) {
                valid = false;
            }
            badRounds += !valid;
        }
        EXPECT_EQ(failedProcesses, 0) << "in " << rounds << " rounds";
        EXPECT_EQ(badRounds, 0) << "of " << rounds << " rounds";
    }
}

// --- a backup copied over the file while it is read --------------------------------------------

TEST(StoreFaults, ReaderSeesErrorNumbersNeverASignal)
{
    TempDir dir;
    const std::string path = test::makeShipped(dir);
    const std::string before = fileBytes(path);
    {
        Database db = Database::open(path);
        Recordset rs = db.openRecordset("qryCritCos");
        rs.edit();
        rs.setField("CritTemp", 321.0);
        rs.update();
    }
    const std::string after = fileBytes(path); // another change counter: readers re-read
    constexpr auto kDuration = 1500ms;

    ChildProcesses children;
    // The reader does what the main window does: open, then rebuild the list again and again.
    children.start([&] {
        const auto numbered = [](const StoreError& e) {
            return e.number != 0 && !e.description.empty();
        };
        for (const auto end = std::chrono::steady_clock::now() + kDuration;
             std::chrono::steady_clock::now() < end;) {
            try {
                ComponentDatabase db = ComponentDatabase::open(path, OpenOptions{20});
                for (int i = 0; i < 20; ++i) {
                    VectorComponentList list;
                    core::MainViewModel vm;
                    const ListRebuild rebuilt = ui::showComponentList(db, list, vm);
                    if (rebuilt.error && !numbered(*rebuilt.error))
                        return 3;
                }
            } catch (const StoreException& e) {
                if (!numbered(e.error()))
                    return 3;
            }
        }
        return 0;
    });
    // The backup tool: truncate, then write the file in 4 KiB pieces as they arrive (a sync
    // tool writes what it downloads), so a reader often finds the file shorter than it was.
    children.start([&] {
        bool second = false;
        for (const auto end = std::chrono::steady_clock::now() + kDuration;
             std::chrono::steady_clock::now() < end; second = !second) {
            const std::string& bytes = second ? after : before;
            const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
            if (fd < 0)
                return 5;
            for (std::size_t at = 0; at < bytes.size(); at += 4096) {
                if (::write(fd, bytes.data() + at, std::min<std::size_t>(4096, bytes.size() - at)) <
                    0)
                    return 6;
                std::this_thread::sleep_for(50us);
            }
            ::close(fd);
        }
        return 0;
    });
    const std::vector<ChildOutcome> outcomes = children.wait(kChildLimit);
    EXPECT_TRUE(succeeded(outcomes[0])) << "reader: " << describe(outcomes[0]);
    EXPECT_TRUE(succeeded(outcomes[1])) << "rewriter: " << describe(outcomes[1]);
}

// --- hostile database files ----------------------------------------------------------------------

TEST(StoreFaults, OpeningIsBoundedAndReportedWithANumber)
{
    const std::string columns = "1.0 AS MolWt, 300.0 AS CritTemp, 40.0 AS CritPress, "
                                "250.0 AS CritVol, 0.2 AS AcentricF, NULL AS K1, NULL AS K2, "
                                "NULL AS K3";
    const std::string endless = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                "SELECT i AS CompID, printf('C%d', i) AS Component, " +
                                columns + " FROM n";
    OpenOptions fewRows;
    fewRows.maxRows = 1000;
    OpenOptions shortTime;
    shortTime.maxReadTime_ms = 200;
    struct Case {
        const char* name;
        std::string view; // the body of qryCritCos
        OpenOptions options;
    };
    const Case cases[] = {
        // With the program's own limits: stops at the bytes held, after a second or so.
        {"endless recursive view", endless, {}},
        {"endless view, row limit", endless, fewRows},
        {"a view that never gives a row", endless + " WHERE i < 0", shortTime},
        {"a stored name of 2 MB", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = test::makeDatabase(
            dir, c.view.empty()
                     ? "INSERT INTO tblComps (Component) VALUES (printf('%.*c', 2000000, 'x'));"
                     : "DROP VIEW qryCritCos; CREATE VIEW qryCritCos AS " + c.view + ";");
        const ChildOutcome o = test::runInChild(
            [&] {
                try {
                    ComponentDatabase::open(path, c.options);
                    return 1;
                } catch (const StoreException& e) {
                    if (e.number() == kErrReadLimit &&
                        e.description().find("'qryCritCos' was not read") != std::string::npos)
                        return 0;
                    std::fprintf(stderr, "%s\n", e.what());
                    return 2;
                }
            },
            kChildLimit);
        EXPECT_TRUE(succeeded(o)) << describe(o);
    }
}

// --- permissions -------------------------------------------------------------------------------

/// A child's result: 0 when ok, else 3 after showing the messages LoadDatabase gave.
int verdict(bool ok, const test::FakePrompts& prompts)
{
    if (ok)
        return 0;
    for (const auto& [text, title] : prompts.messages)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fprintf(stderr, "%d file dialog(s)\n", prompts.dialogs);
    return 3;
}

// The cases run as an unprivileged user: root may read any file.
struct PermissionTest : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    }
};

TEST_F(PermissionTest, DeniedIsToldApartFromNotFound)
{
    const std::string inLockedFolder = test::makeShipped(dir, "locked/Components.mdb");
    const std::string unreadable = test::makeShipped(dir, "unreadable.mdb");
    fs::permissions(dir.path() / "locked", fs::perms::none);
    fs::permissions(unreadable, fs::perms::none);
    struct Case {
        const char* name;
        std::string path;
        int expected;
    };
    const Case cases[] = {
        {"folder without permission", inLockedFolder, kErrPermissionDenied},
        {"file without read permission", unreadable, kErrPermissionDenied},
        {"not found", dir.file("missing.mdb"), kErrFileNotFound},
        {"folder not found", dir.file("missing/Components.mdb"), kErrPathNotValid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildOutcome o = test::runInChild(
            [&] {
                if (!test::dropRootPrivileges())
                    return 7;
                try {
                    ComponentDatabase::open(c.path);
                    return 1;
                } catch (const StoreException& e) {
                    if (e.number() == c.expected &&
                        e.description().find(c.path) != std::string::npos)
                        return 0;
                    std::fprintf(stderr, "%s\n", e.what());
                    return 2;
                }
            },
            kChildLimit);
        EXPECT_TRUE(succeeded(o)) << describe(o);
    }

    // The main window: no "not found" prompt and no file dialog, one message with the number.
    Settings settings(dir.file("settings.ini"));
    settings.setDbPath(inLockedFolder);
    const ChildOutcome o = test::runInChild(
        [&] {
            if (!test::dropRootPrivileges())
                return 7;
            test::FakePrompts prompts;
            ComponentDatabase db;
            db.LoadDatabase(settings, dir.file("unused.mdb"), prompts);
            return verdict(prompts.dialogs == 0 && prompts.messages.size() == 1 &&
                               prompts.messages[0].first.find("Error 3519: ") != std::string::npos,
                           prompts);
        },
        kChildLimit);
    EXPECT_TRUE(succeeded(o)) << describe(o);
}

// --- settings that cannot be read or written -------------------------------------------------

TEST_F(PermissionTest, SettingsFaultsAreSaidOnceAndTheStoreStillOpens)
{
    const std::string shipped = test::makeShipped(dir, "default/Components.mdb");
    const std::string chosen = test::makeShipped(dir, "chosen.mdb");

    // A settings file that names a database but may not be read: the default opens, and the
    // user is told why.
    const std::string unreadableIni = dir.file("unreadable.ini");
    std::ofstream(unreadableIni) << "[Startup]\nDBPath=" << chosen << "\n";
    fs::permissions(unreadableIni, fs::perms::none);
    ChildOutcome o = test::runInChild(
        [&] {
            if (!test::dropRootPrivileges())
                return 7;
            Settings settings(unreadableIni);
            test::FakePrompts prompts;
            ComponentDatabase db;
            db.LoadDatabase(settings, shipped, prompts);
            return verdict(db.isOpen() && db.path() == shipped && prompts.dialogs == 0 &&
                               prompts.messages.size() == 1 &&
                               prompts.messages[0].first.find("Error 3521: ") !=
                                   std::string::npos &&
                               prompts.messages[0].first.find(unreadableIni) != std::string::npos,
                           prompts);
        },
        kChildLimit);
    EXPECT_TRUE(succeeded(o)) << "unreadable settings: " << describe(o);

    // The file chosen in the dialog cannot be remembered (the settings folder is read-only):
    // it is opened anyway, and the user is told it will be asked for again.
    fs::create_directory(dir.path() / "readonly");
    fs::permissions(dir.path() / "readonly", fs::perms::owner_read | fs::perms::owner_exec |
                                                 fs::perms::others_read | fs::perms::others_exec);
    o = test::runInChild(
        [&] {
            if (!test::dropRootPrivileges())
                return 7;
            Settings settings(dir.file("readonly/settings.ini"));
            test::FakePrompts prompts;
            prompts.answer = chosen;
            ComponentDatabase db;
            db.LoadDatabase(settings, dir.file("nodefault/Components.mdb"), prompts);
            return verdict(db.isOpen() && db.path() == chosen && prompts.dialogs == 1 &&
                               prompts.messages.size() == 2 &&
                               prompts.messages[1].first.find("Error 3522: ") != std::string::npos,
                           prompts);
        },
        kChildLimit);
    EXPECT_TRUE(succeeded(o)) << "unsaved path: " << describe(o);
}

} // namespace
} // namespace store
