#include <Resources.h>

#include "PeriolexTables.h"
#include "Resource.h"

namespace {

constexpr ImageResource kBitmaps[] = {
    {IDR_MAINFRAME, ":/periolex/toolbar128.png"},
    {IDB_SPLASH, ":/periolex/splash102.png"},
};

constexpr ImageResource kIcons[] = {
    {IDR_MAINFRAME, ":/periolex/icon128"},
    {IDR_PERIOLTYPE, ":/periolex/icon129"},
};

}  // namespace

const ResourceTables& PeriolexResources() {
    static const ResourceTables tables{PeriolexMenus(),
                                       PeriolexAccelerators(),
                                       PeriolexStrings(),
                                       PeriolexDialogs(),
                                       PeriolexToolBars(),
                                       kBitmaps,
                                       kIcons,
                                       PERIOLEX_VERSION,
                                       "/periolex/help",
                                       PeriolexHelpTopics()};
    return tables;
}
