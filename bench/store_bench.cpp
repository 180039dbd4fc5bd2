// The main window's two store paths a user waits on: the list rebuilt each time cmbComp takes
// the focus, and LoadDatabase at start-up on the shipped database.
#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/component_selection.h"
#include "store/recordset.h"
#include "store/seed.h"
#include "store/settings.h"
#include "ui/component_choice.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

struct TempFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("tavrel1-bench-" + std::to_string(std::random_device{}()));
    TempFolder() { std::filesystem::create_directories(path); }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
};

std::string storeWith(const TempFolder& dir, int components)
{
    const std::string_view seed = store::componentSeedSql();
    const std::string path = dir.file("Components.mdb");
    store::Database::createFromScript(
        path, std::string(seed.substr(0, seed.find("INSERT"))) +
                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                  std::to_string(components) +
                  ") INSERT INTO tblComps SELECT i, 'Component ' || substr('00000' || i, -max(6, "
                  "length(i))), 100.0 + i, "
                  "300.0 + i, 40.0, 250.0, 0.2, 0.01, NULL, NULL, "
                  "'MW=formula; Tc/Pc/Vc=IUPAC; w=PSRK; Ant=LandoltIV20' FROM n;");
    return path;
}

void BM_ListRebuild(benchmark::State& state)
{
    TempFolder dir;
    store::ComponentDatabase db =
        store::ComponentDatabase::open(storeWith(dir, static_cast<int>(state.range(0))));
    store::VectorComponentList list;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    list.current = static_cast<int>(list.items.size() / 2);
    for (auto _ : state) {
        ui::showComponentList(db, list, vm);
        benchmark::DoNotOptimize(list.items.data());
    }
}
BENCHMARK(BM_ListRebuild)->Arg(742)->Arg(32768)->Unit(benchmark::kMillisecond);

// The same after the editor's connection changed a record each time, so every rebuild reads
// all rows again (the case after an edit; the one above is the usual focus change).
void BM_ListRebuild_AfterEdit(benchmark::State& state)
{
    TempFolder dir;
    const std::string path = storeWith(dir, static_cast<int>(state.range(0)));
    store::ComponentDatabase db = store::ComponentDatabase::open(path);
    store::Database editorDb = store::Database::open(path);
    store::Recordset editor = editorDb.openRecordset("tblComps");
    store::VectorComponentList list;
    core::MainViewModel vm;
    ui::showComponentList(db, list, vm);
    list.current = static_cast<int>(list.items.size() / 2);
    double temp_K = 100.0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.edit();
        editor.setField("CritTemp", temp_K += 1.0);
        editor.update();
        state.ResumeTiming();
        ui::showComponentList(db, list, vm);
        benchmark::DoNotOptimize(list.items.data());
    }
}
BENCHMARK(BM_ListRebuild_AfterEdit)->Arg(742)->Arg(32768)->Unit(benchmark::kMillisecond);

struct SilentPrompts : store::LoadDatabasePrompts {
    void showMessage(const std::string&, const std::string&) override {}
    std::string askForFile() override { return {}; }
};

void BM_LoadDatabase_Shipped(benchmark::State& state)
{
    TempFolder dir;
    const std::string path = dir.file("Components.mdb");
    store::createShippedDatabase(path);
    store::Settings settings(dir.file("settings.ini"));
    SilentPrompts prompts;
    for (auto _ : state) {
        store::ComponentDatabase db;
        db.LoadDatabase(settings, path, prompts);
        if (!db.isOpen())
            state.SkipWithError("the shipped database did not open");
        db.unload();
    }
}
BENCHMARK(BM_LoadDatabase_Shipped)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
