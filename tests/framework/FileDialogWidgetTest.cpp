#include <FileDialogWidget.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "support/ProgramTest.h"

namespace {

// Presses Open on `name`; the text of the warning that the dialog showed instead of taking it.
QString OpenAnswering(const QString& folder, const QString& name, bool& accepted) {
    FileDialogWidget dialog(nullptr, "Öffnen", folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.selectFile(name);
    QString warning;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&warning] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            warning = box->text();
            box->close();
        }
    });
    closer.start(20);
    dialog.accept();
    accepted = dialog.result() == QDialog::Accepted && dialog.selectedFiles() == QStringList{name};
    return warning;
}

// The program explains a name that cannot be opened; the dialog must let it through to it.
TEST(FileDialogWidgetTest, OpenTakesALinkThatLeadsNowhereAndStillChecksOtherNames) {
    EnsureTestApplication();
    QTemporaryDir folder;
    const QString loop = folder.filePath("schleife.plx");
    const QString broken = folder.filePath("kaputt.plx");
    ASSERT_TRUE(QFile::link(loop, loop));
    ASSERT_TRUE(QFile::link(folder.filePath("weg.plx"), broken));
    for (const QString& name : {loop, broken}) {
        bool accepted = false;
        EXPECT_EQ(OpenAnswering(folder.path(), name, accepted), QString()) << name.toStdString();
        EXPECT_TRUE(accepted) << name.toStdString();
    }
    bool accepted = true;
    EXPECT_NE(OpenAnswering(folder.path(), folder.filePath("gibtsnicht.plx"), accepted), QString())
        << "a name that is not there at all";
    EXPECT_FALSE(accepted);
}

}  // namespace
