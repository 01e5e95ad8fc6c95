// What the window's write does around the frames: keep a backup of the radio's set, show the
// changes first, read the result back. All on unless the user turned them off (kept settings).
#pragma once

struct WriteOptions
{
    bool backupFirst = true;
    bool showChanges = true;
    bool verifyAfter = true;

    /// Whether the radio is read before the write: the backup and the changes share that read.
    bool readsFirst() const { return backupFirst || showChanges; }

    /// The options as kept in the settings file; a missing key means on.
    static WriteOptions load();
    void save() const;
};
