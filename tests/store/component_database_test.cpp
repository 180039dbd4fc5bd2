#include "store/component_database.h"
#include "store/recordset.h"
#include "store/settings.h"
#include "store_test_support.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace store {
namespace {

using test::TempDir;

using test::FakePrompts;
const std::pair<std::string, std::string> kNotFound{
    "Component Database Not Found\n\rOpen 'Components.mdb' Database", "Database Path ERROR"};

struct Fixture : ::testing::Test {
    TempDir dir;
    Settings settings{dir.file("settings.ini")};
    FakePrompts prompts;
    ComponentDatabase db;
};

using LoadDatabaseTest = Fixture;

TEST_F(LoadDatabaseTest, DefaultPathWithoutSettingOpensSilently)
{
    const std::string path = test::makeShipped(dir);
    db.LoadDatabase(settings, path, prompts);
    ASSERT_TRUE(db.isOpen());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(prompts.dialogs, 0);
    EXPECT_EQ(settings.dbPath(), std::nullopt) << "nothing is written";
    EXPECT_EQ(db.rstComps()->recordCount(), test::kShippedComponents);
    EXPECT_EQ(db.rstComps()->absolutePosition(), test::kShippedComponents - 1)
        << "moved to its last row";
    EXPECT_EQ(db.rstAntCos()->recordCount(), test::kShippedAntoineSets);
}

TEST_F(LoadDatabaseTest, FirstStartCreatesTheShippedDatabase)
{
    const std::string path = dir.file("data/Tavrel1/Components.mdb");
    db.LoadDatabase(settings, path, prompts);
    ASSERT_TRUE(db.isOpen());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(settings.dbPath(), std::nullopt);
}

// What a first start killed half-way leaves: build files of a dead process go, those of a
// live one stay; an empty file under the real name is provisioned, any other file is kept.
TEST_F(LoadDatabaseTest, FirstStartClearsLeftOversOfDeadStartsOnly)
{
    namespace fs = std::filesystem;
    pid_t dead = fork(); // a process id that is certainly free once reaped
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string deadBuild = "Components.mdb.new-" + std::to_string(dead) + "-1-2";
    const std::string liveBuild = "Components.mdb.new-" + std::to_string(getpid()) + "-3-4";
    struct Case {
        const char* name;
        std::string existing; // content of Components.mdb, "-" for none
        bool opens;
        int components; // when it opens
    };
    const Case cases[] = {
        {"no file", "-", true, test::kShippedComponents},
        {"empty file from an old race", "", true, test::kShippedComponents},
        {"non-empty file that is not a database", "keep me\n", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir d;
        const std::string path = d.file("Components.mdb");
        if (c.existing != "-")
            std::ofstream(path) << c.existing;
        for (const std::string& f : {deadBuild, deadBuild + "-journal", liveBuild})
            std::ofstream(d.file(f)) << "partial";
        Settings s(d.file("settings.ini"));
        FakePrompts p;
        ComponentDatabase cd;
        cd.LoadDatabase(s, path, p);
        EXPECT_EQ(cd.isOpen(), c.opens);
        if (c.opens) {
            EXPECT_EQ(cd.rstComps()->recordCount(), c.components);
        } else {
            std::ifstream in(path);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.existing);
        }
        cd.unload();
        EXPECT_FALSE(fs::exists(d.file(deadBuild)));
        EXPECT_FALSE(fs::exists(d.file(deadBuild + "-journal")));
        EXPECT_TRUE(fs::exists(d.file(liveBuild))) << "a live start keeps its files";
    }
}

TEST_F(LoadDatabaseTest, StoredPathIsUsedOverTheDefault)
{
    const std::string path = test::makeShipped(dir, "mine.mdb");
    settings.setDbPath(path);
    db.LoadDatabase(settings, dir.file("default-never-created.mdb"), prompts);
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.path(), path);
    EXPECT_FALSE(std::filesystem::exists(dir.file("default-never-created.mdb")));
}

