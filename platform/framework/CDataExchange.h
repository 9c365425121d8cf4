#pragma once

#include <QString>

class CWnd;

// One run of a window's data exchange, in one direction. A failed check stops the run: later
// exchanges of the same run do nothing.
class CDataExchange {
public:
    CDataExchange(CWnd* pWnd, bool bSaveAndValidate)
        : m_pDlgWnd(pWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;

    bool Failed() const { return m_bFailed; }
    // Reports the failure at control `id`: the focus goes there and the run stops.
    void Fail(unsigned id);

private:
    bool m_bFailed = false;
};

// Text of an edit field or label <-> member.
void DDX_Text(CDataExchange* pDX, unsigned id, QString& value);
// An edit field takes at most nChars characters of input. A text longer than that which came from
// the file is shown whole and may be stored back unchanged; only text grown beyond both limits
// fails the check.
void DDV_MaxChars(CDataExchange* pDX, unsigned id, const QString& value, int nChars);
