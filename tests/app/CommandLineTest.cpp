#include <AfxRes.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "support/ProgramTest.h"

namespace {

// The program as a shell starts it, with no window system in reach: mistakes and a missing
// display end it with one German line and an exit code, never with an abort.
class CommandLineTest : public ProgramTest {
protected:
    Outcome Run(const QStringList& arguments, const QString& display = {}) {
        return RunProgram(arguments, display);
    }
};

TEST_F(CommandLineTest, AnUnknownOptionIsNamedInGermanWithExitCodeTwo) {
    for (const QStringList& arguments :
         {QStringList{"--bogus"}, QStringList{"--bogus", "a.plx"}, QStringList{"-x"}}) {
        const Outcome run = Run(arguments);
        EXPECT_EQ(run.status, QProcess::NormalExit);
        EXPECT_EQ(run.code, 2);
        ASSERT_EQ(run.errorLines.size(), 1) << run.errorLines.join('\n').toStdString();
        EXPECT_TRUE(run.errorLines[0].contains("Unbekannte Option „" + arguments[0] + "“"))
            << run.errorLines[0].toStdString();
    }
    const Outcome missing = Run({"--print-to"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.errorLines.value(0).contains("fehlt ihr Wert"));
}

TEST_F(CommandLineTest, TheWindowProgramWithoutADisplaySaysSoInOneLine) {
    const QString catalogue = CopyOfExample();
    // No display named at all, and one named that nobody answers on.
    for (const QString& display : {QString(), QStringLiteral(":9876")}) {
        const Outcome run = Run({catalogue}, display);
        EXPECT_EQ(run.status, QProcess::NormalExit) << display.toStdString();
        EXPECT_EQ(run.code, 1) << display.toStdString();
        ASSERT_EQ(run.errorLines.size(), 1) << run.errorLines.join('\n').toStdString();
        EXPECT_TRUE(run.errorLines[0].contains("Keine grafische Anzeige"));
    }
}

TEST_F(CommandLineTest, HelpVersionAndPrintingNeedNoDisplay) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: periolex")) << help.out.toStdString();
    for (const char* option : {"--help", "--version", "-p, --print", "--print-to <drucker>",
                               "--nosplash", "--unregister"}) {
        EXPECT_TRUE(help.out.contains(option)) << option;
    }
    // Qt's own options are Qt's, not unknown ones.
    const Outcome version = Run({"-platform", "offscreen", "--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith("Periolex ")) << version.out.toStdString();

    // Neither a missing display nor a dead one left over from a login stops windowless work.
    for (const QString& display : {QString(), QStringLiteral(":9876")}) {
        const QString pdf = TempPath("liste.pdf");
        QFile::remove(pdf);
        const Outcome print = Run({"--print-to", pdf, CopyOfExample()}, display);
        EXPECT_EQ(print.code, 0) << print.errorLines.join('\n').toStdString();
        EXPECT_TRUE(QFileInfo(pdf).size() > 0);
        const Outcome exported = Run({"--export", TempPath("liste.csv"), CopyOfExample()}, display);
        EXPECT_EQ(exported.code, 0) << exported.errorLines.join('\n').toStdString();
    }
    const Outcome defaultPrinter = Run({"-p", CopyOfExample()});
    EXPECT_EQ(defaultPrinter.status, QProcess::NormalExit);
    EXPECT_NE(defaultPrinter.code, 2) << "-p is an option of the program";
}

TEST_F(CommandLineTest, TheHelpFitsATerminalAndNamesWhatTheFileArgumentMayBe) {
    const Outcome help = Run({"--help"});
    ASSERT_EQ(help.code, 0);
    for (const QString& line : help.out.split('\n')) {
        EXPECT_LE(line.size(), 79) << line.toStdString();
    }
    // Every placeholder in one style, also where an option stands before two arguments.
    EXPECT_TRUE(help.out.contains("--copy <quelle> <ziel>")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("[<datei>]"));
    const QString arguments = help.out.section("Argumente:", 1);
    for (const char* kind : {"Katalogverknüpfung", "postgresql://"}) {
        EXPECT_TRUE(arguments.contains(kind)) << kind;
    }
}

TEST_F(CommandLineTest, AnApplicationAddsItsOwnOptions) {
    ASSERT_TRUE(Start());
    // Strings of the table stand in for the new option's texts.
    App()->AddCommandLineOption(
        {{"e", "export"}, AFX_IDS_APP_TITLE, AFX_IDS_CMDLINE_PRINTER, true});
    App()->SetArguments({"--export", "liste.csv", "katalog.plx"});
    CCommandLineInfo info;
    App()->ParseCommandLine(info);
    EXPECT_FALSE(info.m_bHandled);
    EXPECT_EQ(info.m_options.value("export"), "liste.csv");
    EXPECT_TRUE(info.m_bWindowless);
    EXPECT_EQ(info.m_strFileName, "katalog.plx");
}

// --copy takes exactly a source and a target, and --link and --overwrite go only with it; a
// link can only point to a server, never to a catalogue file.
TEST_F(CommandLineTest, CopyTakesItsFilesAndItsOptionsOrSaysHowToCallIt) {
    const QString example = CopyOfExample();
    for (const QStringList& arguments :
         {QStringList{"--copy", example}, QStringList{"--copy", example, "a.plx", "b.plx"},
          QStringList{"--link", TempPath("l.plx"), example}, QStringList{"--overwrite", example}}) {
        const Outcome run = Run(arguments);
        EXPECT_EQ(run.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errorLines.value(0).startsWith("Aufruf: periolex --copy"))
            << run.errorLines.join('\n').toStdString();
    }
    const QString target = TempPath("kopie.plx");
    const Outcome fileLink = Run({"--copy", example, target, "--link", TempPath("l.plx")});
    EXPECT_EQ(fileLink.code, 1);
    EXPECT_TRUE(fileLink.errorLines.value(0).contains("nur auf einen Server"));
    EXPECT_FALSE(QFile::exists(TempPath("l.plx")));
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