TEST_F(LoadDatabaseTest, MissingFileAsksOnceAndRemembersTheChoice)
{
    struct Case {
        const char* name;
        std::string stored; // the stored path that has gone
    };
    const Case cases[] = {{"file gone", dir.file("gone.mdb")},
                          {"folder gone", dir.file("gone/Components.mdb")}};
    const std::string chosen = test::makeShipped(dir, "chosen.mdb");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.setDbPath(c.stored);
        FakePrompts first;
        first.answer = chosen;
        db.LoadDatabase(settings, dir.file("unused.mdb"), first);
        EXPECT_TRUE(db.isOpen());
        EXPECT_EQ(first.messages, (std::vector{kNotFound}));
        EXPECT_EQ(first.dialogs, 1);
        EXPECT_EQ(settings.dbPath(), chosen);

        FakePrompts next;
        ComponentDatabase again;
        again.LoadDatabase(settings, dir.file("unused.mdb"), next);
        EXPECT_TRUE(again.isOpen());
        EXPECT_TRUE(next.messages.empty());
        EXPECT_EQ(next.dialogs, 0);
    }
}

TEST_F(LoadDatabaseTest, FailureIsReportedOnceWithNumberAndDescription)
{
    std::ofstream(dir.file("text.mdb")) << "not a database\n";
    std::ofstream(dir.file("blocker")) << "a file where the default folder should be\n";
    struct Case {
        const char* name;
        std::optional<std::string> stored;
        std::string answer; // the dialog's answer, "" = cancelled
        int dialogs;        // the dialog is only for a missing file
        std::string storedAfter;
        int number;
    };
    const std::string gone = dir.file("gone.mdb");
    const std::string text = dir.file("text.mdb");
    const Case cases[] = {
        {"dialog cancelled", gone, "", 1, gone, kErrFileNotFound},
        {"chosen file not a database", gone, text, 1, text, kErrNotADatabase},
        {"stored file not a database", text, "", 0, text, kErrNotADatabase},
        // The default folder cannot be created (a file is in the way): ask, then give up with
        // the reason the system gave, not "its folder does not exist".
        {"first start, cannot create", std::nullopt, "", 1, dir.file("blocker/Components.mdb"),
         kErrCreate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s(dir.file(std::string(c.name) + ".ini"));
        if (c.stored)
            s.setDbPath(*c.stored);
        FakePrompts p;
        p.answer = c.answer;
        ComponentDatabase cd;
        cd.LoadDatabase(s, dir.file("blocker/Components.mdb"), p);
        EXPECT_FALSE(cd.isOpen());
        EXPECT_EQ(cd.rstComps(), nullptr);
        EXPECT_EQ(cd.rstAntCos(), nullptr);
        ASSERT_TRUE(cd.loadError());
        EXPECT_EQ(cd.loadError()->number, c.number);
        EXPECT_EQ(p.dialogs, c.dialogs);
        ASSERT_EQ(p.messages.size(), static_cast<std::size_t>(c.dialogs + 1));
        const auto& [prompt, title] = p.messages.back();
        EXPECT_EQ(title, "Tavrel1");
        EXPECT_NE(prompt.find("Error " + std::to_string(c.number) + ": "), std::string::npos)
            << prompt;
        if (c.number == kErrCreate) {
            EXPECT_NE(prompt.find("Not a directory"), std::string::npos) << prompt;
        }
        EXPECT_EQ(s.dbPath(), c.stored || c.dialogs ? std::optional(c.storedAfter) : std::nullopt);
        cd.unload(); // skips the unset handles
    }
}

TEST_F(LoadDatabaseTest, EmptyStoreOpens)
{
    const std::string path = test::makeDatabase(dir, "");
    db.LoadDatabase(settings, path, prompts);
    ASSERT_TRUE(db.isOpen());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(db.rstComps()->recordCount(), 0);
}

// --- faults: locks, read-only files, a writer killed half way ---------------------------

sqlite3* rawOpen(const std::string& path)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    return db;
}

