#include "ShellRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString DataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString Lower(const QString& name) {
    return name.toLower();
}

struct Paths {
    QString mime, desktop, svg, png16, png32;
};

Paths PathsFor(const ShellFileType& type) {
    const QString data = DataHome();
    const QString name = Lower(type.programName);
    return {data + QStringLiteral("/mime/packages/") + name + QStringLiteral(".xml"),
            data + QStringLiteral("/applications/") + name + QStringLiteral(".desktop"),
            data + QStringLiteral("/icons/hicolor/scalable/apps/") + name + QStringLiteral(".svg"),
            data + QStringLiteral("/icons/hicolor/16x16/apps/") + name + QStringLiteral(".png"),
            data + QStringLiteral("/icons/hicolor/32x32/apps/") + name + QStringLiteral(".png")};
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QByteArray MimeXml(const ShellFileType& type) {
    QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"%1\">\n"
            "    <comment>%2</comment>\n"
            "    <icon name=\"%3\"/>\n"
            "    <glob pattern=\"*%4\"/>\n")
            .arg(type.mimeType, Escaped(type.typeDescription), Lower(type.programName),
                 type.extension);
    if (type.magic != 0) {
        xml += QStringLiteral(
                   "    <magic priority=\"60\">\n      <match type=\"big32\" value=\"0x%1\" "
                   "offset=\"%2\"/>\n    </magic>\n")
                   .arg(type.magic, 8, 16, QLatin1Char('0'))
                   .arg(type.magicOffset);
    }
    xml += QStringLiteral("  </mime-type>\n</mime-info>\n");
    return xml.toUtf8();
}

QString ExecQuoted(const QString& path) {
    QString quoted = path;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return path.contains(QLatin1Char(' ')) || quoted != path
               ? QLatin1Char('"') + quoted + QLatin1Char('"')
               : path;
}

QByteArray DesktopEntry(const ShellFileType& type) {
    const QString exec = ExecQuoted(type.programPath);
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.0\n"
               "Name=%1\n"
               "GenericName=%2\n"
               "Comment=%3\n"
               "Exec=%4 %f\n"
               "TryExec=%5\n"
               "Icon=%6\n"
               "Terminal=false\n"
               "MimeType=%7;\n"
               "Categories=Office;Database;Qt;\n"
               "Actions=print;\n"
               "\n"
               "[Desktop Action print]\n"
               "Name=%8\n"
               "Exec=%4 -p %f\n")
        .arg(type.programName, type.genericName, type.comment, exec, type.programPath,
             Lower(type.programName), type.mimeType, type.printLabel)
        .toUtf8();
}

// Writes only when the contents differ; reports whether it wrote.
bool WriteIfChanged(const QString& path, const QByteArray& contents, bool& changed,
                    QString& error) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == contents) {
        return true;
    }
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size()) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    changed = true;
    return true;
}

// The desktop's caches follow changes only when told; where the tools are missing, the desktop
// rebuilds them itself later.
void RefreshCaches() {
    const QString data = DataHome();
    QProcess::execute(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});
    QProcess::execute(QStringLiteral("update-desktop-database"),
                      {data + QStringLiteral("/applications")});
}

}  // namespace

bool RegisterShellFileType(const ShellFileType& type, QString& error) {
    const Paths paths = PathsFor(type);
    bool changed = false;
    const bool ok =
        WriteIfChanged(paths.mime, MimeXml(type), changed, error) &&
        WriteIfChanged(paths.desktop, DesktopEntry(type), changed, error) &&
        (type.iconSvg.isEmpty() || WriteIfChanged(paths.svg, type.iconSvg, changed, error)) &&
        (type.icon16.isEmpty() || WriteIfChanged(paths.png16, type.icon16, changed, error)) &&
        (type.icon32.isEmpty() || WriteIfChanged(paths.png32, type.icon32, changed, error));
    if (changed) {
        RefreshCaches();
    }
    return ok;
}

void UnregisterShellFileType(const ShellFileType& type) {
    const Paths paths = PathsFor(type);
    bool removed = false;
    for (const QString& path : {paths.mime, paths.desktop, paths.svg, paths.png16, paths.png32}) {
        removed = QFile::remove(path) || removed;
    }
    if (removed) {
        RefreshCaches();
    }
}
