#include <AfxRes.h>
#include <CHelpWindow.h>
#include <DaoErrorCode.h>
#include <DialogHelp.h>
#include <ResourceLookup.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

class HelpPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureTestApplication();
        AfxSetResourceTables(&PeriolexResources());
    }
    void TearDown() override {
        if (QWidget* help = CHelpWindow::Window()) {
            help->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    static QString Folder() { return AfxHelpUrl(0).adjusted(QUrl::RemoveFilename).path(); }
    static QString Page(const QString& name) {
        QFile file(QLatin1Char(':') + Folder() + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // Whether `target` ("page.html#anchor" or "page.html") names a page and, if given, an anchor
    // in it.
    static bool Resolves(const QString& target) {
        const QString page = Page(target.section(QLatin1Char('#'), 0, 0));
        const QString anchor = target.section(QLatin1Char('#'), 1);
        return !page.isEmpty() &&
               (anchor.isEmpty() || page.contains("<a name=\"" + anchor + "\"></a>"));
    }
};

TEST_F(HelpPagesTest, EveryPageIsReachableFromTheContentsAndEveryLinkArrives) {
    const QStringList pages = QDir(QLatin1Char(':') + Folder()).entryList({"*.html"});
    ASSERT_TRUE(pages.contains("team.html") && pages.contains("austausch.html") &&
                pages.contains("gemeinsam.html"));
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
    QSet<QString> reached{"index.html"};
    QStringList toRead{"index.html"};
    while (!toRead.isEmpty()) {
        const QString name = toRead.takeFirst();
        for (const QRegularExpressionMatch& m : link.globalMatch(Page(name))) {
            const QString target = m.captured(1).isEmpty() ? name : m.captured(1);
            EXPECT_TRUE(Resolves(target + m.captured(2)))
                << name.toStdString() << " links to " << (target + m.captured(2)).toStdString();
            if (!reached.contains(target)) {
                reached << target;
                toRead << target;
            }
        }
    }
    for (const QString& page : pages) {
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " cannot be reached";
    }
}

TEST_F(HelpPagesTest, TheQuestionsAndDialogsOfTheNewFeaturesHaveTheirPages) {
    const std::pair<unsigned, const char*> topics[] = {
        {IDH_CONFLICT, "Welche Texte sollen gespeichert werden?"},
        {IDH_DELETED_ELSEWHERE, "gelöscht, während Sie schrieben"},
        {IDH_SERVER_PASSWORD, "Anmeldung am Datenbankserver"},
        {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kConnectionLost,
         "Wenn die Verbindung abbricht"},
        {IDH_IMPORT, "Eine Datei importieren"},
        {IDH_EXPORT, "Einen Katalog exportieren"},
    };
    for (const auto& [topic, says] : topics) {
        const QString target = AfxHelpUrl(topic).fileName() + '#' + AfxHelpUrl(topic).fragment();
        ASSERT_TRUE(Resolves(target)) << topic;
        const QString page = Page(AfxHelpUrl(topic).fileName());
        const qsizetype section = page.indexOf("<a name=\"" + AfxHelpUrl(topic).fragment());
        EXPECT_TRUE(page.indexOf(QString::fromUtf8(says), section) > section) << topic;
    }
}

TEST_F(HelpPagesTest, FOneInADialogShowsItsPageInAWindowThatTheDialogDoesNotBlock) {
    QDialog dialog;
    AfxEnableDialogHelp(&dialog, IDH_SERVER_PASSWORD);
    dialog.setModal(true);
    dialog.resize(320, 120);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    QTest::keyClick(&dialog, Qt::Key_F1);
    ASSERT_NE(CHelpWindow::Window(), nullptr);
    EXPECT_EQ(CHelpWindow::CurrentPage(), AfxHelpUrl(IDH_SERVER_PASSWORD));
    // Input reaches a modal dialog's own windows only.
    EXPECT_EQ(CHelpWindow::Window()->parentWidget(), &dialog);
    EXPECT_TRUE(CHelpWindow::Window()->isVisible());
    // Not squeezed to the dialog's size over it, where it would hide the question it explains.
    EXPECT_GT(CHelpWindow::Window()->height(), 2 * dialog.height());
    dialog.hide();
    ASSERT_NE(CHelpWindow::Window(), nullptr) << "the help outlives the dialog";
    EXPECT_EQ(CHelpWindow::Window()->parentWidget(), nullptr);
    EXPECT_TRUE(CHelpWindow::Window()->isVisible());
}

}  // namespace
