#include "FileDialogSize.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QSettings>
#include <QTreeView>
#include <algorithm>

namespace {

constexpr const char* kSizeKey = "File Dialog/Size";

// What the columns after the name show at their widest: a size, a type, a date and time (in
// the program's or the system's way of writing it, whichever is longer).
QStringList Samples() {
    const QDateTime late(QDate(2028, 12, 28), QTime(23, 58, 58));
    QString date = QLocale().toString(late, QLocale::ShortFormat);
    for (const QString& other : {QLocale::system().toString(late, QLocale::ShortFormat),
                                 QLocale::system().toString(late, QLocale::LongFormat)}) {
        if (other.size() > date.size()) {
            date = other;
        }
    }
    return {QStringLiteral("1.023,99 KiB"), QStringLiteral("Periolex-Katalog"), date};
}

// Widens the columns after the name to their header and their widest sample; returns the width
// the whole table needs.
int WidenColumns(QTreeView* view) {
    QHeaderView* header = view->header();
    const QFontMetrics fm(view->font());
    const QStringList samples = Samples();
    const int padding = fm.averageCharWidth() * 3;
    for (int i = 1; i < header->count(); ++i) {
        const int sample = i - 1 < samples.size() ? fm.horizontalAdvance(samples[i - 1]) : 0;
        header->resizeSection(
            i, std::max({header->sectionSize(i), header->sectionSizeHint(i), sample + padding}));
    }
    return header->length() + view->verticalScrollBar()->sizeHint().width() +
           2 * view->frameWidth();
}

}  // namespace

void FileDialogSize::Restore(QFileDialog& dialog) {
    int width = dialog.sizeHint().width();
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const auto* sidebar = dialog.findChild<QWidget*>(QStringLiteral("sidebar"));
        const int margins = 4 * dialog.fontMetrics().averageCharWidth();
        width = std::max(
            width, WidenColumns(view) + (sidebar ? sidebar->sizeHint().width() : 0) + margins);
    }
    const QSize chosen = QSettings().value(QLatin1String(kSizeKey)).toSize();
    dialog.resize(chosen.isValid() ? chosen : QSize(width, dialog.sizeHint().height()));
}

void FileDialogSize::Remember(const QFileDialog& dialog) {
    QSettings().setValue(QLatin1String(kSizeKey), dialog.size());
}
