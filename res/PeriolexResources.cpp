#include <Resources.h>

#include "Resource.h"
#include "ResourceParts.h"

namespace {

constexpr ImageResource kBitmaps[] = {
    {IDR_MAINFRAME, ":/periolex/toolbar128.png"},
};

constexpr ImageResource kIcons[] = {
    {IDR_MAINFRAME, ":/periolex/icon128-32.png"},
    {IDR_PERIOLTYPE, ":/periolex/icon129-32.png"},
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
                                       "1.0.0.1"};
    return tables;
}
