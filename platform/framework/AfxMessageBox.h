#pragma once

#include <QString>

class QWidget;
class CDaoException;

// A message box with the application's title as caption (unless one is given), German buttons,
// answered through the modal seam in tests. Returns IDOK, IDCANCEL, IDYES or IDNO.
int AfxMessageBox(const QString& text, unsigned type = 0, const QString& caption = {},
                  QWidget* parent = nullptr);
int AfxMessageBox(unsigned stringId, unsigned type = 0);
// As above; F1 in the box shows the help topic `nIDHelp`.
int AfxMessageBox(const QString& text, unsigned type, unsigned nIDHelp);
// The same with `details` (a library's own words, say) behind a "Details" button, not in the
// text; none when empty.
int AfxMessageBoxWithDetails(const QString& text, const QString& details, unsigned type = 0,
                             const QString& caption = {}, QWidget* parent = nullptr);

// The user's message for a record-store failure: the application's text for SQLite's result
// code, then SQLite's own words.
QString AfxDaoErrorText(const CDaoException& e);
// The number of that text in the string table; a help topic of the same number explains it.
unsigned AfxDaoErrorTextId(const CDaoException& e);
// The user's text for an operating-system error number.
QString AfxSystemErrorText(int errnoValue);
// Reports a failure that a command did not catch; the program goes on.
void AfxReportDaoException(const CDaoException& e);
