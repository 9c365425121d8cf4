#pragma once

#include <QString>

// The hidden file in which a new catalogue is built beside the place it is to take
// (".periolex-XXXXXX.plx"), so that the catalogue appears only once it is complete. The file and
// its journal go when the object ends without Release(), and also when the program is ended by
// SIGTERM or SIGINT meanwhile. Files of this kind that a killed program left behind, a day old or
// more, are cleared from the folder whenever a new one is made there.
class CatalogueBuildFile {
public:
    explicit CatalogueBuildFile(const QString& target);
    ~CatalogueBuildFile();
    CatalogueBuildFile(const CatalogueBuildFile&) = delete;
    CatalogueBuildFile& operator=(const CatalogueBuildFile&) = delete;

    // Makes the empty file; false with `error` set when it cannot be made.
    bool Create(QString& error);
    const QString& Path() const { return m_strPath; }
    // The file has become the catalogue (it was renamed): it stays.
    void Release();

private:
    QString m_strTarget;
    QString m_strPath;
    int m_nSlot = -1;
};
