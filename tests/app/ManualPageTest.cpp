#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include "catalogue/CatalogueLink.h"

namespace {

// The option names (with their dashes) in a piece of text, placeholders left out.
QSet<QString> OptionNames(const QString& text) {
    static const QRegularExpression name(QStringLiteral("(?:^|[\\s,])(--?[A-Za-z0-9][\\w-]*)"));
    QSet<QString> names;
    for (const QRegularExpressionMatch& m : name.globalMatch(text)) {
        names << m.captured(1);
    }
    return names;
}

// The first column of every option line of `periolex --help`.
QSet<QString> OptionsOfHelp(const QString& help) {
    static const QRegularExpression optionLine(QStringLiteral("^  (-\\S.*?)(?:\\s{2,}|$)"),
                                               QRegularExpression::MultilineOption);
    QSet<QString> names;
    for (const QRegularExpressionMatch& m : optionLine.globalMatch(help)) {
        names += OptionNames(m.captured(1));
    }
    return names;
}

// The tags of the options section of a manual page's source: the line after each .TP.
QSet<QString> OptionsOfManualPage(const QString& page) {
    QSet<QString> names;
    bool inOptions = false;
    bool tagFollows = false;
    for (QString line : page.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(".SH "))) {
            const QString title = line.mid(4).trimmed().remove(QLatin1Char('"'));
            inOptions = title == QLatin1String("OPTIONEN") || title == QLatin1String("OPTIONS");
        } else if (inOptions && line.startsWith(QLatin1String(".TP"))) {
            tagFollows = true;
        } else if (tagFollows) {
            line.replace(QLatin1String("\\-"), QLatin1String("-"));
            line.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]|\"")));
            // The tag's macro (.B, .BR, .BI) is not part of the text.
            if (line.startsWith(QLatin1Char('.'))) {
                line = line.section(QLatin1Char(' '), 1);
            }
            names += OptionNames(line);
            tagFollows = false;
        }
    }
    return names;
}

QString Listed(QSet<QString> names) {
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted.join(QLatin1Char(' '));
}

QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ManualPageTest, EveryPageDocumentsExactlyTheOptionsThatHelpLists) {
    QProcess program;
    program.start(PERIOLEX_PROGRAM, {"--help"});
    ASSERT_TRUE(program.waitForFinished(20000));
    ASSERT_EQ(program.exitCode(), 0);
    const QSet<QString> help = OptionsOfHelp(QString::fromUtf8(program.readAllStandardOutput()));
    ASSERT_TRUE(help.contains("--help") && help.contains("-h")) << Listed(help).toStdString();

    const QStringList pages = QDir(PERIOLEX_MANUAL_PAGES).entryList({"*.1.in"});
    ASSERT_GE(pages.size(), 2) << "a German and an English manual page";
    for (const QString& page : pages) {
        const QSet<QString> documented =
            OptionsOfManualPage(ReadFile(QDir(PERIOLEX_MANUAL_PAGES).filePath(page)));
        EXPECT_EQ(Listed(help - documented), QString())
            << page.toStdString() << " lacks these options of periolex --help";
        EXPECT_EQ(Listed(documented - help), QString())
            << page.toStdString() << " documents options that periolex --help does not list";
    }
}

TEST(ManualPageTest, EveryPageTellsHowToReachACatalogueOnAServer) {
    const QStringList pages = QDir(PERIOLEX_MANUAL_PAGES).entryList({"*.1.in"});
    ASSERT_GE(pages.size(), 2);
    for (const QString& page : pages) {
        QString text = ReadFile(QDir(PERIOLEX_MANUAL_PAGES).filePath(page));
        text.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
        text.replace(QLatin1String("\\-"), QLatin1String("-"));
        // The link's first line as the program reads it, so that a link written after the page
        // opens.
        EXPECT_TRUE(text.contains(QLatin1String(CatalogueLink::kMarker))) << page.toStdString();
        for (const char* needed : {"periolex postgresql://", "~/.pgpass", ".SS "}) {
            EXPECT_TRUE(text.contains(QLatin1String(needed)))
                << page.toStdString() << ": " << needed;
        }
    }
}

}  // namespace
