#include "CFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "AfxRes.h"
#include "FileDialogSize.h"
#include "ModalSeam.h"

namespace {

// "Name|*.a;*.b|All|*.*||" becomes Qt's "Name (*.a *.b);;All (*)".
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        // Qt reads the patterns from the name's parentheses, so a name that shows its patterns
        // already gets them replaced rather than repeated.
        QString name = parts[i];
        if (const qsizetype open = name.lastIndexOf(QStringLiteral(" ("));
            open > 0 && name.endsWith(QLatin1Char(')'))) {
            name.truncate(open);
        }
        entries << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString Extension(const QString& defExt) {
    QString ext = defExt;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.'))) {
        ext.remove(0, 1);
    }
    return ext;
}

}  // namespace

CFileDialog::CFileDialog(bool bOpenFileDialog, const QString& defExt, const QString& fileName,
                         unsigned flags, const QString& filter, QWidget* parent)
    : m_bOpen(bOpenFileDialog),
      m_strDefExt(Extension(defExt)),
      m_strFileName(fileName),
      m_nFlags(flags),
      m_strFilter(filter),
      m_pParent(parent) {}

int CFileDialog::DoModal() {
    if (ModalSeam::IsEnabled()) {
        ModalAnswer answer = ModalSeam::Answer(
            {ModalRequest::Kind::FileDialog, m_strTitle, m_strFileName, m_nFlags});
        m_strChosen = answer.fileName;
        return answer.result == IDOK && !m_strChosen.isEmpty() ? IDOK : IDCANCEL;
    }
    QFileDialog dialog(m_pParent, m_strTitle);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(m_bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_nFlags & OFN_OVERWRITEPROMPT));
    dialog.setNameFilter(QtFilter(m_strFilter));
    dialog.setDefaultSuffix(m_strDefExt);
    // A wildcard as initial name only selects the filter; it is no name to offer.
    if (!m_strFileName.isEmpty() && !m_strFileName.contains(QLatin1Char('*'))) {
        dialog.selectFile(m_strFileName);
    }
    if (!m_strFileNameLabel.isEmpty()) {
        dialog.setLabelText(QFileDialog::FileName, m_strFileNameLabel);
    }
    if (!m_strAcceptLabel.isEmpty()) {
        dialog.setLabelText(QFileDialog::Accept, m_strAcceptLabel);
    }
    FileDialogSize::Restore(dialog);
    const int result = dialog.exec();
    FileDialogSize::Remember(dialog);
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return IDCANCEL;
    }
    m_strChosen = dialog.selectedFiles().constFirst();
    return IDOK;
}

QString CFileDialog::GetPathName() const {
    if (m_strChosen.isEmpty()) {
        return {};
    }
    QString path = QFileInfo(m_strChosen).absoluteFilePath();
    if (!m_strDefExt.isEmpty() && QFileInfo(path).suffix().isEmpty() && !QFileInfo(path).exists()) {
        path += QLatin1Char('.') + m_strDefExt;
    }
    return path;
}

QString CFileDialog::GetFileName() const {
    return QFileInfo(GetPathName()).fileName();
}

QString CFileDialog::GetFileTitle() const {
    return GetFileName();
}