TEST_F(LoadDatabaseTest, LockedLongerThanTheBusyTimeoutIsReported)
{
    const std::string path = test::makeShipped(dir);
    sqlite3* writer = rawOpen(path);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    db.LoadDatabase(settings, path, prompts, OpenOptions{100});
    ASSERT_TRUE(db.loadError());
    EXPECT_EQ(db.loadError()->number, kErrBusy);
    EXPECT_EQ(prompts.messages.size(), 1u);
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);

    ComponentDatabase later;
    later.LoadDatabase(settings, path, prompts, OpenOptions{100});
    EXPECT_TRUE(later.isOpen()) << "the lock is gone, the file is intact";
}

TEST(StoreFaults, WriteLockedBeyondTheTimeoutKeepsTheEdit)
{
    TempDir dir;
    const std::string path = test::makeShipped(dir);
    Database db = Database::open(path, OpenOptions{100});
    Recordset rs = db.openRecordset("qryCritCos");
    rs.moveFirst();
    rs.edit();
    rs.setField("CritTemp", 999.0);

    sqlite3* writer = rawOpen(path);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        rs.update();
        ADD_FAILURE() << "update succeeded under another connection's write lock";
    } catch (const StoreException& e) {
        EXPECT_EQ(e.number(), kErrBusy);
        EXPECT_EQ(e.description(), "database is locked");
    }
    EXPECT_EQ(rs.editMode(), Recordset::EditMode::Editing);
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    rs.update();
    rs.requery();
    EXPECT_EQ(rs.number("CritTemp"), 999.0);
}

TEST(StoreFaults, ReadOnlyFileReadsButRefusesWrites)
{
    TempDir dir;
    const std::string path = test::makeShipped(dir);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    if (access(path.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running as a user who can write read-only files (root)";
    ComponentDatabase cd = ComponentDatabase::open(path);
    Recordset rs = cd.dbComps()->openRecordset("qryCritCos");
    const std::optional<double> molWt = rs.number("MolWt");
    ASSERT_TRUE(molWt.has_value()) << "the read-only file was not read";
    rs.edit();
    rs.setField("MolWt", *molWt + 1.0);
    try {
        rs.update();
        ADD_FAILURE() << "a read-only file was written";
    } catch (const StoreException& e) {
        EXPECT_EQ(e.number(), kErrReadOnly);
    }
    rs.cancelUpdate();
    rs.requery();
    EXPECT_EQ(rs.number("MolWt"), molWt) << "the refused write changed what is read";
}

TEST(StoreFaults, KilledWriterLeavesOldOrNewRecord)
{
    TempDir dir;
    const std::string path = test::makeShipped(dir);
    const double original = [&] {
        Database db = Database::open(path);
        return *db.openRecordset("qryCritCos").number("CritTemp");
    }();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child updates the first record as fast as it can until it is killed.
        try {
            Database db = Database::open(path);
            Recordset rs = db.openRecordset("qryCritCos");
            for (int i = 0;; ++i) {
                rs.edit();
                rs.setField("CritTemp", i % 2 ? 111.0 : 222.0);
                rs.setField("CritPress", i % 2 ? 11.0 : 22.0);
                rs.update();
            }
        } catch (...) {
        }
        _exit(1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself before the kill";

    EXPECT_EQ(test::integrityCheck(path), "ok");
    Database db = Database::open(path);
    Recordset rs = db.openRecordset("qryCritCos");
    const double t = *rs.number("CritTemp");
    const double p = *rs.number("CritPress");
    EXPECT_TRUE((t == 111.0 && p == 11.0) || (t == 222.0 && p == 22.0) || t == original)
        << t << " " << p;
    EXPECT_EQ(rs.recordCount(), test::kShippedComponents);
}

} // namespace
} // namespace store
