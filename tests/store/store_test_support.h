#pragma once

#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/recordset.h"
#include "store/seed.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace store::test {

/// The shipped database's rows (assets/components_extended.csv): components and Antoine sets.
inline constexpr int kShippedComponents = 742;

/// Chooses the stored component of that name in the view model, as the command line finds
/// it; false (and nothing changed) when there is none.
inline bool chooseByName(ComponentDatabase& db, const std::string& name, core::MainViewModel& vm)
{
    const std::optional<state::Component> c = findComponent(db, name);
    if (c)
        vm.componentChosen(*c);
    return c.has_value();
}
inline constexpr int kShippedAntoineSets = 601;

/// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("tavrel1-store-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// The tables and views of the shipped database without its rows.
inline std::string schemaSql()
{
    const std::string_view seed = componentSeedSql();
    return std::string(seed.substr(0, seed.find("INSERT")));
}

/// A database with the shipped schema and the given INSERT statements.
inline std::string makeDatabase(const TempDir& dir, const std::string& inserts,
                                const std::string& name = "Components.mdb")
{
    const std::string path = dir.file(name);
    Database::createFromScript(path, schemaSql() + inserts);
    return path;
}

/// A database as the previous seed made it: 199 components, no Source field. The fixture is
/// that seed's script, kept unchanged.
inline std::string makePrevious(const TempDir& dir, const std::string& name = "Previous.mdb")
{
    std::ifstream in(TAVREL1_STORE_FIXTURES "/components_seed_previous.sql", std::ios::binary);
    EXPECT_TRUE(in) << "fixture missing";
    std::stringstream script;
    script << in.rdbuf();
    const std::string path = dir.file(name);
    Database::createFromScript(path, script.str());
    return path;
}

/// SQLite's own check of the file: "ok" when sound.
inline std::string integrityCheck(const std::string& path)
{
    Database db = Database::open(path);
    return db.openRecordset("PRAGMA integrity_check").text("integrity_check").value_or("");
}

/// A copy of the shipped database.
inline std::string makeShipped(const TempDir& dir, const std::string& name = "Components.mdb")
{
    const std::string path = dir.file(name);
    createShippedDatabase(path);
    return path;
}

/// The message boxes and the file dialog of LoadDatabase, recorded.
struct FakePrompts : LoadDatabasePrompts {
    std::vector<std::pair<std::string, std::string>> messages; // prompt, title
    int dialogs = 0;
    std::string answer; // the dialog's answer, "" = cancelled
    void showMessage(const std::string& prompt, const std::string& title) override
    {
        messages.emplace_back(prompt, title);
    }
    std::string askForFile() override
    {
        ++dialogs;
        return answer;
    }
};

/// How a child process ended.
struct ChildOutcome {
    bool exited = false; // by _exit; code is then its status
    int code = -1;
    int signal = 0;        // the signal that ended it, 0 when none
    bool timedOut = false; // still running at the limit, then killed
};

/// Child processes forked now and held at a gate, so release() starts them all at the
/// same moment (as a double-click or a script starts several copies of the program).
class ChildProcesses {
public:
    ChildProcesses() { EXPECT_EQ(pipe(m_gate), 0); }
    ~ChildProcesses()
    {
        release();
        for (pid_t pid : m_pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    /// Forks a child that waits for release() and then exits with body's result (99 when
    /// body throws).
    void start(const std::function<int()>& body)
    {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(m_gate[1]);
            char c;
            while (read(m_gate[0], &c, 1) > 0) {
            }
            int code = 99;
            try {
                code = body();
            } catch (...) {
            }
            _exit(code);
        }
        m_pids.push_back(pid);
    }

    void release()
    {
        if (m_gate[1] >= 0) {
            close(m_gate[1]);
            close(m_gate[0]);
            m_gate[1] = -1;
        }
    }

    /// Releases the children and waits for all of them, killing those still running at limit.
    std::vector<ChildOutcome> wait(std::chrono::milliseconds limit)
    {
        release();
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::vector<ChildOutcome> outcomes;
        for (pid_t pid : m_pids) {
            ChildOutcome o;
            int status = 0;
            while (waitpid(pid, &status, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > deadline) {
                    o.timedOut = true;
                    kill(pid, SIGKILL);
                    waitpid(pid, &status, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            o.exited = !o.timedOut && WIFEXITED(status);
            o.code = o.exited ? WEXITSTATUS(status) : -1;
            o.signal = !o.timedOut && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            outcomes.push_back(o);
        }
        m_pids.clear();
        return outcomes;
    }

private:
    int m_gate[2] = {-1, -1};
    std::vector<pid_t> m_pids;
};

/// Runs body in one child process and returns how it ended.
inline ChildOutcome runInChild(const std::function<int()>& body, std::chrono::milliseconds limit)
{
    ChildProcesses child;
    child.start(body);
    return child.wait(limit).front();
}

/// In a child: as root, become the unprivileged user "nobody", so file permissions apply (root
/// reads every file). False when that failed.
inline bool dropRootPrivileges()
{
    if (geteuid() != 0)
        return true;
    constexpr uid_t kNobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

} // namespace store::test
