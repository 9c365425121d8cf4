#pragma once

// What a look for changes by others found (see CDaoDatabase::CheckForChanges).
enum class DaoChange {
    Unchanged,
    // Another connection committed a change, or may have while this one was away.
    Changed,
    // The connection to the server broke: news to tell the user once for each break, unless a
    // command's failure told it already. Nothing can be followed until it stands again.
    Broken,
    // It stays broken, and the user knows.
    StillBroken
};
