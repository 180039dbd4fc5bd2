#include "cli/merge_shipped_command.h"

#include "cli/cli.h"
#include "store/merge_shipped.h"
#include "store/settings.h"
#include "store/store_errors.h"

#include <ostream>

namespace cli {

int runMergeShipped(const std::optional<std::string>& db, std::ostream& out, std::ostream& err)
{
    try {
        const std::string path =
            db ? *db : store::Settings::forUser().dbPath().value_or(store::defaultDatabasePath());
        const int added = store::mergeShippedComponents(path);
        out << "Added " << added << " shipped component" << (added == 1 ? "" : "s") << " to "
            << path << ".\n";
        return kExitOk;
    } catch (const store::StoreException& e) {
        err << "tavrel1-cli: " << e.what() << "\n";
        return kExitStore;
    }
}

} // namespace cli
