// One solve reads one version of the file: the constants and the Antoine set of a component
// come from the same commit of another process, in the command line's path and the window's.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store_test_support.h"
#include "ui/component_choice.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

namespace store {
namespace {

using test::TempDir;

// Version v of the probe component: CritTemp 500 + v with AntA v, written in one transaction.
constexpr int kTcOffset = 500;
const std::string kProbe = "Probe";

std::string probeInserts(int key, int version)
{
    return "INSERT INTO tblComps (CompID, Component, CritTemp, CritPress) VALUES (" +
           std::to_string(key) + ", '" + kProbe + "', " + std::to_string(kTcOffset + version) +
           ", 40);INSERT INTO tblAntoine (CompID, AntA, AntB, AntC) VALUES (" +
           std::to_string(key) + ", " + std::to_string(version) + ", 3000, 220);";
}

/// Writes versions 1, 2, ... until the deadline: most change both rows in place; every third
/// deletes the component and adds it again under a new key, as a merge or an editor and a
/// script would. Returns 0 after at least a few commits.
int writeVersions(const std::string& path, std::chrono::milliseconds duration)
{
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    sqlite3_busy_timeout(raw, 10'000);
    const auto run = [&](const std::string& sql) {
        return sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    };
    const auto deadline = std::chrono::steady_clock::now() + duration;
    int version = 1;
    int key = 1;
    for (; std::chrono::steady_clock::now() < deadline; ++version) {
        std::string sql = "BEGIN IMMEDIATE;";
        if (version % 3 == 0) {
            sql += "DELETE FROM tblAntoine WHERE CompID = " + std::to_string(key) +
                   ";DELETE FROM tblComps WHERE CompID = " + std::to_string(key) + ";";
            sql += probeInserts(++key, version);
        } else {
            sql += "UPDATE tblComps SET CritTemp = " + std::to_string(kTcOffset + version) +
                   " WHERE Component = '" + kProbe +
                   "';UPDATE tblAntoine SET AntA = " + std::to_string(version) +
                   " WHERE CompID = " + std::to_string(key) + ";";
        }
        if (!run(sql + "COMMIT;"))
            return 2;
        // A short pause between commits, as any real writer has: without it the writer takes
        // the lock straight back and readers starve instead of racing it.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    sqlite3_close(raw);
    return version > 10 ? 0 : 3;
}

struct Answers {
    int reads = 0;
    int mixed = 0;     // constants of one version, Antoine set of another
    int noAntoine = 0; // the component found without its Antoine set
};

void tally(Answers& a, const core::MainViewModel& vm)
{
    ++a.reads;
    const state::CalcState& s = vm.state();
    if (!s.flags.AntoineAvailable)
        ++a.noAntoine;
    else if (s.constants.CritTemp - static_cast<float>(kTcOffset) != s.antoine.AntA)
        ++a.mixed;
}

TEST(ReadSnapshot, ASolveNeverMixesTwoVersionsOfAComponent)
{
    TempDir dir;
    const std::string path = test::makeDatabase(dir, probeInserts(1, 0));
    test::ChildProcesses writer;
    writer.start([&] { return writeVersions(path, std::chrono::milliseconds(1500)); });
    writer.release();

    // The command line's path (one database, a component looked up by name) and the window's
    // (the list rebuilt on focus, the entry loaded when it loses focus), side by side.
    ComponentDatabase cliDb = ComponentDatabase::open(path);
    ComponentDatabase windowDb = ComponentDatabase::open(path);
    VectorComponentList list;
    Answers cli, window;
    // Read for the writer's whole run; on a loaded machine (sanitizers, parallel tests) go on
    // until each path has read often enough to have raced it, within a bound.
    const auto start = std::chrono::steady_clock::now();
    const auto reading = [&] {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const bool enough = cli.reads > 20 && window.reads > 20;
        return elapsed < std::chrono::milliseconds(1200) ||
               (!enough && elapsed < std::chrono::seconds(15));
    };
    while (reading()) {
        core::MainViewModel vm;
        if (test::chooseByName(cliDb, kProbe, vm))
            tally(cli, vm);
        core::MainViewModel wvm;
        ui::showComponentList(windowDb, list, wvm);
        list.current = 0;
        if (ui::takeSelectedComponent(windowDb, list, wvm))
            tally(window, wvm);
    }
    const test::ChildOutcome done = writer.wait(std::chrono::seconds(20)).front();
    EXPECT_TRUE(done.exited && done.code == 0) << done.code;
    for (const auto& [name, a] : {std::pair{"command line", cli}, std::pair{"window", window}}) {
        SCOPED_TRACE(name);
        EXPECT_GT(a.reads, 20);
        EXPECT_EQ(a.mixed, 0);
        EXPECT_EQ(a.noAntoine, 0);
    }
}

// Without another process in the way: the window's list was built before a commit, the entry
// is loaded after it; constants and Antoine set are both the new ones.
TEST(ReadSnapshot, TheWindowLoadsTheEntryFromTheCurrentVersion)
{
    TempDir dir;
    const std::string path = test::makeDatabase(dir, probeInserts(1, 0));
    ComponentDatabase db = ComponentDatabase::open(path);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "BEGIN; UPDATE tblComps SET CritTemp = 507; "
                           "UPDATE tblAntoine SET AntA = 7; COMMIT;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    VectorComponentList list;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    list.current = 0;
    ASSERT_TRUE(ui::takeSelectedComponent(db, list, vm));
    EXPECT_EQ(vm.state().constants.CritTemp, 507.0f);
    EXPECT_EQ(vm.state().antoine.AntA, 7.0f);
}

} // namespace
} // namespace store
