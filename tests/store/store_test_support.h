#pragma once

#include "store/recordset.h"
#include "store/seed.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace store::test {

/// The shipped database's rows (assets/components_extended.csv): components and Antoine sets.
inline constexpr int kShippedComponents = 742;
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

} // namespace store::test
