#include "SystemDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

QString GetSystemDirectory() {
    const QString fromEnvironment = qEnvironmentVariable("PERIOLEX_SYSTEM_DIR");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString installed = programDir.filePath(QStringLiteral("../share/") +
                                                  QCoreApplication::applicationName().toLower());
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return programDir.filePath(QStringLiteral("res"));
}

bool CopyFileTo(const QString& from, const QString& to, QString& error) {
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(from.toStdString()),
                               std::filesystem::path(to.toStdString()),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        error = QString::fromLocal8Bit(ec.message().c_str());
        return false;
    }
    return true;
}
