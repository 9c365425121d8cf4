#include "OldCatalogue.h"

#include <JetDatabase.h>

#include <QDir>
#include <QFileInfo>

bool OldCatalogue::Recognises(const QString& path) {
    return JetDatabase::Recognises(path);
}

QString OldCatalogue::FormatName(const QString& path) {
    const std::optional<JetHeader> header = JetDatabase::Identify(path);
    return header ? header->FormatName() : QString();
}

QString OldCatalogue::InUseWarning(const QString& path) {
    const QFileInfo file(path);
    for (const char* suffix : {".ldb", ".laccdb"}) {
        const QString lock =
            file.absoluteDir().filePath(file.completeBaseName() + QLatin1String(suffix));
        if (QFileInfo::exists(lock)) {
            return QStringLiteral(
                       "Daneben liegt „%1“: Das Windows-Programm benutzt den Katalog "
                       "vielleicht noch, und was es nicht gespeichert hat, fehlt dann.")
                .arg(QDir::toNativeSeparators(lock));
        }
    }
    return {};
}

QString OldCatalogue::ProposedCataloguePath(const QString& path) {
    const QFileInfo file(path);
    const QString base = file.completeBaseName();
    QString proposal = file.dir().filePath(base + QStringLiteral(".plx"));
    for (int n = 1; QFileInfo::exists(proposal); ++n) {
        const QString mark =
            n == 1 ? QStringLiteral("Periolex") : QStringLiteral("Periolex %1").arg(n);
        proposal = file.dir().filePath(QStringLiteral("%1 (%2).plx").arg(base, mark));
    }
    return proposal;
}
